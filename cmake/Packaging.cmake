# Windows packages of the program, into TARVELO_DIST_DIR: a portable zip
# (Tarvelo.exe and a usage text in Chinese) and a per-user Windows Installer
# package built by wixl from packaging/tarvelo.wxs. `cmake --build . --target
# packages` makes both for the architecture of this build; tools/package.sh
# makes the four release packages.
set(TARVELO_DIST_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH "Where the packages go")
find_program(TARVELO_WIXL wixl)
# Never changes: every version and both architectures replace one another.
set(TARVELO_UPGRADE_CODE 6E1D53A8-3C0B-4F5E-9B77-2A4D8C1F0E93)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TARVELO_PACKAGE_ARCH x64)
else()
  set(TARVELO_PACKAGE_ARCH x86)
endif()

# tarvelo_msi(TARGET EXE_TARGET VERSION OUTPUT): a target that builds the
# installer OUTPUT for VERSION around the program built by EXE_TARGET.
function(tarvelo_msi target exe_target version output)
  if(NOT TARVELO_WIXL)
    message(FATAL_ERROR "wixl not found: run tools/setup.sh")
  endif()
  if(TARVELO_PACKAGE_ARCH STREQUAL x64)
    set(win64 yes)
  else()
    set(win64 no)
  endif()
  # One product code per version, the same for both architectures: Windows
  # then refuses a second copy of one version instead of registering two.
  string(UUID product_code NAMESPACE ${TARVELO_UPGRADE_CODE} NAME "Tarvelo ${version}"
         TYPE SHA1 UPPER)
  set(wxs ${PROJECT_SOURCE_DIR}/packaging/tarvelo.wxs)
  # wixl finds the program file relative to its working directory.
  get_filename_component(output_dir ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND ${TARVELO_WIXL} -a ${TARVELO_PACKAGE_ARCH} -D Version=${version} -D Win64=${win64}
            -D ProductCode=${product_code} -D UpgradeCode=${TARVELO_UPGRADE_CODE} -o ${output} ${wxs}
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${exe_target}>
    DEPENDS ${exe_target} ${wxs}
    COMMENT "Windows Installer package ${output}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${output})
endfunction()

set(package_name Tarvelo-${PROJECT_VERSION}-${TARVELO_PACKAGE_ARCH})
tarvelo_msi(package_msi Tarvelo ${PROJECT_VERSION} ${TARVELO_DIST_DIR}/${package_name}.msi)

# The zip holds one folder, Tarvelo, so that unpacking it spills nothing.
set(zip_stage ${CMAKE_BINARY_DIR}/zip-stage)
set(zip ${TARVELO_DIST_DIR}/${package_name}.zip)
set(usage_text ${PROJECT_SOURCE_DIR}/packaging/ReadMe.txt)
add_custom_command(OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_stage}/Tarvelo ${TARVELO_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tarvelo> ${usage_text} ${zip_stage}/Tarvelo/
  COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
  COMMAND ${CMAKE_COMMAND} -E chdir ${zip_stage}
          ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Tarvelo/Tarvelo.exe Tarvelo/ReadMe.txt
  DEPENDS Tarvelo ${usage_text}
  COMMENT "Portable package ${zip}"
  VERBATIM)
add_custom_target(package_zip DEPENDS ${zip})

add_custom_target(packages DEPENDS package_msi package_zip)
