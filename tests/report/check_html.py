#!/usr/bin/env python3
"""Opens the report's HTML page in headless Chromium and checks it.

check_html.py --report EXE --chromium CHROMIUM --make-mailbox SCRIPT --screenshot PNG

Writes the sample mailbox, has the report write its page, and drives
Chromium over the DevTools protocol (on a pipe, so no port is opened):
the page loads without script errors, console errors or any request but its
own; clicking the column headings orders the rows as the report orders them
for that column and direction; each treemap rectangle's area is in
proportion to its size among its siblings; every rectangle names its size on
hover; names full of markup stay text; the growth since a run of the
history sorts as the report sorts it. On a page of several mailboxes the
sections start closed, the overview's links open them, and the filter shows
the rows the report's own data says match, and a part of a mailbox's name
shows that mailbox alone; the folder all mailboxes lie in is said once and a
long name is shortened in the middle, whole on hover; the page fits a 1280
pixel window. On 20,000 folders of one mailbox the page stays within 30 bytes
a folder, and a sort still orders as the report does;
the load and sort times there and on 200 mailboxes of 100 folders are
printed. Growth is drawn: a chart of a mailbox's total with its values on
hover, the folders that grew most; on 200 mailboxes with a year of nightly
runs (whose load time is printed) every overview row has its line over
time once in view, the growth bars share one zero line, dates are written in
one form, and the filter finds the one folder a name has: it hides the other
rows and sections, draws the row at once and brings it into view, and
clearing it gives the page back. Saves a screenshot. Exits 0 when
everything holds.
"""
import argparse
import base64
import json
import os
import re
import runpy
import select
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
import types

TIMEOUT = 60


class Browser:
    """Chromium with the DevTools protocol on file descriptors 3 and 4."""

    def __init__(self, chromium, profile, log):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()

        def arrange():  # in the child: the browser reads fd 3, writes fd 4
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        self.process = subprocess.Popen(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + profile, "--remote-debugging-pipe", "--window-size=1280,1400"],
            # The pipes are not inherited (Python's default); only the
            # copies made in the child on 3 and 4 are.
            stdin=subprocess.DEVNULL, stdout=log, stderr=log, close_fds=False, preexec_fn=arrange)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.serial = 0
        self.events = []
        self.session = None

    def send(self, method, params=None, session=True):
        self.serial += 1
        message = {"id": self.serial, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        wanted = self.serial
        while True:
            reply = self.receive()
            if reply.get("id") == wanted:
                if "error" in reply:
                    raise RuntimeError("%s: %s" % (method, reply["error"]))
                return reply.get("result", {})
            self.events.append(reply)

    def receive(self):
        deadline = time.time() + TIMEOUT
        while b"\0" not in self.buffer:
            left = deadline - time.time()
            if left <= 0 or not select.select([self.from_browser], [], [], left)[0]:
                raise RuntimeError("Chromium did not answer")
            chunk = os.read(self.from_browser, 1 << 16)
            if not chunk:
                raise RuntimeError("Chromium closed the pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def wait_for(self, method):
        for event in self.events:
            if event.get("method") == method:
                return event
        while True:
            event = self.receive()
            self.events.append(event)
            if event.get("method") == method:
                return event

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                "awaitPromise": True})
        if "exceptionDetails" in result:
            raise RuntimeError("script failed: %s" % result["exceptionDetails"])
        return result["result"].get("value")

    def close(self):
        try:
            self.send("Browser.close", session=False)
        except (RuntimeError, OSError):
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()


ROWS = """(function (table) {
  return table ? Array.from(table.tBodies[0].rows).map(r => r.cells[0].textContent) : null;
})(document.querySelectorAll('table.folders')[%d])"""
CLICK = """(function () {
  var th = document.querySelectorAll('table.folders')[%d].querySelector('th[data-column="%d"]');
  var start = performance.now();
  th.click();
  void document.body.offsetHeight;
  return [th.getAttribute('aria-sort'), performance.now() - start];
})()"""
CELLS = """Array.from(document.querySelector('table.folders').tBodies[0].rows)
  .map(r => Array.from(r.cells).map(c => c.title || c.textContent))"""
