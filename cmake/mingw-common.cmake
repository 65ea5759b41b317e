# The posix thread model: GoogleTest needs std::mutex, which the win32 model
# of this MinGW lacks. Linked statically, it adds no DLL to ship.
set(CMAKE_C_COMPILER ${TARVELO_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVELO_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVELO_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARVELO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
