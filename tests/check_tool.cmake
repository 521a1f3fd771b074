# Table rows for the command-line tools, shared by check_initool, check_findfiles and
# check_dbfdump. Needs TOOL, and RUN (the emulator) for the Windows build.
#
# check(RC HOW TEXT ARGS...) runs the tool with ARGS (empty ones included) and expects
# exit code RC and, by HOW:
#   IS   standard output is TEXT;
#   HEX  standard output's bytes are TEXT in hex;
#   HAS  standard output (RC 0) or standard error (otherwise) holds TEXT.
# A failing run prints nothing on standard output; exit code 2 also puts the usage on
# standard error. execute_process() reads CR LF as LF. Each fact that does not hold is
# collected with its row; check_done() reports them all.
string(REGEX REPLACE ".+" "Z:" drive "${RUN}")  # with the emulator: Wine's drive of the Unix root

# Adds `what` for the caller's `row` to its failures unless the condition in ARGN holds:
# if() words and variable names, no value with a ";" (a list would split it).
function(expect what)
  if(NOT (${ARGN}))
    set(failures "${failures}\n${row}: ${what}" PARENT_SCOPE)
  endif()
endfunction()

function(check expected_rc how text)
  # ARGV<n> one by one: a list would drop nothing but split oddly at "[" and "]".
  set(call "execute_process(COMMAND ${RUN} [==[${TOOL}]==]")
  set(i 3)
  while(i LESS ARGC)
    string(APPEND call " [==[${ARGV${i}}]==]")
    math(EXPR i "${i} + 1")
  endwhile()
  cmake_language(EVAL CODE "${call} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)")
  set(row "${ARGV}")
  expect("exit ${rc}, expected ${expected_rc}; error [${err}]" rc EQUAL expected_rc)
  set(seen "${out}")
  if(how STREQUAL "HEX")
    string(HEX "${out}" seen)
  elseif(NOT rc EQUAL 0)
    set(seen "${err}")
  endif()
  string(FIND "${seen}" "${text}" at)
  if(how STREQUAL "HAS")
    expect("[${seen}] lacks [${text}]" at GREATER -1)
  else()
    expect("output [${seen}], expected [${text}]" seen STREQUAL text)
  endif()
  if(NOT rc EQUAL 0)
    expect("a failure printed [${out}]" NOT out MATCHES ".")
  endif()
  if(rc EQUAL 2)
    expect("no usage after the message [${err}]" err MATCHES "usage: ")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# check() on a copy of FILE (below WORK) that not even its owner can change, when chattr
# can make one: that needs root rights. Without them the rows are counted as skipped.
function(check_unwritable file)
  file(COPY_FILE ${WORK}/${file} ${WORK}/fest-${file})
  execute_process(COMMAND chattr +i ${WORK}/fest-${file} RESULT_VARIABLE locked ERROR_QUIET)
  if(NOT locked EQUAL 0)
    set(skipped "${skipped} ${ARGN}" PARENT_SCOPE)
    return()
  endif()
  check(${ARGN})
  execute_process(COMMAND chattr -i ${WORK}/fest-${file})
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# A failure fails the test; else rows that could not run mark it as skipped (CTest's
# SKIP_REGULAR_EXPRESSION), so it never passes without them.
function(check_done name)
  if(failures)
    message(FATAL_ERROR "${name}:${failures}")
  elseif(skipped)
    message(STATUS "${name} SKIPPED rows without the rights to make a file unwritable:${skipped}")
  endif()
endfunction()
