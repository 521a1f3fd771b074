#!/usr/bin/python3
"""Compares what dbfdump (over the dbases class) reads with what dbfread reads:
every table in the interop folder and two made here with python3-dbf (a Visual
FoxPro table, a dBase III one with a padding byte after the descriptors) is read the
same, and tables that the class wrote (appends, field writes) read back the same.

usage: check_dbfread.py DBFDUMP INTEROP_DIR TEMPLATE_DIR SCRATCH_DIR
"""
import json
import os
import shutil
import struct
import subprocess
import sys

import dbf
from dbfread import DBF
from dbfread.codepages import codepages

# The code pages dbfdump converts; a table without a driver (0) is read as code page
# 1252, one whose driver names another code page as ASCII.
CODE_PAGES = {"cp437", "cp850", "cp852", "cp865", "cp866", "cp1250", "cp1251", "cp1252",
              "cp1253", "cp1254"}


def dump(tool, path, *args):
    run = subprocess.run([tool, path, *args], capture_output=True)
    if run.returncode != 0:
        return None, run.stderr.decode("utf-8", errors="replace")
    lines = [json.loads(line) for line in run.stdout.decode("utf-8").splitlines()]
    return lines, ""


def class_view(lines):
    head, records = lines[0], lines[1:]
    fields = [(f["name"], f["type"], f["length"]) for f in head["fields"]]
    live = [r["fields"] for r in records if r["flag"] != "*"]
    deleted = [r["fields"] for r in records if r["flag"] == "*"]
    return fields, live, deleted


def encoding_of(path):
    with open(path, "rb") as f:
        driver = f.read(30)[29]
    name = codepages.get(driver, ("ascii",))[0]
    return "cp1252" if driver == 0 else name if name in CODE_PAGES else "ascii"


def make_tables(folder):
    """Tables of other writers, whose records start after more than the descriptors."""
    for name, kind, codepage in (("vfp.dbf", "vfp", "cp1252"), ("padded.dbf", "db3", "cp850")):
        path = os.path.join(folder, name)
        table = dbf.Table(path, "NAME C(10); ORT C(5)", dbf_type=kind, codepage=codepage)
        with table.open(dbf.READ_WRITE):
            for row in (("Müller", "Köln"), ("Zoë", "Ærø")):
                table.append(row)
        if kind == "db3":  # one padding byte after the end byte 13
            with open(path, "rb") as f:
                data = f.read()
            start = struct.unpack("<H", data[8:10])[0]
            with open(path, "wb") as f:
                f.write(data[:8] + struct.pack("<H", start + 1) + data[10:start] + b"\0")
                f.write(data[start:])


def dbfread_view(path):
    enc = encoding_of(path)
    table = DBF(path, raw=True, load=True, encoding=enc, ignore_missing_memofile=True)
    fields = [(f.name, f.type, f.length) for f in table.fields]
    text = lambda rec: [v.decode(enc, errors="replace").strip(" ") for v in rec.values()]
    return fields, [text(r) for r in table.records], [text(r) for r in table.deleted]


def compare(name, ours, theirs):
    for part, a, b in zip(("fields", "live records", "deleted records"), ours, theirs):
        if a != b:
            for i, (x, y) in enumerate(zip(a, b)):
                if x != y:
                    return f"{name}: {part} differ at {i}: class {x!r} dbfread {y!r}"
            return f"{name}: {part} differ in count: class {len(a)} dbfread {len(b)}"
    return None


def main():
    tool, interop, templates, scratch = sys.argv[1:5]
    failures, checked = [], 0
    made = os.path.join(scratch, "made")
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(made)
    make_tables(made)
    tables = [os.path.join(made, name) for name in sorted(os.listdir(made))]
    if os.path.isdir(interop):
        tables += [os.path.join(interop, n) for n in sorted(os.listdir(interop))
                   if n.endswith(".dbf")]
    else:
        print(f"no interop tables at {interop}; checking made and written tables only")

    for path in tables:
        name = os.path.basename(path)
        lines, error = dump(tool, path)
        checked += 1
        if lines is None:
            failures.append(f"{name}: refused: {error.strip()}")
            continue
        problem = compare(name, class_view(lines), dbfread_view(path))
        if problem:
            failures.append(problem)

    # Tables written by the class read back the same in dbfread.
    writes = [("t101.dbf", templates, [["--append"], ["--append"],
                                       ["--set", "1", "nachname", "Müller & Söhne €"],
                                       ["--set", "2", "6", "12345"],
                                       ["--set", "2", "DATNUMMER", "000042"]]),
              ("vfp.dbf", made, [["--append"], ["--set", "3", "ORT", "Öl"]]),
              ("padded.dbf", made, [["--append"], ["--set", "3", "ORT", "Öl"]])]
    if os.path.isdir(interop):
        writes += [("people.dbf", interop, [["--set", "1", "NAME", "Zo\xeb"], ["--append"],
                                            ["--set", "4", "2", "20260101"]]),
                   ("edit.dbf", interop, [["--append"], ["--set", "664", "BKG_KEY", "x"]]),
                   ("latin1.dbf", interop, [["--set", "1", "2", "Ärger"]])]
    for name, folder, steps in writes:
        path = os.path.join(scratch, name)
        shutil.copyfile(os.path.join(folder, name), path)
        os.chmod(path, 0o644)
        lines = None
        for step in steps:
            lines, error = dump(tool, path, *step)
            if lines is None:
                failures.append(f"written {name} {step}: {error.strip()}")
                break
        checked += 1
        if lines is not None:
            problem = compare("written " + name, class_view(lines), dbfread_view(path))
            if problem:
                failures.append(problem)

    for f in failures:
        print("FAIL", f)
    print(f"{checked - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
