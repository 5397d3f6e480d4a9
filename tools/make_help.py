#!/usr/bin/env python3
"""Compiles the help project into a .chm file with chmcmd.

The help sources are UTF-8 and say so, so that they read right in a browser
and an editor; the viewer reads the pages, the contents and the index in code
page 1252. So the project's files are first written in code page 1252 into a
staging folder, each page's declaration changed to match (a character that
the code page lacks, or a page without the declaration, stops the build), and
chmcmd compiles that copy.

Two compilations of the same pages give the same file: chmcmd writes the
time of its run into the file's header and its #SYSTEM file, which are set to
0 here, and a few bytes of memory that depend on where the system placed the
program, which run with address randomisation off (where setarch allows it)
come out the same each time.

Usage: make_help.py CHMCMD PROJECT.hhp STAGING_DIR OUTPUT.chm
"""
import os
import platform
import re
import shutil
import struct
import subprocess
import sys

TEXT_SUFFIXES = {".hhp", ".hhc", ".hhk", ".htm", ".html", ".css"}
DECLARING_SUFFIXES = {".hhc", ".hhk", ".htm", ".html"}
SOURCE_CHARSET = re.compile(r"charset=utf-8\b", re.IGNORECASE)


def project_files(project):
    """The project file, its contents and index files and its [FILES] list."""
    files = [os.path.basename(project)]
    section = None
    compiled = None
    with open(project, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].upper()
                continue
            if section == "OPTIONS" and "=" in line:
                key, value = (part.strip() for part in line.split("=", 1))
                if key in ("Contents file", "Index file"):
                    files.append(value)
                elif key == "Compiled file":
                    compiled = value
            elif section == "FILES":
                files.append(line)
    if not compiled:
        sys.exit(f"{project}: no 'Compiled file' in [OPTIONS]")
    return files, compiled


def stage(source_dir, name, staging):
    source = os.path.join(source_dir, name)
    target = os.path.join(staging, name)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    if os.path.splitext(name)[1].lower() not in TEXT_SUFFIXES:
        shutil.copyfile(source, target)
        return
    with open(source, encoding="utf-8") as f:
        text = f.read()
    if os.path.splitext(name)[1].lower() in DECLARING_SUFFIXES:
        text, declared = SOURCE_CHARSET.subn("charset=windows-1252", text, count=1)
        if not declared:
            sys.exit(f"{source}: declares no charset=utf-8")
    lines = text.split("\n")
    out = []
    for number, line in enumerate(lines, 1):
        try:
            out.append(line.encode("cp1252"))
        except UnicodeEncodeError as e:
            sys.exit(f"{source}:{number}: {line[e.start:e.end]!r} has no place in code page 1252")
    with open(target, "wb") as f:
        f.write(b"\r\n".join(out))


def encint(data, at):
    """A CHM directory's variable-length number: 7 bits a byte, high bit set while more follow."""
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def directory_entry(chm, wanted):
    """The file offset and length of a file stored uncompressed in the CHM, from its directory's listing chunks."""
    directory = struct.unpack_from("<Q", chm, 0x48)[0]
    content = struct.unpack_from("<Q", chm, 0x58)[0]
    header_length = struct.unpack_from("<I", chm, directory + 0x08)[0]
    chunk_size = struct.unpack_from("<I", chm, directory + 0x10)[0]
    chunk = directory + header_length
    while chunk + chunk_size <= len(chm) and chm[chunk:chunk + 4] in (b"PMGL", b"PMGI"):
        if chm[chunk:chunk + 4] == b"PMGL":
            free = struct.unpack_from("<I", chm, chunk + 4)[0]
            at, end = chunk + 20, chunk + chunk_size - free
            while at < end:
                length, at = encint(chm, at)
                name = bytes(chm[at:at + length])
                at += length
                section, at = encint(chm, at)
                offset, at = encint(chm, at)
                size, at = encint(chm, at)
                if name == wanted and section == 0:
                    return content + offset, size
        chunk += chunk_size
    sys.exit(f"no {wanted.decode()} in the compiled help file")


def clear_times(chm):
    """Sets the compile times in the header and in #SYSTEM's entry 10 to 0."""
    chm[0x10:0x14] = bytes(4)
    at, size = directory_entry(chm, b"/#SYSTEM")
    at, end = at + 4, at + size  # after the version
    while at + 4 <= end:
        code, length = struct.unpack_from("<HH", chm, at)
        if code == 10:
            chm[at + 4:at + 4 + length] = bytes(length)
        at += 4 + length


def compiler_command(chmcmd, project):
    command = [chmcmd, "--no-html-scan", project]
    steady = ["setarch", platform.machine(), "-R"]
    if shutil.which("setarch") and subprocess.run(steady + ["true"], capture_output=True).returncode == 0:
        return steady + command
    return command


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    chmcmd, project, staging, output = sys.argv[1:]
    source_dir = os.path.dirname(os.path.abspath(project))
    files, compiled = project_files(project)

    shutil.rmtree(staging, ignore_errors=True)
    os.makedirs(staging)
    for name in files:
        stage(source_dir, name, staging)

    # Every file is listed in the project, so the compiler need not scan the
    # pages; its scan also reports anchors in sub-folders as missing.
    run = subprocess.run(compiler_command(chmcmd, os.path.basename(project)), cwd=staging,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
    problems = [line for line in run.stdout.splitlines() if line.startswith(("Error", "Warning"))]
    if run.returncode != 0 or problems or not os.path.exists(os.path.join(staging, compiled)):
        sys.stderr.write(run.stdout)
        sys.exit(f"chmcmd failed on {project}")

    with open(os.path.join(staging, compiled), "rb") as f:
        chm = bytearray(f.read())
    clear_times(chm)
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "wb") as f:
        f.write(chm)


if __name__ == "__main__":
    main()
