# Table rows for the command-line tools, shared by check_initool, check_findfiles and
# check_dbfdump. Needs TOOL, and RUN (the emulator) for the Windows build.
#
# check(RC HOW TEXT ARGS...) runs the tool with ARGS (empty ones included) and expects
# exit code RC and, by HOW:
#   IS   standard output is TEXT;
#   HEX  standard output's bytes are TEXT in hex;
#   HAS  standard output (RC 0) or standard error (otherwise) holds TEXT.
# A failing run prints nothing on standard output; exit code 2 also puts the usage on
# standard error. execute_process() reads CR LF as LF. Mismatches are collected;
# check_done() reports them all.
if(RUN)
  set(drive "Z:")  # the Unix root under Wine
endif()
set(failures "")

function(check expected_rc how text)
  # ARGV<n> one by one: a list would drop nothing but split oddly at "[" and "]".
  set(call "execute_process(COMMAND ${RUN} [==[${TOOL}]==]")
  set(i 3)
  while(i LESS ARGC)
    string(APPEND call " [==[${ARGV${i}}]==]")
    math(EXPR i "${i} + 1")
  endwhile()
  cmake_language(EVAL CODE
    "${call} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)")
  string(HEX "${out}" hex)
  set(seen "${out}")
  if(NOT rc EQUAL 0)
    set(seen "${err}")
  endif()
  string(FIND "${seen}" "${text}" at)
  string(FIND "${err}" "usage: " usage_at)
  if(NOT rc EQUAL expected_rc OR (how STREQUAL "IS" AND NOT out STREQUAL text)
     OR (how STREQUAL "HEX" AND NOT hex STREQUAL text) OR (how STREQUAL "HAS" AND at EQUAL -1)
     OR (NOT rc EQUAL 0 AND NOT out STREQUAL "") OR (rc EQUAL 2 AND usage_at EQUAL -1))
    string(APPEND failures "\n${ARGV}: exit ${rc}, output [${out}] error [${err}];"
                           " expected exit ${expected_rc}, ${how} [${text}]")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

function(check_done name)
  if(failures)
    message(FATAL_ERROR "${name}:${failures}")
  endif()
  message(STATUS "${name} ok")
endfunction()
