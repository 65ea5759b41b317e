# Each subsystem folder holds plain C++ core files and Win32 files ending in
# _win.cpp. tarvelo_folder_libraries(NAME) makes NAME_core from the former
# (every build) and NAME_win from the latter (Windows builds only), so a new
# file needs no edit here. A pair X_posix.cpp / X_win.cpp is one core piece
# with a body per platform (the local clock): it goes into NAME_core.
function(tarvelo_folder_libraries name)
  file(GLOB all_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(core_sources ${all_sources})
  list(FILTER core_sources EXCLUDE REGEX "_(win|posix)\\.cpp$")
  set(win_sources ${all_sources})
  list(FILTER win_sources INCLUDE REGEX "_win\\.cpp$")
  set(posix_sources ${all_sources})
  list(FILTER posix_sources INCLUDE REGEX "_posix\\.cpp$")
  foreach(posix_source IN LISTS posix_sources)
    string(REGEX REPLACE "_posix\\.cpp$" "_win.cpp" twin ${posix_source})
    if(WIN32)
      list(REMOVE_ITEM win_sources ${twin})
      list(APPEND core_sources ${twin})
    else()
      list(APPEND core_sources ${posix_source})
    endif()
  endforeach()

  if(core_sources)
    add_library(${name}_core STATIC ${core_sources})
    target_include_directories(${name}_core PUBLIC ${PROJECT_SOURCE_DIR})
    tarvelo_warnings(${name}_core)
  else()  # headers only, so far
    add_library(${name}_core INTERFACE)
    target_include_directories(${name}_core INTERFACE ${PROJECT_SOURCE_DIR})
  endif()

  if(WIN32 AND win_sources)
    add_library(${name}_win STATIC ${win_sources})
    target_include_directories(${name}_win PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name}_win PUBLIC ${name}_core)
    tarvelo_warnings(${name}_win)
  endif()
endfunction()
