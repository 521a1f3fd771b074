# Fails unless the executable imports Windows' own DLLs only (a static build) and its
# manifest (resource type 24, id 1) asks for LEVEL, the rights Windows starts it with.
cmake_minimum_required(VERSION 3.25)
find_program(OBJDUMP NAMES x86_64-w64-mingw32-objdump REQUIRED)
execute_process(COMMAND ${OBJDUMP} -p -h ${EXE} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" dlls "${dump}")
string(TOLOWER "${dlls}" dlls)
list(TRANSFORM dlls REPLACE "^dll name: " "")
set(system kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll ole32.dll
           advapi32.dll msvcrt.dll version.dll)
if(NOT dlls)
  message(FATAL_ERROR "no imports found in ${EXE}")
endif()
list(REMOVE_ITEM dlls ${system})
if(dlls)
  message(FATAL_ERROR "${EXE} imports ${dlls}, which are not Windows system DLLs")
endif()

# The manifest is resource 1 of type 24; its text is the only one in the file that names
# an execution level.
set(l "[^\n]*\n")
set(leaf "Entry: ID: 0x000018,${l}${l}[^\n]*Entry: ID: 0x000001,${l}${l}${l}[^\n]*Leaf: ")
if(NOT dump MATCHES "${leaf}")
  message(FATAL_ERROR "${EXE} has no manifest resource 1")
endif()
file(STRINGS ${EXE} manifest REGEX "requestedExecutionLevel")
string(REGEX MATCHALL "requestedExecutionLevel +level=\"[A-Za-z]+\"" levels "${manifest}")
if(NOT levels STREQUAL "requestedExecutionLevel level=\"${LEVEL}\"")
  message(FATAL_ERROR "${EXE} asks for [${levels}], not '${LEVEL}'")
endif()
