#!/usr/bin/python3
# Compares what dbfdump (over the table class) reads with what dbfread reads: every
# table in the interop folder, two of other writers made by python3-dbf, and tables the
# class wrote (appends, field writes) read back. Without the interop tables only the
# written and made ones are compared, and the exit code 77 tells CTest that the check
# was skipped.
#
# usage: check_dbfread.py DBFDUMP INTEROP_DIR TEMPLATE_DIR SCRATCH_DIR
import json
import os
import shutil
import subprocess
import sys
from pathlib import Path

import dbf
from dbfread import DBF
from dbfread.codepages import codepages

# The code pages dbfdump converts; a table without a driver (0) is read as code page
# 1252, one whose driver names another code page as ASCII.
CODE_PAGES = {f"cp{n}" for n in (437, 850, 852, 865, 866, 1250, 1251, 1252, 1253, 1254)}
# Tables the class writes (None: the template folder), each step one run of dbfdump.
WRITES = [(None, "t101.dbf", [["--append"], ["--append"], ["--set", "2", "DATNUMMER", "000042"],
                              ["--set", "1", "nachname", "Müller & Söhne €"]]),
          ("interop", "people.dbf", [["--set", "1", "NAME", "Zo\xeb"], ["--append"],
                                     ["--set", "4", "2", "20260101"]]),
          # their records start after more than the descriptors
          ("interop", "no_memofile.dbf", [["--append"], ["--set", "4", "NAME", "Öl"]]),
          ("made", "vfp.dbf", [["--append"], ["--set", "3", "ORT", "Öl"]]),
          ("made", "padded.dbf", [["--append"], ["--set", "3", "ORT", "Öl"]])]


# Tables of other writers made by python3-dbf: a Visual FoxPro one, and a dBase III one
# with one padding byte after the end byte 13 of its descriptors.
def make_tables(folder):
    for name, kind, codepage in (("vfp.dbf", "vfp", "cp1252"), ("padded.dbf", "db3", "cp850")):
        table = dbf.Table(os.path.join(folder, name), "NAME C(10); ORT C(5)", dbf_type=kind,
                          codepage=codepage)
        with table.open(dbf.READ_WRITE):
            table.append(("Müller", "Köln"))
            table.append(("Zoë", "Ærø"))
    padded = Path(folder, "padded.dbf")
    data = padded.read_bytes()
    start = int.from_bytes(data[8:10], "little")
    padded.write_bytes(data[:8] + (start + 1).to_bytes(2, "little") + data[10:start] + b"\0" +
                       data[start:])


def dump(tool, path, *args):
    run = subprocess.run([tool, path, *args], capture_output=True)
    lines = run.stdout.decode("utf-8").splitlines() if run.returncode == 0 else None
    return lines and [json.loads(line) for line in lines], run.stderr.decode("utf-8", "replace")


# Each part of the table (fields, live records, deleted records) as the class and as
# dbfread read it.
def parts(lines, path):
    driver = Path(path).read_bytes()[29]
    enc = codepages.get(driver, ("ascii",))[0]
    enc = "cp1252" if driver == 0 else enc if enc in CODE_PAGES else "ascii"
    table = DBF(path, raw=True, load=True, encoding=enc, ignore_missing_memofile=True)
    text = lambda rec: [v.decode(enc, errors="replace").strip(" ") for v in rec.values()]
    yield ("fields", [(f["name"], f["type"], f["length"]) for f in lines[0]["fields"]],
           [(f.name, f.type, f.length) for f in table.fields])
    yield ("live records", [r["fields"] for r in lines[1:] if r["flag"] != "*"],
           [text(r) for r in table.records])
    yield ("deleted records", [r["fields"] for r in lines[1:] if r["flag"] == "*"],
           [text(r) for r in table.deleted])


# One failure for each part read differently, naming the table and the first difference.
def compare(name, lines, path):
    failures = []
    for part, ours, theirs in parts(lines, path):
        at = next((i for i, (x, y) in enumerate(zip(ours, theirs)) if x != y), len(ours))
        if ours != theirs:
            failures.append(f"{name}: {part} from {at} (class {len(ours)}, dbfread {len(theirs)}):"
                            f" class {ours[at:at + 1]!r}, dbfread {theirs[at:at + 1]!r}")
    return failures


def main():
    tool, interop, templates, scratch = sys.argv[1:5]
    made = os.path.join(scratch, "made")
    shutil.rmtree(scratch, ignore_errors=True)  # each table is copied there afresh
    os.makedirs(made)
    make_tables(made)
    # Each table of the interop folder is read as it is, in a copy: one run without steps.
    names = sorted(os.listdir(interop)) if os.path.isdir(interop) else []
    reads = [("interop", n, [[]]) for n in names if n.endswith(".dbf")]
    failures = []
    folders = {None: templates, "interop": interop, "made": made}
    for folder, name, steps in reads + [w for w in WRITES if reads or w[0] != "interop"]:
        path = os.path.join(scratch, name)
        shutil.copyfile(os.path.join(folders[folder], name), path)
        name = name if steps == [[]] else "written " + name
        for step in steps:
            lines, error = dump(tool, path, *step)
            if not lines:
                failures.append(f"{name} {step}: refused: {error}")
                break
        else:
            failures += compare(name, lines, path)
    print("\n".join(["FAIL " + failure for failure in failures] + [f"{len(failures)} failures"]))
    if not failures and not reads:
        print(f"SKIPPED: no interop tables at {interop}; only the written and made ones compared")
        return 77
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
