# Windows test programs run under Wine in a prefix of this build's own: the
# x86_64 build under Wine 64-bit, the i686 build under Wine's 32-bit loader,
# which this kernel cannot execute and qemu-i386 emulates.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${PROJECT_SOURCE_DIR}/tools/wine-exec.sh --prefix ${CMAKE_BINARY_DIR}/wine)
  set(TARVELO_WINE_BITS 64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${PROJECT_SOURCE_DIR}/tools/wine32-exec.sh --prefix ${CMAKE_BINARY_DIR}/wine)
  set(TARVELO_WINE_BITS 32)
endif()
set(TARVELO_CAN_RUN_TESTS ON)
