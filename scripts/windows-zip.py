#!/usr/bin/env python3
"""Writes the Windows download of rqfs: rqfs.exe, the README's parts on Windows and on
scripting as README.txt, and the licence as LICENCE.txt, with CR LF line ends for Notepad
and a fixed date on every entry, so that the same inputs give the same zip.

Usage: windows-zip.py OUT.zip RQFS.EXE README.md LICENCE
"""
import re
import sys
import zipfile

# The README's sections a user of rqfs.exe needs, in this order.
SECTIONS = ("Windows", "Scripting")
FIXED_DATE = (2026, 1, 1, 0, 0, 0)


def sections(markdown, titles):
    """The level-two sections of markdown with these titles, each up to the next one."""
    parts = re.split(r"(?m)^(?=## )", markdown)
    found = {part.splitlines()[0][3:].strip(): part for part in parts if part.startswith("## ")}
    missing = [title for title in titles if title not in found]
    if missing:
        raise SystemExit("README.md has no section " + ", ".join(missing))
    return "".join(found[title] for title in titles)


def text_entry(archive, name, text):
    info = zipfile.ZipInfo(name, FIXED_DATE)
    info.compress_type = zipfile.ZIP_DEFLATED
    archive.writestr(info, text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8"))


def main(argv):
    if len(argv) != 5:
        raise SystemExit(__doc__)
    out, exe, readme, licence = argv[1:]
    with open(readme, encoding="utf-8") as source:
        guide = "# rqfs for Windows\n\n" + sections(source.read(), SECTIONS)
    with open(licence, encoding="utf-8") as source:
        terms = source.read()
    with zipfile.ZipFile(out, "w") as archive:
        info = zipfile.ZipInfo("rqfs.exe", FIXED_DATE)
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(exe, "rb") as source:
            archive.writestr(info, source.read())
        text_entry(archive, "README.txt", guide)
        text_entry(archive, "LICENCE.txt", terms)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
