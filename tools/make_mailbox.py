#!/usr/bin/env python3
"""Generates a sample mailbox for the demo and for manual testing.

make_mailbox.py DIR [--folders N] [--mailboxes M]

Without --folders it writes a small German mailbox: folder files of both kinds
(".PMM", and ".MBX" with a ".PMG" beside it), new-mail files, a folder tree in
"hierarch.pm", and a few damaged folders. With --folders N it writes N plain
".PMM" folders with a matching flat tree instead (for load tests).
With --mailboxes M as well it writes an organisation's file server: M
mailboxes in DIR/OFFICE/first.last, each of 5 to N folders (a log-normal
count, the same every time) of sizes from a few kilobytes to hundreds of
megabytes, and their paths in DIR/mailboxes.txt, one a line.
Large folders are sparse files, so they take no disk space.

DIR may be new, empty, or a directory this script made before (it leaves a
mark in each, and then empties and refills it). Anything else, a non-empty
directory without the mark such as a real mailbox, a file, or a place it
cannot write to, is refused with exit code 2 and left as it was.
"""
import argparse
import os
import random
import shutil
import sys

ENCODING = "cp1252"


def header(size, name, name_limit, key, key_offset, key_limit):
    """A fixed-size header: the name at offset 0, the key at key_offset."""
    head = bytearray(size)
    raw_name = name.encode(ENCODING)[:name_limit]
    raw_key = key.encode(ENCODING)[:key_limit]
    head[0:len(raw_name)] = raw_name
    head[key_offset:key_offset + len(raw_key)] = raw_key
    return bytes(head)


def pmm_header(name, key):
    return header(128, name, 63, key, 86, 41)


def pmg_head(name, key):
    return header(90, name, 57, key, 58, 31)


def write(path, head, length):
    with open(path, "wb") as f:
        f.write(head)
        if length > len(head):
            f.truncate(length)


# key, parent key, display name, file name, kind, size in bytes
TREE = [
    ("F0001", "ROOT", "Gesendete Objekte", "Gesendet.PMM", "pmm", 3_456_789),
    ("F0002", "ROOT", "Entwürfe", "Entwurf.PMM", "pmm", 48_128),
    ("F0003", "ROOT", "Papierkorb", "Papier.PMM", "pmm", 912_384),
    ("F0010", "ROOT", "Archiv", "Archiv.MBX", "mbx", 1_024),
    ("F0011", "F0010", "2024", "Arch2024.MBX", "mbx", 1_288_490_188),
    ("F0012", "F0010", "2025", "Arch2025.MBX", "mbx", 3_758_096_384),
    ("F0013", "F0010", "Rechnungen", "Rechnung.PMM", "pmm", 5_242_880),
    ("F0020", "ROOT", "Projekte", "Projekte.PMM", "pmm", 128),
    ("F0021", "F0020", "Ausschreibung Brücke", "Bruecke.PMM", "pmm", 27_648_000),
    ("F0022", "F0020", "Kundenkorrespondenz", "Kunden.MBX", "mbx", 734_003),
    ("F0023", "F0021", "Statik & Gutachten", "Statik.PMM", "pmm", 65_536),
    ("F0030", "ROOT", "Familie", "Familie.pmm", "pmm", 2_097_152),
    ("F0040", "ROOT", "Vereine", "Vereine.PMM", "pmm", 1_536),
    ("F0041", "F0040", "Sportverein Grün-Weiß", "Sport.PMM", "pmm", 389_120),
    ("F0042", "F0040", "Gesangverein", "Gesang.mbx", "mbx", 77_824),
    ("F0050", "ROOT", "Reisen", "Reisen.PMM", "pmm", 10_240),
    ("F0051", "F0050", "Österreich 2025", "Oesterr.PMM", "pmm", 15_728_640),
    ("F0052", "F0050", "Südfrankreich", "Sued.MBX", "mbx", 8_912_896),
    ("F0060", "ROOT", "Newsletter", "News.PMM", "pmm", 123_456_789),
    ("F0070", "ROOT", "Steuer", "Steuer.PMM", "pmm", 1_048_575),
]


