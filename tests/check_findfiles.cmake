cmake_minimum_required(VERSION 3.25)
# Runs findfiles on a small tree: a search, a stopped search, then bad command lines
# and bad input, each with its exit code and a word of its message.
# -DRUN=<emulator> -DTOOL=<findfiles.exe> -DWORK=<scratch folder>
include(${CMAKE_CURRENT_LIST_DIR}/check_tool.cmake)
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/tree/a.txt "")
file(WRITE ${WORK}/tree/sub/b.txt "")
set(w "${drive}${WORK}")
set(t "${w}/tree")

check(0 IS "${t}\\a.txt\n${t}\\sub\\b.txt\n2 file(s) found\n" ${t} *.txt)
check(0 IS "${t}\\a.txt\n1 file(s) found\n" ${t}\\ *.txt --max 1)
check(0 IS "0 file(s) found\n" ${t} *.doc --max 0001)
# Links, made on the Unix side: one back to the parent is not walked again; a linked
# folder listed before the folder it names is walked, and that folder by its own path.
file(WRITE ${WORK}/a/b/f.txt "")
file(WRITE ${WORK}/c/b/x.txt "")
file(CREATE_LINK .. ${WORK}/a/b/zurueck SYMBOLIC)
file(CREATE_LINK b ${WORK}/c/a_link SYMBOLIC)
check(0 IS "${w}/a\\b\\f.txt\n1 file(s) found\n" ${w}/a *.txt)
check(0 IS "${w}/c\\a_link\\x.txt\n${w}/c\\b\\x.txt\n2 file(s) found\n" ${w}/c *.txt)

check(0 HAS "usage: findfiles FOLDER PATTERN" /?)  # --help: check_dbfdump; -h: check_initool
check(2 HAS "FOLDER and PATTERN are missing")
check(2 HAS "PATTERN is missing" ${t})
check(2 HAS "unknown argument '-m'" ${t} *.txt -m 1)
check(2 HAS "--max needs a number" ${t} *.txt --max)
foreach(max 0 -1 +1 1x " 1" 1.0 2147483648 99999999999)
  check(2 HAS "--max takes a whole number from 1 to 2147483647, not '${max}'" ${t} * --max ${max})
endforeach()
check(2 HAS "unexpected argument 'x'" ${t} *.txt --max 1 x)
check(1 HAS "FOLDER is empty" "" *.txt)
check(1 HAS "folder '${w}/nichts' does not exist" ${w}/nichts *.txt)
check(1 HAS "'${t}/a.txt' is not a folder" ${t}/a.txt *.txt)
check(1 HAS "PATTERN is empty" ${t} "")
check(1 HAS "PATTERN 'sub\\*.txt' must be a name pattern without a folder" ${t} sub\\*.txt)
check(1 HAS "PATTERN '.' must be a name pattern without a folder" ${t} .)
# The class finds names in the ANSI code page: one it cannot hold is printed as its
# look-alike, told on standard error, and the exit code is 1.
file(WRITE ${WORK}/omega/Ωx.txt "")
execute_process(COMMAND ${RUN} ${TOOL} ${w}/omega *.txt
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(row "Ωx.txt")
expect("exit ${rc}" rc EQUAL 1)
expect("output [${out}]" out MATCHES "x\\.txt\n1 file\\(s\\) found\n$")
expect("error [${err}]" err MATCHES "x\\.txt' cannot be shown in code page 1252")
check_done(findfiles)