RECTS = """Array.from(document.querySelectorAll('svg.treemap rect')).map(r => ({
  group: r.getAttribute('data-group'), bytes: Number(r.getAttribute('data-bytes')),
  width: r.width.baseVal.value, height: r.height.baseVal.value,
  title: r.querySelector('title') ? r.querySelector('title').textContent : ''}))"""
SVG = """(function () { var s = document.querySelector('svg.treemap');
  return {width: s.width.baseVal.value, height: s.height.baseVal.value, bytes: Number(s.getAttribute('data-bytes'))}; })()"""
FILTER = """(function () {
  var input = document.getElementById('filter');
  input.value = %s;
  input.dispatchEvent(new Event('input'));
  return document.getElementById('filter-count').textContent;
})()"""
SECTIONS = """Array.from(document.querySelectorAll('details.mailbox')).map(d => d.open)"""
# Every folder table scrolled into view in turn, so that each draws its rows.
SHOWN = """(async function () {
  var shown = [];
  for (const section of document.querySelectorAll('details.mailbox')) {
    if (!section.open) { shown.push(null); continue; }
    section.scrollIntoView();
    await new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)));
    var table = section.querySelector('table.folders');
    shown.push(table ? Array.from(table.tBodies[0].rows).map(r => r.cells[0].textContent) : 'not drawn');
  }
  return shown;
})()"""
HOSTILE = ['<img src=x onerror=alert(1)>', '</script><script>alert(2)</script>']
# A mailbox whose name is longer than a row of the overview has room for.
LONG = "Abteilung Rechnungswesen und Controlling, Gustav W\u0105sowski-Oberhausen (Vertretung bis Ende 2027)"
# Whether the page is wider than its window.
WIDE = "document.documentElement.scrollWidth > window.innerWidth"
# A right-to-left override in a mailbox's name, which would reverse its end.
DISGUISED = "Post\u202egnp.exe"


def report_json(report, *args):
    out = subprocess.run([report, "--format", "json"] + list(args), check=True, capture_output=True).stdout
    return json.loads(out)


def report_order(report, mailbox, sort, *args):
    """The file names in the order the report gives them for this sort."""
    doc = report_json(report, "--sort", sort, mailbox, *args)
    return [row["fileName"] for row in doc["mailboxes"][0]["rows"]]


def write_page(report, path, *args):
    with open(path, "wb") as f:
        subprocess.run([report, "--format", "html"] + list(args), check=True, stdout=f)
    return os.path.getsize(path)


def check_treemap(rects, svg, problems):
    groups = {}
    for rect in rects:
        if not rect["title"] or "(" not in rect["title"]:
            problems.append("a rectangle without its size on hover: %r" % rect)
        groups.setdefault(rect["group"], []).append(rect)
    # The mailbox's own group fills the whole picture.
    whole = svg["width"] * svg["height"] / svg["bytes"]
    for group, members in groups.items():
        ratios = [r["width"] * r["height"] / r["bytes"] for r in members if r["width"] * r["height"] >= 4]
        if group == "0":
            ratios.append(whole)
        if ratios and max(ratios) > min(ratios) * 1.01:
            problems.append("group %s: areas not in proportion to sizes: %s" % (group, ratios))
    if "0" not in groups:
        problems.append("no top-level rectangles")
    return len(groups)