def sample(directory):
    newmail = os.path.join(directory, "newmail")
    os.makedirs(newmail)
    lines = ["2,0,ROOT,,Postfach"]
    for key, parent, name, file_name, kind, size in TREE:
        lines.append('1,%d,%s,%s,"%s"' % (len(lines), key, parent, name.replace('"', '\\"')))
        path = os.path.join(directory, file_name)
        if kind == "pmm":
            write(path, pmm_header(name, key), size)
        else:
            write(path, b"", size)
            companion = os.path.splitext(path)[0] + (".pmg" if file_name.islower() else ".PMG")
            write(companion, pmg_head(name, key), 90)

    # Damaged folders are listed with a status text.
    write(os.path.join(directory, "Defekt.PMM"), b"kurz", 4)
    write(os.path.join(directory, "Verwaist.MBX"), b"", 4_096)
    write(os.path.join(directory, "Fremd.PMM"), pmm_header("Ohne Eintrag", "F9999"), 777)

    with open(os.path.join(directory, "hierarch.pm"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode(ENCODING))

    for i, size in enumerate([2_345, 17_890, 512]):
        write(os.path.join(newmail, "N%05d.CNM" % i), b"From: demo\r\n", size)


def load(directory, count, size=lambda i: 128 + i):
    lines = ["2,0,ROOT,,Postfach"]
    for i in range(count):
        key = "K%06d" % i
        parent = "ROOT" if i < 20 else "K%06d" % (i % 20)
        lines.append("1,%d,%s,%s,Ordner %d" % (i, key, parent, i))
        write(os.path.join(directory, "F%06d.PMM" % i), pmm_header("Ordner %d" % i, key), size(i))
    with open(os.path.join(directory, "hierarch.pm"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode(ENCODING))
    os.makedirs(os.path.join(directory, "newmail"))


OFFICES = ["berlin", "hamburg", "m\u00fcnchen", "wroc\u0142aw", "z\u00fcrich"]
FIRST = ["anna", "bernd", "clara", "dieter", "eva", "gustav", "hanna", "jan", "katarzyna", "lena", "marek",
         "nils", "olga", "paul", "ren\u00e9", "sabine", "tom\u00e1\u0161", "ute", "wiebke", "zofia"]
LAST = ["Albrecht", "Brandt", "D\u0105browski", "Engel", "Fischer", "G\u00f6tz", "Hoffmann", "Jankowski",
        "Kr\u00fcger", "Lehmann", "M\u00fcller", "Nowak", "\u00d6zdemir", "Peters", "Schulz", "Thiele",
        "W\u0105s", "Zimmermann", "Lindqvist-Oberhausen", "Wei\u00df"]


def organisation(directory, mailboxes, most):
    """Mailboxes of log-normal folder counts and sizes, drawn from a fixed
    seed so that every run writes the same server; their paths, in order."""
    rng = random.Random(40)
    paths = []
    for m in range(mailboxes):
        person = "%s.%s" % (FIRST[m % len(FIRST)], LAST[(m // len(FIRST) + 3 * m) % len(LAST)].lower())
        path = os.path.join(os.path.abspath(directory), OFFICES[m % len(OFFICES)], "%s.%d" % (person, m))
        os.makedirs(path)
        count = max(5, min(most, int(rng.lognormvariate(4.6, 1.25))))
        sizes = [max(130, int(rng.lognormvariate(13.5, 2.2))) for _ in range(count)]
        load(path, count, lambda i: sizes[i])
        paths.append(path)
    with open(os.path.join(directory, "mailboxes.txt"), "w", encoding="utf-8") as f:
        f.write("".join(path + "\n" for path in paths))
    return paths


MARK = ".foldscan-sample-mailbox"
MARK_TEXT = b"Made by tools/make_mailbox.py, which empties and refills this directory when asked to.\n"


def nearest_existing(path):
    path = os.path.abspath(path)
    while not os.path.lexists(path):
        path = os.path.dirname(path)
    return path


def refusal(directory):
    """Why directory may not be filled, or None when it may."""
    if os.path.islink(directory):
        return "is a symbolic link; give the directory itself"
    if os.path.lexists(directory) and not os.path.isdir(directory):
        return "exists and is not a directory"
    if os.path.isdir(directory):
        if not os.path.isfile(os.path.join(directory, MARK)) and os.listdir(directory):
            return "is not empty and was not made by this script (it has no %s)" % MARK
        if not os.access(directory, os.W_OK | os.X_OK):
            return "cannot be written to"
        return None
    place = nearest_existing(directory)
    if not os.path.isdir(place):
        return "lies under %s, which is not a directory" % place
    if not os.access(place, os.W_OK | os.X_OK):
        return "cannot be made: %s cannot be written to" % place
    return None


def make_directory(directory):
    """The directory, new or emptied, with the mark as its first file."""
    if os.path.isdir(directory):
        for entry in os.scandir(directory):
            if entry.is_dir(follow_symlinks=False):
                shutil.rmtree(entry.path)
            else:
                os.remove(entry.path)
    else:
        os.makedirs(directory)
    with open(os.path.join(directory, MARK), "wb") as f:
        f.write(MARK_TEXT)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("directory")
    parser.add_argument("--folders", type=int, default=0)
    parser.add_argument("--mailboxes", type=int, default=0)
    args = parser.parse_args()
    reason = refusal(args.directory)
    if reason:
        sys.stderr.write("make_mailbox.py: %s %s; nothing was changed.\n" % (args.directory, reason))
        sys.exit(2)
    try:
        make_directory(args.directory)
        if args.mailboxes:
            organisation(args.directory, args.mailboxes, args.folders or 3000)
        elif args.folders:
            load(args.directory, args.folders)
        else:
            sample(args.directory)
    except OSError as e:
        sys.stderr.write("make_mailbox.py: %s: %s\n" % (args.directory, e))
        sys.exit(2)


if __name__ == "__main__":
    main()
