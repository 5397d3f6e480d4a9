#!/usr/bin/env python3
"""Checks the release's archives and installer as a Windows user gets them.

check_package.py SOURCE_DIR DIST_DIR VERSION  runs the checks of the package
ZIP, the debugging ZIP and the installer.
check_package.py --file-version FILE VERSION  checks one program's version
resource (the install test uses it on the installed uninstaller).
"""
import binascii
import io
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

PACKAGE = ["foldscan.dll", "foldscan.chm", "foldscan-report.exe", "LIESMICH.txt", "LIZENZ.txt",
           "foldscan-report.txt"]
PROGRAMS = ["foldscan.dll", "foldscan-report.exe"]
TEXTS = ["LIESMICH.txt", "LIZENZ.txt", "foldscan-report.txt"]
BOM = b"\xef\xbb\xbf"
OBJDUMP = "i686-w64-mingw32-objdump"


def sections(image):
    """The PE file's header time, number of symbols and {name: raw bytes} of its sections."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    count, stamp, symbols, symbol_count, optional = struct.unpack_from("<2xHIIIH", image, pe + 4)
    table = pe + 24 + optional
    strings = symbols + 18 * symbol_count
    found = {}
    for i in range(count):
        raw = table + 40 * i
        name = image[raw:raw + 8].rstrip(b"\0").decode("ascii")
        if name.startswith("/"):  # a long name, in the string table
            start = strings + int(name[1:])
            name = image[start:image.index(b"\0", start)].decode("ascii")
        # The raw data is padded to the file's alignment; the virtual size is the data's own.
        virtual, _, size, offset = struct.unpack_from("<IIII", image, raw + 8)
        found[name] = image[offset:offset + min(size, virtual or size)]
    return stamp, symbol_count, found


def resource_types(image):
    """The type numbers at the top of the resource directory: 3 icon, 14 icon group, 16 version, 24 manifest."""
    rsrc = sections(image)[2].get(".rsrc", b"")
    if len(rsrc) < 16:
        return set()
    named, numbered = struct.unpack_from("<HH", rsrc, 12)
    return {struct.unpack_from("<I", rsrc, 16 + 8 * i)[0] for i in range(named, named + numbered)}


def certificate_table(image):
    """The size of the PE file's certificate table: 0 unless it is signed."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", image, optional)[0] == 0x10B else 112)
    return struct.unpack_from("<I", image, directories + 8 * 4 + 4)[0]


def file_version(image):
    """The fixed file version of a version resource as "a.b.c.d", or None."""
    at = image.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", image, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def version_string(image, name):
    """A string of the version resource's string table (UTF-16), or None."""
    key = (name + "\0").encode("utf-16-le")
    at = image.find(key)
    if at < 0:
        return None
    at += len(key)
    at += at % 4  # the value starts on a 32-bit boundary
    end = at
    while image[end:end + 2] != b"\0\0":
        end += 2
    return image[at:end].decode("utf-16-le")