class Session:
    """One browser, its pages and what they asked of the network."""

    def __init__(self, browser):
        self.browser = browser
        self.urls = set()

    def open(self, page, ready="document.querySelector('table.folders, table.top') === null || "
                              "document.querySelector('table.folders tbody tr, table.top tbody tr, "
                              "details.mailbox:not([open])') !== null"):
        """Loads the page and waits until its first rows are drawn; the milliseconds that took."""
        url = "file://" + page
        self.urls.add(url)
        self.browser.events = [e for e in self.browser.events if e.get("method") != "Page.loadEventFired"]
        self.browser.send("Page.navigate", {"url": url})
        self.browser.wait_for("Page.loadEventFired")
        return self.wait(ready)

    def wait(self, condition, seconds=20):
        deadline = time.time() + seconds
        while not self.browser.evaluate(condition):
            if time.time() > deadline:
                raise RuntimeError("the page never came to: " + condition)
            time.sleep(0.01)
        return self.browser.evaluate("performance.now()")


def check_sample(session, report, mailbox, work, screenshot, problems):
    browser = session.browser
    page = os.path.join(work, "report.html")
    write_page(report, page, "--newmail", "newmail", "--tree", mailbox)
    session.open(page)
    session.wait("document.querySelector('svg.treemap rect') !== null")

    height = browser.evaluate("document.documentElement.scrollHeight")
    shot = browser.send("Page.captureScreenshot", {
        "format": "png", "captureBeyondViewport": True,
        "clip": {"x": 0, "y": 0, "width": 1280, "height": height, "scale": 1}})
    os.makedirs(os.path.dirname(os.path.abspath(screenshot)), exist_ok=True)
    with open(screenshot, "wb") as f:
        f.write(base64.b64decode(shot["data"]))

    initial = browser.evaluate(ROWS % 0)
    if initial != report_order(report, mailbox, "folder", "--newmail", "newmail"):
        problems.append("the page does not start in the report's order: %s" % initial)
    for column, sort, state in ((1, "size", "ascending"), (1, "size:desc", "descending"),
                                (0, "name", "ascending"), (2, "folder", "ascending"),
                                (2, "folder:desc", "descending")):
        shown, _ = browser.evaluate(CLICK % (0, column))
        order = browser.evaluate(ROWS % 0)
        expected = report_order(report, mailbox, sort, "--newmail", "newmail")
        if shown != state or order != expected:
            problems.append("after a click on column %d: %s, %s; the report's --sort %s gives %s"
                            % (column, shown, order, sort, expected))

    # Sizes, shares and folder names as the report writes them, in both
    # languages and both forms of size.
    for extra in ([], ["--exact", "--lang", "en"]):
        cells = os.path.join(work, "cells.html")
        write_page(report, cells, "--newmail", "newmail", *extra, mailbox)
        session.open(cells)
        shown = sorted(browser.evaluate(CELLS))
        tsv = subprocess.run([report, "--format", "tsv", "--newmail", "newmail", *extra, mailbox],
                             check=True, capture_output=True).stdout.decode()
        percent = "%" if extra else " %"
        expected = sorted([f[1], f[3], f[10] + percent, f[4]] for f in (line.split("\t") for line in tsv.splitlines()[1:]))
        if shown != expected:
            problems.append("the rows %s do not show what the report writes: %s, not %s" % (extra, shown, expected))
    session.open(page)
    session.wait("document.querySelector('svg.treemap rect') !== null")
    groups = check_treemap(browser.evaluate(RECTS), browser.evaluate(SVG), problems)
    # Markup in names is text in the table, the treemap's titles and the filter's results.
    text = browser.evaluate("document.body.innerText + Array.from(document.querySelectorAll('title'))"
                            ".map(t => t.textContent).join('')")
    for name in HOSTILE:
        if text.count(name) < 2:
            problems.append("the name %r is not shown as text in the table and the treemap" % name)
    browser.evaluate(FILTER % json.dumps("onerror"))
    if browser.evaluate(ROWS % 0) != ["Hostil1.PMM"]:
        problems.append("the filter does not find the name with markup: %s" % browser.evaluate(ROWS % 0))
    if browser.evaluate("document.querySelectorAll('img, script:not([id]):not([type])').length") != 1:
        problems.append("markup from a name became an element")
    return groups


