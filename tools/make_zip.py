#!/usr/bin/env python3
"""Writes a ZIP archive whose bytes depend only on the files it holds.

Two builds of one commit must give the same archive, so nothing of the
moment or the machine goes in: every entry has the time of SOURCE_DATE_EPOCH
(the commit's time; else the time of the last commit of the source tree),
the entries come in the order given, each under its own name without a
folder, with fixed attributes and compression level. The archive is written
beside the target and renamed into place, so that a failed run leaves no
half archive under the package's name.

Usage: make_zip.py ARCHIVE FILE...
"""
import os
import subprocess
import sys
import time
import zipfile

# DOS times cannot go before 1980.
EARLIEST = 315532800


def epoch():
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if value is None:
        here = os.path.dirname(os.path.abspath(__file__))
        value = subprocess.run(["git", "-C", here, "log", "-1", "--format=%ct"], check=True,
                               capture_output=True, text=True).stdout.strip()
    return max(int(value), EARLIEST)


def entry(name, stamp):
    info = zipfile.ZipInfo(name, date_time=time.gmtime(stamp)[:6])
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 0  # MS-DOS: the attributes below are Windows ones
    info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as Windows' own archives have it
    return info


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    archive, files = sys.argv[1], sys.argv[2:]
    names = [os.path.basename(f) for f in files]
    if len(set(n.lower() for n in names)) != len(names):
        sys.exit("make_zip.py: two files of one name")
    stamp = epoch()
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w", compresslevel=9) as out:
        for path, name in zip(files, names):
            with open(path, "rb") as f:
                out.writestr(entry(name, stamp), f.read())
    os.replace(partial, archive)


if __name__ == "__main__":
    main()
