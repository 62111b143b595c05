#!/usr/bin/env python3
"""Fails when a source file of the project includes a header of a higher layer, or a
private header of another folder, or when a file outside the core's platform files
includes a header of POSIX or Win32: the rest of the code reaches the system through the
core, or through Qt, and so builds for every system the core builds for.

The layers, from the bottom: the core; the numeric IDs and named texts; the Qt-free logic
(and rqfs); the resources; the controls; the dialogs; the shell's windows; the main frame;
the application; the executable. A file may include headers of its own layer and of lower
ones. A header outside every include/ folder is private to its own folder. Includes are
resolved the way the build resolves them: beside the including file first, then in the
include/ folders of the project's libraries. Tests, fuzz targets and benchmarks sit on top
of everything and are not checked.

Usage: check-layers.py [ROOT]   prints every fault and exits 1 if there is one
       check-layers.py --self-test   checks the checker on a small made-up tree
"""
import fnmatch
import os
import re
import sys
import tempfile

# (pattern on the path from the root, rank, name); the first matching pattern wins, so the
# narrower patterns come first.
LAYERS = [
    ("core/*", 0, "core"),
    ("res/names/*", 1, "IDs and named texts"),
    ("app/logic/*", 2, "Qt-free logic"),
    ("dialogs/checks/*", 2, "Qt-free logic"),
    ("controls/*/logic/*", 2, "Qt-free logic"),
    ("cli/*", 2, "rqfs"),
    ("res/*", 3, "resources"),
    ("controls/*", 4, "controls"),
    ("dialogs/*", 5, "dialogs"),
    ("app/main.cpp", 9, "executable"),
    ("app/*ZelvoApp.*", 8, "application"),
    ("app/*MainFrame.*", 7, "main frame"),
    ("app/*", 6, "shell windows"),
]
# The core's files that alone call the system itself.
PLATFORM_FILES = {
    "core/src/DiskFile.cpp", "core/src/FileIo.cpp", "core/src/ImageLock.cpp",
    "core/src/PendingRemoval.cpp", "core/src/ProcessIo.cpp", "core/src/SystemError.cpp",
}
# Headers of POSIX and of Win32 (the C++ library's own, such as <csignal>, are not).
SYSTEM_HEADER = re.compile(
    r"^(unistd|fcntl|pthread|dirent|grp|pwd|poll|termios|spawn|dlfcn|signal|sched|syslog|"
    r"netdb|semaphore|io|share|direct|process|shellapi|shlobj|objbase|tlhelp32|psapi)\.h$"
    r"|^(sys|netinet|arpa)/|^win[a-z0-9_]*\.h$|^(fileapi|handleapi|processenv)\.h$",
    re.IGNORECASE)
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def layer_of(path):
    for pattern, rank, name in LAYERS:
        if fnmatch.fnmatch(path, pattern):
            return rank, name
    return None


def project_files(root):
    for folder, subfolders, files in os.walk(root):
        relative = os.path.relpath(folder, root).replace(os.sep, "/")
        if relative.split("/")[0] in ("build", ".git"):
            subfolders[:] = []
            continue
        for name in files:
            if name.endswith(SOURCE_SUFFIXES):
                yield name if relative == "." else relative + "/" + name


def resolve(root, including, written, quoted, include_folders):
    """The project files an include can name: the one beside the including file, else
    those of the include/ folders; none for a header outside the project."""
    if quoted:
        beside = os.path.normpath(os.path.join(os.path.dirname(including), written))
        if os.path.isfile(os.path.join(root, beside)):
            return [beside.replace(os.sep, "/")]
    return [os.path.normpath(folder + "/" + written).replace(os.sep, "/")
            for folder in include_folders
            if os.path.isfile(os.path.join(root, folder, written))]


def layer_faults(root):
    files = sorted(project_files(root))
    include_folders = sorted({f[: f.index("/include/") + len("/include")]
                              for f in files if "/include/" in f})
    found = []
    for path in files:
        own = layer_of(path)
        if own is None:
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            text = source.read()
        for quote, written in INCLUDE.findall(text):
            if quote == "<" and SYSTEM_HEADER.search(written) and path not in PLATFORM_FILES:
                found.append(f"{path}: includes <{written}>, a header of the system; only "
                             "the core's platform files call the system")
                continue
            targets = resolve(root, path, written, quote == '"', include_folders)
            if len(targets) > 1:
                found.append(f"{path}: {written} names headers of several libraries: "
                             + ", ".join(targets))
                continue
            other = layer_of(targets[0]) if targets else None
            if not other:
                continue
            if other[0] > own[0]:
                found.append(f"{path}: includes {targets[0]} ({other[1]}) from below it "
                             f"({own[1]})")
            elif "/include/" not in targets[0] and \
                    os.path.dirname(targets[0]) != os.path.dirname(path):
                found.append(f"{path}: includes {targets[0]}, a private header of another "
                             "folder")
    return found


def self_test():
    """The checker must refuse an upward include, another folder's private header and a
    system header outside the platform files, and pass downward includes, a folder's own
    private header and system headers in the platform files."""
    tree = {
        "core/include/rq540/Card.h": "",
        "core/src/FileIo.cpp": "#include <unistd.h>\n#include <windows.h>\n#include <cstdio>\n",
        "app/include/ZelvoDoc.h": '#include "Prompter.h"\n',
        "app/ZelvoDoc.cpp": '#include "ZelvoDoc.h"\n',
        "dialogs/include/Prompter.h": '#include "rq540/Card.h"\n',
        "dialogs/MessageBoxPrompter.h": '#include "Prompter.h"\n',
        "dialogs/NewFolderDialog.cpp": '#include "MessageBoxPrompter.h"\n#include <QString>\n',
    }
    with tempfile.TemporaryDirectory() as root:
        for path, text in tree.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as out:
                out.write(text)
        clean = layer_faults(root)
        with open(os.path.join(root, "dialogs/NewFolderDialog.cpp"), "a", encoding="utf-8") as out:
            out.write('#include "ZelvoDoc.h"\n')
        with open(os.path.join(root, "core/include/rq540/Card.h"), "a", encoding="utf-8") as out:
            out.write('#include "../../../dialogs/include/Prompter.h"\n')
        with open(os.path.join(root, "app/ZelvoDoc.cpp"), "a", encoding="utf-8") as out:
            out.write('#include "../dialogs/MessageBoxPrompter.h"\n#include <sys/stat.h>\n')
        broken = layer_faults(root)
    if clean or len(broken) != 4:
        print("self-test failed:", clean, broken)
        return 1
    print("self-test passed: downward includes pass; upward ones, other folders' private "
          "headers and system headers outside the platform files are refused")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    root = argv[1] if len(argv) > 1 else "."
    found = layer_faults(root)
    for line in found:
        print(line)
    print(f"faults: {len(found)}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