def check_growth(session, report, mailbox, work, problems):
    """Growth since a run of the history: its column sorts as --sort growth does."""
    kept = os.path.join(work, "history.db")
    subprocess.run([report, "--history", kept, mailbox], check=True, capture_output=True)
    for name, size in (("Papier.PMM", 2_000_000), ("Steuer.PMM", 10), ("Reisen.PMM", 99_999)):
        os.truncate(os.path.join(mailbox, name), size)

    def fresh():  # every run appends to its history, so each gets a copy of the first
        copy = os.path.join(work, "history-copy.db")
        shutil.copyfile(kept, copy)
        return copy

    page = os.path.join(work, "growth.html")
    write_page(report, page, "--history", fresh(), "--growth", mailbox)
    session.open(page)
    # The pictures: the chart of the total at both runs with their values on
    # hover, and the folder that grew most first in its list.
    session.wait("document.querySelectorAll('svg.history-chart circle').length === 2")
    titles = session.browser.evaluate(
        "Array.from(document.querySelectorAll('svg.history-chart circle title')).map(t => t.textContent)")
    if len(titles) != 2 or not all(": " in t and "Bytes)" in t for t in titles):
        problems.append("the chart's points do not name their values: %s" % titles)
    top = session.browser.evaluate("document.querySelector('#growth-top tbody tr').textContent")
    if "Papier.PMM" not in top:
        problems.append("the folder that grew most is not first among the largest growths: %r" % top)
    for sort, state in (("growth", "ascending"), ("growth:desc", "descending")):
        shown, _ = session.browser.evaluate(CLICK % (0, 3))
        expected = report_order(report, mailbox, sort, "--history", fresh(), "--growth")
        if shown != state or session.browser.evaluate(ROWS % 0) != expected:
            problems.append("after a click on the growth column: %s, %s; the report's --sort %s gives %s"
                            % (shown, session.browser.evaluate(ROWS % 0), sort, expected))


def check_sections(session, report, mailboxes, work, problems):
    """Several mailboxes: the overview, closed sections, links and the filter."""
    browser = session.browser
    page = os.path.join(work, "many.html")
    write_page(report, page, *mailboxes)
    session.open(page)
    if any(browser.evaluate(SECTIONS)):
        problems.append("sections are open at the start: %s" % browser.evaluate(SECTIONS))
    # The folder all lie in is said once; a long name is shortened in the
    # middle, whole in its tooltip; the page fits its window.
    names = browser.evaluate("""Array.from(document.querySelectorAll('#overview tbody td:first-child'))
      .map(cell => [cell.textContent, (cell.querySelector('[title]') || {title: ''}).title])""")
    common = browser.evaluate("document.querySelector('#overview p.common').textContent")
    if common != "Postf\u00e4cher in %s/" % work or \
            sorted(n for n, _ in names if "\u2026" not in n) != ["Post\ufffdgnp.exe", "klein", "mailbox"] \
            or [t for n, t in names if "\u2026" in n] != [LONG]:
        problems.append("the overview does not name the common folder once and shorten a long name: %r, %s"
                        % (common, names))
    if browser.evaluate(WIDE):
        problems.append("the page of several mailboxes is wider than its window")
    overview = browser.evaluate("document.getElementById('overview').textContent")
    if "\u202e" in overview or "\ufffd" not in overview:
        problems.append("the overview shows a right-to-left override in a mailbox's name")
    browser.evaluate("document.querySelector('#overview a[href=\"#mailbox-2\"]').click()")
    session.wait("document.querySelector('#mailbox-2 table.folders tbody tr') !== null")
    if browser.evaluate(SECTIONS) != [False, True, False, False]:
        problems.append("the overview's link does not open its section alone: %s" % browser.evaluate(SECTIONS))

    # A part of a mailbox's name, in any case, shows just that mailbox.
    for query in ("gustav", "W\u0104S"):
        said = browser.evaluate(FILTER % json.dumps(query))
        shown = browser.evaluate("""Array.from(document.querySelectorAll('#overview tbody tr, details.mailbox'))
          .filter(e => !e.hidden).map(e => e.getAttribute('data-mailbox'))""")
        if said != "1 passendes Postfach, 0 passende Zeilen" or shown != ["3", "3"]:
            problems.append("filter %r does not show the mailbox of that name alone: %r, %s" % (query, said, shown))
    doc = report_json(report, *mailboxes)
    for query in ("ARCH", "ordner 1", "gibt es nicht"):
        said = browser.evaluate(FILTER % json.dumps(query))
        shown = browser.evaluate(SHOWN)
        expected = [[row["fileName"] for row in box["rows"]
                     if query.lower() in row["fileName"].lower() or query.lower() in row["folder"].lower()]
                    for box in doc["mailboxes"]]
        matches = sum(len(rows) for rows in expected)
        opened = [bool(rows) for rows in expected]
        if said != "%d passende Zeilen" % matches or browser.evaluate(SECTIONS) != opened or \
                [rows for rows in shown if rows is not None] != [rows[:200] for rows in expected if rows]:
            problems.append("filter %r: %r, sections %s, rows %s; expected %d matches in %s"
                            % (query, said, browser.evaluate(SECTIONS), shown, matches, expected))
    browser.evaluate(FILTER % json.dumps(""))


