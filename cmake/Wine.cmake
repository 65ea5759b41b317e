# Windows test programs run under Wine 64-bit in a prefix of this build's own.
# The i686 build has no emulator: this kernel cannot run 32-bit code.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${PROJECT_SOURCE_DIR}/tools/wine-exec.sh --prefix ${CMAKE_BINARY_DIR}/wine)
  set(TARVELO_CAN_RUN_TESTS ON)
else()
  set(TARVELO_CAN_RUN_TESTS OFF)
endif()
