#!/usr/bin/env python3
"""Writes a UTF-8 text as Windows' Notepad reads it in every version: with a
byte-order mark and CR LF line ends.

The source is a UTF-8 file, or with --groff the output of groff formatting a
manual page as plain text (no bold or underline by overstriking).

Usage: make_windows_text.py [--groff GROFF] SOURCE OUTPUT
"""
import subprocess
import sys


def read(argv):
    if len(argv) == 5 and argv[1] == "--groff":
        groff, source = argv[2], argv[3]
        return subprocess.run([groff, "-man", "-Tascii", "-P-c", "-P-b", "-P-u", source], check=True,
                              capture_output=True).stdout.decode("ascii")
    if len(argv) == 3:
        with open(argv[1], encoding="utf-8") as f:
            return f.read()
    sys.exit(__doc__)


def main():
    text = read(sys.argv)
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    with open(sys.argv[-1], "wb") as out:
        out.write(b"\xef\xbb\xbf" + "".join(line.rstrip() + "\r\n" for line in lines).encode("utf-8"))


if __name__ == "__main__":
    main()