def make_history(report, mailboxes, path, nights):
    """A history of the mailboxes over nights: one run read, and the nights
    before it added with other totals, as a year of nightly runs leaves it."""
    subprocess.run([report, "--history", path] + mailboxes, check=True, capture_output=True)
    db = sqlite3.connect(path)
    (latest,) = db.execute("SELECT started FROM runs").fetchone()
    last = time.mktime(time.strptime(latest, "%Y-%m-%dT%H:%M:%SZ"))
    rows = db.execute("SELECT mailbox_id, count, total FROM mailbox_run").fetchall()
    for night in range(1, nights):
        started = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.localtime(last - night * 86400))
        run = db.execute("INSERT INTO runs(started, version) VALUES (?, '0')", (started,)).lastrowid
        db.executemany("INSERT INTO mailbox_run VALUES (?, ?, ?, ?)",
                       [(box, run, count, max(0, total - night * (box % 7) * 10)) for box, count, total in rows])
    db.commit()
    db.close()


def check_history_page(session, report, mailboxes, work, problems):
    """A year of nightly runs of 200 mailboxes: a line per overview row, a
    chart per section, and a filter that finds the one folder a name has."""
    browser = session.browser
    history = os.path.join(work, "year.db")
    make_history(report, mailboxes, history, 365)
    page = os.path.join(work, "year.html")
    size = write_page(report, page, "--from-history", history, "--growth-since", "365d")
    loaded = session.open(page)
    print("check_html: 200 mailboxes of 100 folders with 365 runs: page %d bytes, loaded in %.0f ms" % (size, loaded))
    # The filter needs no more than the page's first screen.
    said = browser.evaluate(FILTER % json.dumps("einzigartig"))
    if said != "1 passende Zeile" or browser.evaluate("document.querySelector('#mailbox-151 table.folders tbody tr')"
                                                      ".textContent").find("Einzig.PMM") != 0:
        problems.append("the filter does not find the one folder before the page is all in place: %r" % said)
    browser.evaluate(FILTER % json.dumps(""))
    # The rows and sections that come later are put in place while the page is idle.
    session.wait("document.querySelector('script.later') === null")
    if browser.evaluate("document.querySelectorAll('#overview tbody tr').length") != len(mailboxes) or \
            browser.evaluate("document.querySelectorAll('details.mailbox').length") != len(mailboxes):
        problems.append("the overview's rows or the sections that come later are not all in place")
    # The lines are drawn as their rows come into view, the last one too.
    for where in ("window.scrollTo(0, 0)", "document.querySelector('#overview tbody tr:last-child').scrollIntoView()"):
        browser.evaluate(where)
        session.wait("""Array.from(document.querySelectorAll('#overview tbody tr')).every(row => {
          var box = row.getBoundingClientRect();
          return box.bottom < 0 || box.top > window.innerHeight || row.querySelector('svg.history-spark'); })""")
    # The growth bars share one zero line; the page fits its window.
    middles = browser.evaluate("""Array.from(document.querySelectorAll('#overview .gbar'))
      .map(bar => { var box = bar.getBoundingClientRect(); return Math.round(box.left + box.width / 2); })""")
    bars = browser.evaluate("""Array.from(document.querySelectorAll('#overview span.bar, #overview span.gbar'))
      .map(bar => getComputedStyle(bar).backgroundColor)""")
    if set(bars) - {"rgb(230, 230, 230)", "rgb(238, 238, 238)"}:
        problems.append("a bar's background is not its own: %s" % sorted(set(bars)))
    if len(middles) != len(mailboxes) or len(set(middles)) != 1:
        problems.append("the growth bars do not share one zero line: %s" % sorted(set(middles)))
    if browser.evaluate(WIDE):
        problems.append("the page of 200 mailboxes with growth is wider than its window")

    said = browser.evaluate(FILTER % json.dumps("einzigartig"))
    state = browser.evaluate("""(function () {
      var visible = e => !e.hidden && e.getClientRects().length > 0;
      var rows = Array.from(document.querySelectorAll('#overview tbody tr')).filter(visible);
      var sections = Array.from(document.querySelectorAll('details.mailbox')).filter(visible);
      var cells = sections.length ? Array.from(sections[0].querySelectorAll('table.folders tbody tr')) : [];
      var box = cells.length ? cells[0].getBoundingClientRect() : null;
      return {rows: rows.length, sections: sections.length, open: sections.length && sections[0].open,
              cells: cells.map(r => r.cells[0].textContent),
              inView: box !== null && box.top >= 0 && box.bottom <= window.innerHeight};
    })()""")
    if said != "1 passende Zeile" or state != {"rows": 1, "sections": 1, "open": True, "cells": ["Einzig.PMM"],
                                               "inView": True}:
        problems.append("the filter does not find the one folder: %r, %s" % (said, state))
    session.wait("document.querySelectorAll('details.mailbox:not([hidden]) svg.history-chart circle').length === 365")
    # One form of date on the German page: the report's, also in the chart.
    dates = browser.evaluate("""document.body.innerText + Array.from(document.querySelectorAll('title'))
      .map(t => t.textContent).join(' ')""")
    if re.search(r"\b\d\d\.\d\d\.\d{4}\b", dates) or not re.search(r"\b\d{4}-\d\d-\d\d\b", dates):
        problems.append("the page writes dates in more than one form: %s" % re.findall(r"[\d.-]{10}", dates)[:20])
    browser.evaluate(FILTER % json.dumps(""))
    restored = browser.evaluate("""[document.querySelectorAll('#overview tbody tr:not([hidden])').length,
      document.querySelectorAll('details.mailbox[hidden], details.mailbox[open]').length]""")
    if restored != [len(mailboxes), 0]:
        problems.append("clearing the filter does not give the page back: %s" % restored)


