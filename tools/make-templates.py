#!/usr/bin/env python3
"""Writes the four empty dBase III table templates (resources 101 to 104):
version 3, header date 2010-02-18, no records, the descriptors, the end byte 13,
then the end-of-file byte 26 and two bytes 0. The results are committed under
resources/templates/; run again only to change them."""
import struct
import sys
from pathlib import Path

OUT = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources" / "templates")


def c(name, length, typ="C"):
    return (name, typ, length)


def template_101():
    fields = [c("DATNUMMER", 6), c("NACHNAME", 25), c("VORNAME", 25), c("GEBDATUM", 8),
              c("STRASSE", 25), c("PLZ", 5), c("ORT", 25), c("TELEFON", 20), c("KASSE", 30),
              c("VERSNR", 15), c("TITEL", 15), c("ANREDE", 10), c("BEMERKUNG", 58),
              c("GESCHLECHT", 1)]
    return fields


def template_102():
    fields = [c("DATNUMMER", 6), c("GESCHLECHT", 1), c("UNTDATUM", 8, "D"), c("GEBDATUM", 8, "D"),
              c("TW1111", 10)]
    fields += [c(f"TW{1112 + i}", 41) for i in range(68)]
    fields += [c("TW1180", 59)]
    return fields


def template_103():
    return [c("DATNUMMER", 6)] + [c(f"T{1111 + i}", 1) for i in range(253)]


def template_104():
    fields = [c("DATNUMMER", 6), c("T3000", 40), c("T3001", 32), c("T3002", 40)]
    fields += [c(f"T{3003 + i}", 60) for i in range(54)]
    fields += [c("T3057", 102)]
    return fields


def table(fields):
    record_length = 1 + sum(length for _, _, length in fields)
    header_length = 32 * len(fields) + 33
    head = struct.pack("<B3BIHH20x", 3, 110, 2, 18, 0, header_length, record_length)
    for name, typ, length in fields:
        head += struct.pack("<11sc4xBB14x", name.encode("ascii"), typ.encode("ascii"), length, 0)
    return head + b"\x0d" + b"\x1a\x00\x00", len(fields), record_length, header_length


EXPECTED = {101: (14, 269, 481), 102: (74, 2881, 2401), 103: (254, 260, 8161), 104: (59, 3461, 1921)}

if __name__ == "__main__":
    OUT.mkdir(parents=True, exist_ok=True)
    for rid, make in [(101, template_101), (102, template_102), (103, template_103), (104, template_104)]:
        data, count, reclen, hdrlen = table(make())
        assert (count, reclen, hdrlen) == EXPECTED[rid], (rid, count, reclen, hdrlen)
        (OUT / f"t{rid}.dbf").write_bytes(data)