class Package(unittest.TestCase):
    source = dist = version = None

    @classmethod
    def setUpClass(cls):
        release = f"foldscan-{cls.version}"
        with open(os.path.join(cls.dist, f"{release}-win32.zip"), "rb") as f:
            cls.package_bytes = f.read()
        cls.package = zipfile.ZipFile(io.BytesIO(cls.package_bytes))
        cls.symbols = zipfile.ZipFile(os.path.join(cls.dist, f"{release}-win32-debug.zip"))
        with open(os.path.join(cls.dist, f"{release}-setup.exe"), "rb") as f:
            cls.installer = f.read()
        with open(os.path.join(cls.dist, f"{release}-win32.msi"), "rb") as f:
            cls.msi = f.read()

    def test_the_archives_hold_their_files_in_order_with_the_commits_time(self):
        self.assertEqual(self.package.namelist(), PACKAGE)
        self.assertEqual(self.symbols.namelist(), [name + ".debug" for name in PROGRAMS])
        stamp = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
        for archive in (self.package, self.symbols):
            times = {info.date_time for info in archive.infolist()}
            self.assertEqual(len(times), 1, "one time for all entries")
            if stamp:  # to two seconds, as ZIP keeps it
                expected = time.gmtime(max(stamp, 315532800) // 2 * 2)[:6]
                self.assertEqual(times.pop(), expected)
            self.assertIsNone(archive.testzip())

    def test_the_texts_read_in_notepad(self):
        for name in TEXTS:
            data = self.package.read(name)
            self.assertTrue(data.startswith(BOM), name)
            text = data[len(BOM):].decode("utf-8")
            self.assertTrue(text.endswith("\r\n"), name)
            self.assertNotIn("\n", text.replace("\r\n", ""), f"{name}: a line end without CR")
            self.assertNotIn("\b", text, f"{name}: overstruck characters")
            self.assertNotIn("@PROJECT_", text, f"{name}: a placeholder left")

    def test_readme_and_manual_page_name_this_version(self):
        readme = self.package.read("LIESMICH.txt").decode("utf-8-sig")
        self.assertIn(f"foldscan {self.version} ", readme)
        for switch in ["/S", "/D=", "/ALLUSERS", "/CURRENTUSER", "/PATH"]:
            self.assertIn(f"  {switch} ", readme, "the installer's silent switches, each explained")
        for command in ["msiexec /i", "msiexec /x", "foldscan-deinstallieren.exe\" /S", "Exit-Code 2"]:
            self.assertIn(command, readme)
        manual = self.package.read("foldscan-report.txt").decode("utf-8-sig")
        self.assertIn(f"foldscan {self.version}", manual)
        self.assertIn("--format", manual)

    def test_the_licence_carries_the_dlls_notice_and_every_third_partys(self):
        licence = self.package.read("LIZENZ.txt").decode("utf-8-sig")
        notice = version_string(self.package.read("foldscan.dll"), "LegalCopyright")
        self.assertIn(notice, licence.splitlines())
        for part in ["GCC RUNTIME LIBRARY EXCEPTION", "the mingw-w64 project", "winpthreads", "Lockless Inc.",
                     "University of Cincinnati", "Niels Lohmann", "public domain by the sqlite3"]:
            self.assertIn(part, licence)

    def test_the_programs_are_stripped_and_linked_to_their_debugging_files(self):
        for name in PROGRAMS:
            image = self.package.read(name)
            stamp, symbols, found = sections(image)
            self.assertEqual(stamp, 0, f"{name}: a time in the PE header")
            self.assertEqual(symbols, 0, f"{name}: symbols")
            self.assertFalse([s for s in found if s.startswith(".debug")], name)
            debug = self.symbols.read(name + ".debug")
            link = found[".gnu_debuglink"]
            linked = link[:link.index(b"\0")].decode("ascii")
            self.assertEqual(linked, name + ".debug")
            crc = struct.unpack_from("<I", link, len(link) - 4)[0]
            self.assertEqual(crc, binascii.crc32(debug), f"{name}: the debug link's checksum")
            _, debug_symbols, debug_sections = sections(debug)
            self.assertIn(".debug_info", debug_sections)
            self.assertNotEqual(debug_symbols, 0, f"{name}.debug: no symbol table")

    def test_no_build_folder_or_time_of_the_build_is_in_the_files(self):
        source = os.path.realpath(self.source).encode()
        for archive, names in ((self.package, PROGRAMS), (self.symbols, self.symbols.namelist())):
            for name in names:
                self.assertNotIn(source, archive.read(name), name)
        self.assertIn(b"/usr/src/foldscan/", self.symbols.read("foldscan.dll.debug"))
        chm = self.package.read("foldscan.chm")
        self.assertEqual(chm[:4], b"ITSF")
        self.assertEqual(chm[0x10:0x14], bytes(4), "the help compiler's time")

    def test_the_dll_exports_its_entry_point_and_imports_only_windows(self):
        with tempfile.TemporaryDirectory() as folder:
            self.package.extract("foldscan.dll", folder)
            dump = subprocess.run([OBJDUMP, "-p", os.path.join(folder, "foldscan.dll")], check=True,
                                  capture_output=True, text=True).stdout
        self.assertRegex(dump, r"\]\s+FORMINIT\n")
        imports = set(re.findall(r"DLL Name: (\S+)", dump))
        self.assertFalse({i for i in imports if re.match(r"(?i)lib|mingw", i)}, imports)

    def test_the_programs_and_the_installer_carry_this_version(self):
        four = self.version + ".0"
        for name in PROGRAMS:
            image = self.package.read(name)
            self.assertEqual(file_version(image), four, name)
            self.assertEqual(version_string(image, "FileVersion"), four, name)
            self.assertEqual(version_string(image, "ProductVersion"), self.version, name)
        self.assertEqual(version_string(self.package.read("foldscan-report.exe"), "OriginalFilename"),
                         "foldscan-report.exe")
        self.assertEqual(file_version(self.installer), four)
        self.assertEqual(version_string(self.installer, "ProductVersion"), self.version)

    def test_the_report_program_has_its_icon_and_a_manifest_without_elevation(self):
        report = self.package.read("foldscan-report.exe")
        self.assertLessEqual({3, 14, 16, 24}, resource_types(report))
        self.assertRegex(report, rb'requestedExecutionLevel level="asInvoker"')

    def test_an_unsigned_release_carries_no_signature(self):
        for name in PROGRAMS:
            self.assertEqual(certificate_table(self.package.read(name)), 0, name)
        self.assertEqual(certificate_table(self.installer), 0)
        self.assertEqual(self.msi[:8], bytes.fromhex("D0CF11E0A1B11AE1"), "no compound file")
        self.assertNotIn("\x05DigitalSignature".encode("utf-16-le"), self.msi)


def check_file_version(path, version):
    with open(path, "rb") as f:
        image = f.read()
    found = (file_version(image), version_string(image, "ProductVersion"))
    if found != (version + ".0", version):
        sys.exit(f"{path}: version {found}, not {version}")


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--file-version":
        check_file_version(sys.argv[2], sys.argv[3])
        return
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    Package.source, Package.dist, Package.version = sys.argv[1:]
    unittest.main(argv=[sys.argv[0], "-v"])


if __name__ == "__main__":
    main()
