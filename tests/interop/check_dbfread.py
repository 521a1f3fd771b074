#!/usr/bin/python3
"""Compares what dbfdump (over the table class) reads with what dbfread reads: every
table in the interop folder, and tables the class wrote (appends, field writes) read
back. Without the interop folder only the written template is compared, and the exit
code 77 tells CTest that the check was skipped.

usage: check_dbfread.py DBFDUMP INTEROP_DIR TEMPLATE_DIR SCRATCH_DIR
"""
import json
import os
import shutil
import subprocess
import sys

from dbfread import DBF
from dbfread.codepages import codepages

SKIPPED = 77
# The code pages dbfdump converts; a table without a driver (0) is read as code page
# 1252, one whose driver names another code page as ASCII.
CODE_PAGES = {"cp437", "cp850", "cp852", "cp865", "cp866", "cp1250", "cp1251", "cp1252",
              "cp1253", "cp1254"}
# Tables the class writes: each step is one run of dbfdump on the same copy.
WRITES = [("people.dbf", [["--set", "1", "NAME", "Zo\xeb"], ["--append"],
                          ["--set", "4", "2", "20260101"]]),
          ("edit.dbf", [["--append"], ["--set", "664", "BKG_KEY", "x"]]),
          ("latin1.dbf", [["--set", "1", "2", "Ärger"]]),
          # records that start after more than the descriptors
          ("no_memofile.dbf", [["--append"], ["--set", "4", "NAME", "Öl"]])]
TEMPLATE_WRITES = [["--append"], ["--append"], ["--set", "1", "nachname", "Müller & Söhne €"],
                   ["--set", "2", "6", "12345"], ["--set", "2", "DATNUMMER", "000042"]]


def dump(tool, path, *args):
    run = subprocess.run([tool, path, *args], capture_output=True)
    if run.returncode != 0:
        return None, run.stderr.decode("utf-8", errors="replace").strip()
    return [json.loads(line) for line in run.stdout.decode("utf-8").splitlines()], ""


def class_view(lines):
    fields = [(f["name"], f["type"], f["length"]) for f in lines[0]["fields"]]
    live = [r["fields"] for r in lines[1:] if r["flag"] != "*"]
    return fields, live, [r["fields"] for r in lines[1:] if r["flag"] == "*"]


def dbfread_view(path):
    with open(path, "rb") as f:
        driver = f.read(30)[29]
    enc = codepages.get(driver, ("ascii",))[0]
    enc = "cp1252" if driver == 0 else enc if enc in CODE_PAGES else "ascii"
    table = DBF(path, raw=True, load=True, encoding=enc, ignore_missing_memofile=True)
    fields = [(f.name, f.type, f.length) for f in table.fields]
    text = lambda rec: [v.decode(enc, errors="replace").strip(" ") for v in rec.values()]
    return fields, [text(r) for r in table.records], [text(r) for r in table.deleted]


# One failure for each part (fields, live records, deleted records) read differently.
def compare(name, lines, path):
    failures = []
    for part, ours, theirs in zip(("fields", "live records", "deleted records"),
                                  class_view(lines), dbfread_view(path)):
        if len(ours) != len(theirs):
            failures.append(f"{name}: {part}: class {len(ours)}, dbfread {len(theirs)}")
        for i, (x, y) in enumerate(zip(ours, theirs)):
            if x != y:
                failures.append(f"{name}: {part} {i}: class {x!r}, dbfread {y!r}")
                break
    return failures


def main():
    tool, interop, templates, scratch = sys.argv[1:5]
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    found = os.path.isdir(interop)
    tables = sorted(n for n in os.listdir(interop) if n.endswith(".dbf")) if found else []
    writes = [(templates, "t101.dbf", TEMPLATE_WRITES)]
    writes += [(interop, name, steps) for name, steps in WRITES if found]
    failures = []
    for name in tables:
        lines, error = dump(tool, os.path.join(interop, name))
        if lines is None:
            failures.append(f"{name}: refused: {error}")
        else:
            failures += compare(name, lines, os.path.join(interop, name))
    for folder, name, steps in writes:
        path = os.path.join(scratch, name)
        shutil.copyfile(os.path.join(folder, name), path)
        for step in steps:
            lines, error = dump(tool, path, *step)
            if lines is None:
                failures.append(f"written {name} {step}: {error}")
                break
        else:
            failures += compare("written " + name, lines, path)
    for failure in failures:
        print("FAIL", failure)
    print(f"{len(tables) + len(writes)} tables, {len(failures)} failures")
    if failures:
        return 1
    if not found:
        print(f"SKIPPED: no interop tables at {interop}; only the written template compared")
        return SKIPPED
    return 0


if __name__ == "__main__":
    sys.exit(main())
