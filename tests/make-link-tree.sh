#!/bin/sh
# Folder trees with links, made on the Unix side: Wine shows Unix symbolic links as
# links but cannot create them itself. Usage: make-link-tree.sh FOLDER
set -eu
t=$1
rm -rf "$t"
# The copy: sources that are not the very file named, or too large, a root reached
# through a link, and a target link.
mkdir -p "$t/copy/daten" "$t/copy/ziel"
printf 'C:\\Praxis\\\r\n' > "$t/copy/daten/dbpfad.ini"
printf 'nur fuer Administratoren\r\n' > "$t/copy/geheim.ini"
ln -s ../geheim.ini "$t/copy/daten/symlink.ini"
ln "$t/copy/geheim.ini" "$t/copy/daten/hardlink.ini"
ln -s daten "$t/copy/ordnerlink"
ln -s copy "$t/kopie"  # a root folder moved by its administrator
head -c 65536 /dev/zero | tr '\0' x > "$t/copy/daten/64k.ini"
head -c 65537 /dev/zero | tr '\0' x > "$t/copy/daten/64k+1.ini"
printf 'alt' > "$t/copy/ziel/echt.ini"
ln -s echt.ini "$t/copy/ziel/link.ini"
# A data folder of the test prefix with files planted by another user: an error log
# and an error.dat that link to files elsewhere, and an error log linking to a file
# that does not exist.
p=${WINEPREFIX:?}/drive_c/ProgramData
rm -rf "$p/fk-planted" "$p/fk-planted-missing" "$p/fk-fremd"
mkdir -p "$p/fk-planted" "$p/fk-planted-missing" "$p/fk-fremd"
printf 'geheim\r\n' > "$p/fk-fremd/geheim.txt"
printf '[Errors]\r\n13=geheim\r\n' > "$p/fk-fremd/error.dat"
ln -s ../fk-fremd/geheim.txt "$p/fk-planted/Errorlog.txt"
ln -s ../fk-fremd/error.dat "$p/fk-planted/error.dat"
ln -s ../fk-fremd/neu.txt "$p/fk-planted-missing/Errorlog.txt"
