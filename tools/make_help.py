#!/usr/bin/env python3
"""Compiles the help project into a .chm file with chmcmd.

The help sources are UTF-8 and say so, so that they read right in a browser
and an editor; the viewer reads the pages, the contents and the index in code
page 1252. So the project's files are first written in code page 1252 into a
staging folder, each page's declaration changed to match (a character that
the code page lacks, or a page without the declaration, stops the build), and
chmcmd compiles that copy.

Usage: make_help.py CHMCMD PROJECT.hhp STAGING_DIR OUTPUT.chm
"""
import os
import re
import shutil
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
    run = subprocess.run([chmcmd, "--no-html-scan", os.path.basename(project)], cwd=staging,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
    problems = [line for line in run.stdout.splitlines() if line.startswith(("Error", "Warning"))]
    if run.returncode != 0 or problems or not os.path.exists(os.path.join(staging, compiled)):
        sys.stderr.write(run.stdout)
        sys.exit(f"chmcmd failed on {project}")

    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    shutil.copyfile(os.path.join(staging, compiled), output)


if __name__ == "__main__":
    main()
