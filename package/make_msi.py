#!/usr/bin/env python3
"""Builds the MSI package from foldscan.wxs with wixl, byte for byte the same
for the same files.

wixl writes the time of its run and a random package code into the
package's summary information; they are replaced in place by the time of
SOURCE_DATE_EPOCH (the commit's) and a package code derived from the files.
The package is written beside the target and renamed into place.

Usage: make_msi.py --version 2.6.0 --stage DIR --icon FILE.ico --wxs foldscan.wxs MSI
"""
import argparse
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import uuid

# Stays the same for every version: Windows Installer replaces an installed
# package of this upgrade code by a newer one.
UPGRADE_CODE = uuid.UUID("FC644C3C-CF0B-498D-AF17-9787EA362485")
STAGED = ["foldscan.dll", "foldscan.chm", "foldscan-report.exe", "LIESMICH.txt", "LIZENZ.txt",
          "foldscan-report.txt"]

PID_TEMPLATE, PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 7, 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
FILETIME_EPOCH = 116444736000000000  # 1601 to 1970 in 100 ns
ENDOFCHAIN = 0xFFFFFFFE


def codes(version, stage):
    """The product code (one per version) and the package code (one per content)."""
    files = hashlib.sha256()
    for name in STAGED:
        with open(os.path.join(stage, name), "rb") as f:
            files.update(name.encode() + b"\0" + hashlib.sha256(f.read()).digest())
    product = uuid.uuid5(UPGRADE_CODE, "product " + version)
    package = uuid.uuid5(UPGRADE_CODE, "package " + version + " " + files.hexdigest())
    return str(product).upper(), str(package).upper()


class CompoundFile:
    """Just enough of the compound file format to find a stream's bytes in the file."""

    def __init__(self, data):
        self.data = data
        self.shift = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
        fat_count, self.directory = struct.unpack_from("<II", data, 0x2C)
        self.cutoff, minifat_start = struct.unpack_from("<II", data, 0x38)
        difat_start, difat_count = struct.unpack_from("<II", data, 0x44)
        fat_sectors = list(struct.unpack_from("<109I", data, 0x4C))
        while difat_count:  # more FAT sectors than the header lists
            per = self.shift // 4
            more = struct.unpack_from(f"<{per}I", data, self.offset(difat_start))
            fat_sectors += more[:-1]
            difat_start, difat_count = more[-1], difat_count - 1
        self.fat = []
        for sector in fat_sectors[:fat_count]:
            self.fat += struct.unpack_from(f"<{self.shift // 4}I", data, self.offset(sector))
        minifat = b"".join(self.sector(s) for s in self.chain(minifat_start))
        self.minifat = struct.unpack(f"<{len(minifat) // 4}I", minifat)
        self.ministream = self.chain(self.entry(0)[1])

    def offset(self, sector):
        return (sector + 1) * self.shift

    def sector(self, sector):
        return self.data[self.offset(sector):self.offset(sector) + self.shift]

    def chain(self, start, table=None):
        table = self.fat if table is None else table
        found = []
        while start != ENDOFCHAIN:
            found.append(start)
            start = table[start]
        return found

    def entry(self, index):
        """(name, start, size) of a directory entry."""
        sectors = self.chain(self.directory)
        per = self.shift // 128
        at = self.offset(sectors[index // per]) + 128 * (index % per)
        length = struct.unpack_from("<H", self.data, at + 0x40)[0]
        name = self.data[at:at + max(length - 2, 0)].decode("utf-16-le")
        start, size = struct.unpack_from("<IQ", self.data, at + 0x74)
        return name, start, size

    def stream_offsets(self, name):
        """The file offset of every byte of the stream NAME."""
        index = 0
        while True:
            found, start, size = self.entry(index)
            if found == name:
                break
            index += 1
        offsets = []
        if size < self.cutoff:
            for mini in self.chain(start, self.minifat):
                byte = mini * self.mini
                base = self.offset(self.ministream[byte // self.shift]) + byte % self.shift
                offsets += range(base, base + self.mini)
        else:
            for sector in self.chain(start):
                offsets += range(self.offset(sector), self.offset(sector) + self.shift)
        return offsets[:size]


def set_summary(data, package_code, stamp):
    """Writes the package code and the times into the summary information of the MSI in DATA."""
    document = CompoundFile(bytes(data))
    where = document.stream_offsets("\x05SummaryInformation")
    stream = bytearray(data[i] for i in where)
    section = struct.unpack_from("<I", stream, 44)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    filetime = struct.pack("<Q", FILETIME_EPOCH + stamp * 10000000)
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        at += section
        kind = struct.unpack_from("<I", stream, at)[0]
        if pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM) and kind == VT_FILETIME:
            stream[at + 4:at + 12] = filetime
        elif pid == PID_REVNUMBER and kind == VT_LPSTR:
            value = ("{" + package_code + "}").encode("ascii")
            length = struct.unpack_from("<I", stream, at + 4)[0]
            if length < len(value) + 1:
                raise ValueError("no room for the package code")
            stream[at + 8:at + 8 + length] = value + bytes(length - len(value))
        elif pid == PID_TEMPLATE and kind == VT_LPSTR:
            # wixl writes its own language; the package's is German.
            length = struct.unpack_from("<I", stream, at + 4)[0]
            old = bytes(stream[at + 8:at + 8 + length])
            new = old.replace(b";1033", b";1031")
            stream[at + 8:at + 8 + length] = new
    for offset, byte in zip(where, stream):
        data[offset] = byte


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("--version", required=True)
    parser.add_argument("--stage", required=True)
    parser.add_argument("--icon", required=True)
    parser.add_argument("--wxs", required=True)
    parser.add_argument("--wixl", default="wixl")
    parser.add_argument("msi")
    options = parser.parse_args()
    product, package = codes(options.version, options.stage)
    stamp = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
    partial = options.msi + ".part"
    # The cabinet keeps each file's time: copies with the commit's time go in.
    with tempfile.TemporaryDirectory(dir=os.path.dirname(os.path.abspath(options.msi))) as files:
        for name in STAGED:
            shutil.copyfile(os.path.join(options.stage, name), os.path.join(files, name))
            os.utime(os.path.join(files, name), (stamp, stamp))
        # wixl finds the files relative to the folder of the .wxs.
        here = os.path.dirname(os.path.abspath(options.wxs))
        subprocess.run([options.wixl, "--arch", "x86", "-o", partial,
                        "-D", f"Version={options.version}", "-D", f"ProductCode={product}",
                        "-D", f"UpgradeCode={str(UPGRADE_CODE).upper()}",
                        "-D", f"Stage={os.path.relpath(files, here)}",
                        "-D", f"Icon={os.path.relpath(os.path.abspath(options.icon), here)}",
                        options.wxs], check=True, env=dict(os.environ, TZ="UTC"))
    with open(partial, "rb") as f:
        data = bytearray(f.read())
    set_summary(data, package, stamp)
    with open(partial, "wb") as f:
        f.write(data)
    os.replace(partial, options.msi)


if __name__ == "__main__":
    sys.exit(main())
