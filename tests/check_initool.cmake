cmake_minimum_required(VERSION 3.25)
# Runs initool on a copy of the sample file: each command's output, then bad command
# lines and bad input, each with its exit code and a word of its message.
# -DRUN=<emulator> -DTOOL=<initool.exe> -DSAMPLE=<sample.ini> -DWORK=<scratch folder>
include(${CMAKE_CURRENT_LIST_DIR}/check_tool.cmake)
get_filename_component(name ${SAMPLE} NAME)
execute_process(COMMAND chattr -i ${WORK}/fest-${name} ERROR_QUIET)  # left by a failed run
file(REMOVE_RECURSE ${WORK})
file(COPY ${SAMPLE} DESTINATION ${WORK})
set(w "${drive}${WORK}")
set(f "${w}/${name}")

check(0 IS "Praxis\nPfade\nZwei\n" ${f} sections)
check(0 IS "Name=Dr. Muster\nOrt=Hamburg\n" ${f} keys Praxis)
check(0 IS "C:\\Daten\\\n" ${f} get pfade DATEN)
check(0 IS "\n" ${f} get Praxis fehlt)
check(0 IS "Zwei\n" ${f} find-key b)
check(0 IS "b\n" ${f} find-value 2 Zwei)
check(0 IS "Zwei/b\n" ${f} find-value 2)
# Writes, deletes and renames keep every other key and value. A value keeps its quotes
# and the blanks inside them, an empty one its key; of an empty section only the header
# line is written; another spelling of the same name changes only the spelling.
check(0 IS "" ${f} set Pfade sicherung "\" D:\\Sicherung\\ \"")
check(0 IS "" ${f} rename-key Pfade sicherung kopie)
check(0 IS "" ${f} set Zwei leer "")
check(0 IS "" ${f} set Leer k v)
check(0 IS "" ${f} delete Leer k)
check(0 IS "" ${f} rename-section Leer AuchLeer)
check(0 IS "" ${f} rename-section Pfade Lager)
check(0 IS "" ${f} rename-section Zwei ZWEI)
check(0 IS "" ${f} rename-key Praxis Name NAME)
# Umlauts and the euro sign in the ANSI code page (1252), also on redirected output.
check(0 IS "" ${f} set Euro Name "Müller€")
check(0 HEX "4dfc6c6c6572800a" ${f} get Euro Name)
check(0 IS "" ${f} delete-section Euro)

check(0 HAS "usage: initool FILE COMMAND" -h)  # --help: check_dbfdump; /?: check_findfiles
check(2 HAS "FILE and COMMAND are missing")
check(2 HAS "COMMAND is missing" ${f})
check(2 HAS "unknown command 'frobnicate'" ${f} frobnicate)
check(2 HAS "get takes SECTION KEY" ${f} get Praxis)
check(2 HAS "sections takes no arguments" ${f} sections Praxis)
# Bad input: nothing is written.
check(1 HAS "FILE is empty" "" sections)
check(1 HAS "file '${w}/neu.ini' does not exist" ${w}/neu.ini get a b)
check(1 HAS "'${w}' is a folder" ${w} set a b c)
check(1 HAS "cannot write key 'b' in section [a] of '" ${w}/x/neu.ini set a b c)
check(1 HAS "the section name is empty" ${f} set " " k v)
check(1 HAS "section name 'a]b' holds ']'" ${f} set "a]b" k v)
check(1 HAS "the key name is empty" ${f} set Praxis "" v)
check(1 HAS "key name 'k=v' holds '='" ${f} set Praxis k=v v)
check(1 HAS "key name ' ;k' begins with ';' (a comment line)" ${f} set Praxis " ;k" v)
check(1 HAS "key name '[k' begins with '[' (a section line)" ${f} rename-key Praxis Name "[k")
check(1 HAS "the value holds a line break" ${f} set Praxis k "v\r\nw")
check(1 HAS "holds a character that code page 1252 cannot hold" ${f} set Praxis k "Ω")
check(1 HAS "there is no section [Drei]" ${f} rename-section Drei Vier)
check(1 HAS "section [lager] exists already" ${f} rename-section Praxis lager)
check(1 HAS "there is no key 'Ort' in section [Lager]" ${f} rename-key Lager Ort Stadt)
check(1 HAS "key 'name' exists already in section [Praxis]" ${f} rename-key Praxis Ort name)
# A file that cannot be written (root ignores the read-only attribute) is refused.
check_unwritable(${name} 1 HAS "cannot use '${w}/fest-${name}': " ${w}/fest-${name} sections)
file(READ ${WORK}/${name} bytes HEX)  # HEX keeps the CR of each line end
string(HEX "[Praxis]\r\nOrt=Hamburg\r\nNAME=Dr. Muster\r\n[AuchLeer]\r\n[Lager]\r\n\
daten=C:\\Daten\\\r\nkopie=\" D:\\Sicherung\\ \"\r\n[ZWEI]\r\na=1\r\nb=2\r\nleer=\r\n" expected)
set(row "${name} after the writes and the refusals")
expect("[${bytes}] in hex" bytes STREQUAL expected)
check_done(initool)
