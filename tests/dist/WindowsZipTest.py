#!/usr/bin/env python3
"""Checks the Windows download: the zip holds rqfs.exe, README.txt and LICENCE.txt and
nothing else; rqfs.exe imports only Windows' own DLLs, carries a version resource with the
project's version and name and an icon; the texts have CR LF line ends; and the rqfs.exe
unpacked from the zip answers --version under Wine.

Usage: WindowsZipTest.py ZIP VERSION OBJDUMP [WINE_RUN]   (no WINE_RUN on Windows itself)
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "shell32.dll", "user32.dll", "advapi32.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16


def resource_types(exe):
    """The type IDs of the resource directory of a PE file."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", exe, pe + 6)
    optional = pe + 24
    rva, _ = struct.unpack_from("<II", exe, optional + 112 + 2 * 8)  # the resource table
    for index in range(sections):
        header = optional + optional_size + 40 * index
        virtual_size, address, _, raw = struct.unpack_from("<IIII", exe, header + 8)
        if address <= rva < address + virtual_size:
            root = raw + rva - address
            named, numbered = struct.unpack_from("<HH", exe, root + 12)
            entries = [struct.unpack_from("<I", exe, root + 16 + 8 * i)[0]
                       for i in range(named + numbered)]
            return {entry for entry in entries if not entry & 0x80000000}
    return set()


def fail(message):
    print("FAIL:", message)
    return 1


def main(argv):
    zip_path, version, objdump = argv[1:4]
    runner = argv[4:5]
    with zipfile.ZipFile(zip_path) as archive:
        names = sorted(archive.namelist())
        if names != ["LICENCE.txt", "README.txt", "rqfs.exe"]:
            return fail(f"the zip holds {names}")
        readme = archive.read("README.txt").decode("utf-8")
        exe = archive.read("rqfs.exe")
        with tempfile.TemporaryDirectory() as folder:
            archive.extract("rqfs.exe", folder)
            unpacked = os.path.join(folder, "rqfs.exe")
            imports = subprocess.run([objdump, "-p", unpacked], check=True, capture_output=True,
                                     text=True).stdout
            answer = subprocess.run(runner + [unpacked, "--version"], capture_output=True,
                                    text=True)
    if "## Windows" not in readme or "## Scripting" not in readme or "\n" in readme.replace("\r\n", ""):
        return fail("README.txt lacks a section or has line ends other than CR LF")
    dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", imports)}
    if not dlls or not dlls <= SYSTEM_DLLS:
        return fail(f"rqfs.exe imports {sorted(dlls)}")
    if not {RT_ICON, RT_GROUP_ICON, RT_VERSION} <= resource_types(exe):
        return fail(f"rqfs.exe has the resource types {sorted(resource_types(exe))}")
    # Each key and value of the version resource ends in a NUL and starts on four bytes.
    for key, value in (("ProductName", "RQVfs Editor"), ("ProductVersion", version)):
        pattern = re.escape(key.encode("utf-16-le")) + b"(\0\0)+" + re.escape(value.encode("utf-16-le"))
        if not re.search(pattern, exe):
            return fail(f"the version resource lacks {key} {value}")
    if answer.returncode != 0 or answer.stdout.strip() != f"rqfs {version}":
        return fail(f"rqfs.exe --version answered {answer.returncode}: {answer.stdout!r}")
    print(f"the zip holds rqfs.exe ({len(exe)} bytes, imports {', '.join(sorted(dlls))}), "
          "README.txt and LICENCE.txt; rqfs.exe --version:", answer.stdout.strip())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
