cmake_minimum_required(VERSION 3.25)
# Makes the release package in a scratch folder and checks its content and checksum.
# -DBUILD_DIR=<windows build dir> -DWORK=<scratch folder>
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}
                COMMAND_ERROR_IS_FATAL ANY)
file(GLOB zips ${WORK}/FollowKelvaro-*-win64.zip)
# The content, in the fixed order of a reproducible zip: sorted by name.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zips} OUTPUT_VARIABLE listing)
get_filename_component(top ${zips} NAME_WLE)
set(names FollowKelvaro.exe FollowKelvaroCmd.exe LICENSE README.md tools/dbfdump.exe
          tools/findfiles.exe tools/initool.exe)
list(TRANSFORM names PREPEND "${top}/")
string(REPLACE ";" "\n" expected "${names}\n")
if(NOT listing STREQUAL expected)
  message(FATAL_ERROR "package content differs:\n${listing}expected:\n${expected}")
endif()
file(SHA256 ${zips} actual)
file(READ ${zips}.sha256 recorded)
if(NOT recorded MATCHES "^${actual} ")
  message(FATAL_ERROR "checksum file does not match: ${recorded} vs ${actual}")
endif()
