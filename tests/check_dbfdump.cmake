cmake_minimum_required(VERSION 3.25)
# Runs dbfdump on copies of a template table (code page 1252) and of a table in code
# page 437: umlauts and the euro sign through --set and a dump, text in the table's code
# page or in one the caller names, a table whose driver names no code page, a table that
# cannot be written (skipped without root rights), then bad command lines and bad input,
# each with its exit code and a word of its message. A refused --set leaves the table as
# it was.
# -DRUN=<emulator, empty for the host build> -DTOOL=<dbfdump> -DTEMPLATE=<t101.dbf>
# -DCP437=<cp437.dbf> -DWORK=<scratch folder>
include(${CMAKE_CURRENT_LIST_DIR}/check_tool.cmake)
execute_process(COMMAND chattr -i ${WORK}/fest-cp437.dbf ERROR_QUIET)  # left by a failed run
file(REMOVE_RECURSE ${WORK})
file(COPY ${TEMPLATE} ${CP437} DESTINATION ${WORK})
file(WRITE ${WORK}/text.dbf "no table")
set(w "${drive}${WORK}")
set(t "${w}/t101.dbf")  # the template: DATNUMMER C 6, NACHNAME C 25, VORNAME C 25, ...
set(d "${w}/cp437.dbf")  # NAME C 10, ORT C 5; one record: Müller, Köln

# check() for a --set that is refused: the table's bytes stay as they were.
function(refused rc text table)
  string(REPLACE "${drive}${WORK}" "${WORK}" file "${table}")
  file(SHA256 ${file} before)
  check(${rc} HAS "${text}" ${table} ${ARGN})
  file(SHA256 ${file} after)
  set(row "${table} ${ARGN}")
  expect("the table was changed" before STREQUAL after)
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

check(0 HAS "{\"records\":1," ${t} --append)
check(0 HAS "[\"\",\"Müller\",\"\"," ${t} --set 1 nachname Müller)
check(0 HAS "[\"\",\"Müller\",\"€\"," ${t} --set 1 3 €)
# A code page the caller names holds for reading and writing ("€" went in as 1252's 80,
# which is "Ç" in 850); the header stays 1252.
check(0 HAS "[\"\",\"Größe\",\"Ç\"," ${t} --code-page 850 --set 1 nachname Größe)
check(0 HAS "[\"\",\"Gr”áe\",\"€\"," ${t})
check(0 HAS "\"code_page\":437," ${d})
check(0 HAS "[\"Größe\",\"Köln\"]" ${d} --set 1 NAME Größe)
refused(1 "the value holds '€', which code page 437 cannot store" ${d} --set 1 ORT €)
# A language driver that names no code page: only ASCII is known.
file(COPY_FILE ${WORK}/cp437.dbf ${WORK}/fremd.dbf)
execute_process(COMMAND sh -c "printf '\\376' | dd of=fremd.dbf bs=1 seek=29 conv=notrunc"
                WORKING_DIRECTORY ${WORK} ERROR_QUIET)
check(0 HAS "\"code_page\":null,\"fields\"" ${w}/fremd.dbf)
refused(1 "which dbfdump cannot store in the table's unknown code page" ${w}/fremd.dbf --set 1 2 Öl)

# A table that cannot be written is dumped; a write to it is refused.
set(f "${w}/fest-cp437.dbf")
check_unwritable(cp437.dbf 0 HAS "[\"Größe\",\"Köln\"]" ${f})
check_unwritable(cp437.dbf 1 HAS "cannot open ${f} for writing: Error 75: Path/File" ${f} --append)

check(0 HAS "usage: dbfdump TABLE" --help)  # -h: check_initool; /?, bad numbers: check_findfiles
check(2 HAS "TABLE is missing")
check(2 HAS "unknown option '--frob'" --frob)
check(2 HAS "unknown option '--frob'" ${t} --frob)
check(2 HAS "unexpected argument '1'" ${t} --append 1)
check(2 HAS "--set needs REC FIELD TEXT" ${t} --set 1 2)
check(2 HAS "--code-page needs N" ${t} --code-page)
check(2 HAS "--code-page '1255': dbfdump converts code pages 437," ${t} --code-page 1255)
check(2 HAS "REC must be a record number from 1, not '0'" ${t} --set 0 2 x)
check(1 HAS "cannot open ${w}/nichts.dbf: Error 53: File not found" ${w}/nichts.dbf)
if(RUN)  # the Windows build names the table in the ANSI code page, which lacks "Ω"
  check(1 HAS "Ω.dbf' holds a character that code page 1252 cannot hold" ${w}/Ω.dbf --append)
endif()
check(1 HAS "cannot open ${w}/text.dbf: Error 321: Invalid file format" ${w}/text.dbf)
refused(1 "no record 2 (the table has 1)" ${d} --set 2 1 x)
refused(1 "no field 'strasse2' in ${t}" ${t} --set 1 strasse2 x)
refused(1 "no field '0' in ${t}" ${t} --set 1 0 x)
refused(1 "no field '3' in ${d}" ${d} --set 1 3 x)
refused(1 "the value has 6 characters; field ORT holds 5" ${d} --set 1 ORT Berlin)
# Output that cannot be written is a failure.
execute_process(COMMAND ${RUN} ${TOOL} ${d} OUTPUT_FILE /dev/full
                RESULT_VARIABLE rc ERROR_VARIABLE err)
set(row "${d} > /dev/full")
expect("exit ${rc}" rc EQUAL 1)
expect("error [${err}]" err STREQUAL "dbfdump: cannot write to standard output\n")
check_done(dbfdump)