def measure(session, report, mailboxes, work, name, problems, budget=None):
    """Page size, load time and, on a single mailbox, the time of a sort click; printed."""
    browser = session.browser
    page = os.path.join(work, name + ".html")
    size = write_page(report, page, *mailboxes)
    rows = sum(len(box["rows"]) for box in report_json(report, *mailboxes)["mailboxes"])
    loaded = session.open(page)
    line = "check_html: %s: %d rows, page %d bytes (%.1f per row), loaded in %.0f ms" % (
        name, rows, size, size / rows, loaded)
    if budget and size > budget(rows):
        problems.append("%s: the page is %d bytes, more than %d" % (name, size, budget(rows)))
    if len(mailboxes) == 1:
        times = []
        for column, sort in ((1, "size"), (1, "size:desc"), (0, "name"), (2, "folder")):
            times.append(browser.evaluate(CLICK % (0, column))[1])
            expected = report_order(report, mailboxes[0], sort)[:200]
            if browser.evaluate(ROWS % 0) != expected:
                problems.append("%s: after a click on column %d the rows are not the report's --sort %s"
                                % (name, column, sort))
        line += ", sort clicks %s ms" % ", ".join("%.0f" % t for t in times)
    print(line)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--report", required=True)
    parser.add_argument("--chromium", required=True)
    parser.add_argument("--make-mailbox", required=True)
    parser.add_argument("--screenshot", required=True)
    args = parser.parse_args()

    # The sample maker's functions, to write folders of chosen names and sizes.
    maker = types.SimpleNamespace(**runpy.run_path(args.make_mailbox))

    work = tempfile.mkdtemp(prefix="foldscan-html-")
    problems = []
    browser = None
    groups = 0
    try:
        mailbox = os.path.join(work, "mailbox")
        maker.sample(mailbox)
        for i, name in enumerate(HOSTILE):
            maker.write(os.path.join(mailbox, "Hostil%d.PMM" % (i + 1)), maker.pmm_header(name, "H%d" % i), 2000)
        small = []
        for name in ("klein", DISGUISED, LONG):
            small.append(os.path.join(work, name))
            os.makedirs(small[-1])
            maker.load(small[-1], 30)
        big = os.path.join(work, "big")
        os.makedirs(big)
        maker.load(big, 20000)
        many = []
        for i in range(200):
            many.append(os.path.join(work, "many", "m%03d" % i))
            os.makedirs(many[-1])
            maker.load(many[-1], 100)
        maker.write(os.path.join(many[150], "Einzig.PMM"), maker.pmm_header("Einzigartig", "U1"), 5000)

        with open(os.path.join(work, "chromium.log"), "wb") as log:
            browser = Browser(args.chromium, os.path.join(work, "profile"), log)
            target = browser.send("Target.createTarget", {"url": "about:blank"})["targetId"]
            browser.session = browser.send("Target.attachToTarget", {"targetId": target, "flatten": True},
                                           session=False)["sessionId"]
            for domain in ("Runtime", "Log", "Network", "Page"):
                browser.send(domain + ".enable")
            session = Session(browser)
            groups = check_sample(session, args.report, mailbox, work, args.screenshot, problems)
            check_sections(session, args.report, [mailbox] + small, work, problems)
            check_growth(session, args.report, mailbox, work, problems)
            measure(session, args.report, [big], work, "one-mailbox-20000-folders", problems,
                    budget=lambda rows: 30 * rows + 50000)
            measure(session, args.report, many, work, "200-mailboxes-of-100-folders", problems)
            check_history_page(session, args.report, many, work, problems)

            for event in browser.events:
                method, params = event.get("method"), event.get("params", {})
                if method == "Runtime.exceptionThrown":
                    problems.append("script error: %s" % params["exceptionDetails"])
                elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "warning"):
                    problems.append("console: %s" % params)
                elif method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
                    problems.append("log: %s" % params["entry"])
                elif method == "Network.requestWillBeSent" and params["request"]["url"] not in session.urls:
                    problems.append("a request for %s" % params["request"]["url"])
                elif method == "Page.javascriptDialogOpening":
                    problems.append("a script from a name ran: %s" % params)
    except Exception as error:  # a failure to drive the browser fails the test
        problems.append("%s: %s" % (type(error).__name__, error))
    finally:
        if browser:
            browser.close()
        shutil.rmtree(work, ignore_errors=True)

    for problem in problems:
        print("check_html: " + problem)
    if problems:
        return 1
    print("check_html: the pages load cleanly, sort and filter as the report does, and the %d treemap groups are "
          "in proportion; screenshot %s" % (groups, args.screenshot))
    return 0


if __name__ == "__main__":
    sys.exit(main())
