#!/usr/bin/env python3
"""Checks the compiled help file against the code that opens it.

Every help topic the code can ask for ("::/page#anchor" texts in the sources,
and the start page) must be in the file with its anchor; the file must have
a table of contents; every link of the pages, the contents and the index
must lead to a page and an anchor in the file; every page must be found from
the contents, the index and the start page; and the pages must be stored in
code page 1252, which they declare.

Usage: check_chm.py CHMLS HELP.chm SOURCE_DIR WORK_DIR
"""
import os
import re
import subprocess
import sys

# The topics the application, the panel and the settings dialog ask for; the
# sources are searched as well, so that a topic added there is checked too.
REQUIRED_TOPICS = [
    "::/pages/ref_dlg_main.htm",
    "::/pages/ref_dlg_einst.htm",
    "::/pages/ref_mld_fehlerm.htm#e000",
    "::/pages/ref_mld_fehlerm.htm#e002",
    "::/pages/ref_mld_fehlerm.htm#e003",
    "::/pages/ref_mld_fehlerm.htm#e004",
    "::/pages/ref_mld_fehlerm.htm#e005",
    "::/pages/ref_mld_warnungen.htm#w501",
    "::/pages/ref_mld_warnungen.htm#w502",
]
SOURCE_FOLDERS = ["app", "panel", "settings", "ui"]
TOPIC_IN_SOURCE = re.compile(r'"(::/[\w./-]+\.html?(?:#\w+)?)"')
LINK = re.compile(rb'(?:href|src)\s*=\s*"([^"]*)"', re.IGNORECASE)
LOCAL = re.compile(rb'<param\s+name="Local"\s+value="([^"]*)"', re.IGNORECASE)
ANCHOR = re.compile(rb'<a\s[^>]*name\s*=\s*"([^"]+)"|\sid\s*=\s*"([^"]+)"', re.IGNORECASE)

failures = []


def fail(message):
    failures.append(message)


class Chm:
    def __init__(self, chmls, path, work):
        self.chmls, self.path, self.work = chmls, path, work
        listing = self.run("-n", "list", path)
        self.names = {line.strip() for line in listing.splitlines() if line.startswith("/")}
        self.pages = {}

    def run(self, *args):
        done = subprocess.run([self.chmls, "-p", *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              text=True, errors="replace")
        if done.returncode != 0:
            sys.exit(f"chmls {' '.join(args)} failed")
        return done.stdout

    def read(self, name):
        if name not in self.pages:
            target = os.path.join(self.work, "extracted" + name.replace("/", os.sep))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            self.run("extract", self.path, name, target)
            with open(target, "rb") as f:
                self.pages[name] = f.read()
        return self.pages[name]

    def system_entry(self, label):
        for line in self.run("printsystem", self.path).splitlines():
            if label in line and ":" in line:
                return line.rsplit(":", 1)[1].strip(" \0")
        return ""


def anchors(page):
    return {(m.group(1) or m.group(2)).decode("cp1252") for m in ANCHOR.finditer(page)}


def check_target(chm, name, anchor, where):
    """name is an absolute path in the file."""
    if name not in chm.names:
        fail(f"{where}: {name} is not in the help file")
    elif anchor and anchor not in anchors(chm.read(name)):
        fail(f"{where}: {name} has no anchor {anchor}")


def check_topic(chm, topic, where):
    path, _, anchor = topic[2:].partition("#")
    check_target(chm, path, anchor, where)


def resolve(base, link):
    """A link of the page base as an absolute path and anchor; None for other schemes."""
    if re.match(r"^[a-z][a-z0-9+.-]*:", link, re.IGNORECASE):
        return None
    path, _, anchor = link.partition("#")
    if not path:
        return base, anchor
    parts = base.split("/")[:-1]
    for part in path.split("/"):
        if part == "..":
            parts = parts[:-1]
        elif part and part != ".":
            parts.append(part)
    return "/".join(parts) if parts[:1] == [""] else "/" + "/".join(parts), anchor


def topics_in_sources(source_dir):
    found = {}
    for folder in SOURCE_FOLDERS:
        root = os.path.join(source_dir, folder)
        for directory, _, files in os.walk(root):
            for file in files:
                if not file.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(directory, file)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for topic in TOPIC_IN_SOURCE.findall(f.read()):
                        found.setdefault(topic, os.path.relpath(path, source_dir))
    return found


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    chmls, path, source_dir, work = sys.argv[1:]
    chm = Chm(chmls, path, work)

    # The topics, and the start page that help without a topic opens.
    sources = topics_in_sources(source_dir)
    for topic in REQUIRED_TOPICS:
        sources.setdefault(topic, "the list of required topics")
    for topic, where in sorted(sources.items()):
        check_topic(chm, topic, where)
    start = chm.system_entry("Default topic")
    if not start:
        fail("the help file names no start page")
    else:
        check_target(chm, "/" + start, "", "start page")

    # The table of contents and the index.
    pages = sorted(n for n in chm.names if n.endswith(".htm"))
    for label, kind in (("Contents file", "table of contents"), ("Index file", "index")):
        name = chm.system_entry(label)
        if not name or "/" + name not in chm.names:
            fail(f"the help file has no {kind}")
            continue
        entries = LOCAL.findall(chm.read("/" + name))
        if not entries:
            fail(f"the {kind} is empty")
        reached = set()
        for local in entries:
            target = resolve("/" + name, local.decode("cp1252"))
            if target:
                check_target(chm, target[0], target[1], f"{kind} entry {local.decode('cp1252')}")
                reached.add(target[0])
        for page in pages:
            if page not in reached:
                fail(f"{page} is not in the {kind}")
    if start and "/" + start in chm.names:
        linked = {target[0] for link in LINK.findall(chm.read("/" + start))
                  if (target := resolve("/" + start, link.decode("cp1252")))}
        for page in pages:
            if page != "/" + start and page not in linked:
                fail(f"the start page does not link to {page}")

    # Links inside the pages, and their code page.
    for name in pages:
        page = chm.read(name)
        for link in LINK.findall(page):
            target = resolve(name, link.decode("cp1252"))
            if target:
                check_target(chm, target[0], target[1], f"{name} link {link.decode('cp1252')}")
        if b"charset=windows-1252" not in page:
            fail(f"{name} does not declare code page 1252")
        if any(byte >= 0x80 for byte in page):
            try:
                page.decode("utf-8")
                fail(f"{name} is stored in UTF-8, not in code page 1252")
            except UnicodeDecodeError:
                pass

    for message in failures:
        print("FAIL:", message)
    if failures:
        sys.exit(1)
    print(f"{len(chm.names)} files, {len(sources)} topics from the sources, start page {start}: all found")


if __name__ == "__main__":
    main()
