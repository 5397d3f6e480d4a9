#!/usr/bin/env python3
"""Opens the report's HTML page in headless Chromium and checks it.

check_html.py --report EXE --chromium CHROMIUM --make-mailbox SCRIPT --screenshot PNG

Writes the sample mailbox, has the report write its page, and drives
Chromium over the DevTools protocol (on a pipe, so no port is opened):
the page loads without script errors, console errors or any request but its
own; clicking the column headings orders the rows as the report orders them
for that column and direction; each treemap rectangle's area is in
proportion to its size among its siblings; every rectangle names its size on
hover. Saves a screenshot. Exits 0 when everything holds.
"""
import argparse
import base64
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

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
             "--user-data-dir=" + profile, "--remote-debugging-pipe", "--window-size=1100,1400"],
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
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True})
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


ROWS = """Array.from(document.querySelector('table.rows').tBodies[0].rows).map(r => r.cells[0].textContent)"""
CLICK = """(function () {
  var th = document.querySelector('table.rows th[data-column="%d"]');
  th.click();
  return th.getAttribute('aria-sort');
})()"""
RECTS = """Array.from(document.querySelectorAll('svg.treemap rect')).map(r => ({
  group: r.getAttribute('data-group'), bytes: Number(r.getAttribute('data-bytes')),
  width: r.width.baseVal.value, height: r.height.baseVal.value,
  title: r.querySelector('title') ? r.querySelector('title').textContent : ''}))"""
SVG = """(function () { var s = document.querySelector('svg.treemap');
  return {width: s.width.baseVal.value, height: s.height.baseVal.value, bytes: Number(s.getAttribute('data-bytes'))}; })()"""


def report_order(report, mailbox, sort):
    """The file names in the order the report gives them for this sort."""
    out = subprocess.run([report, "--format", "json", "--newmail", "newmail", "--sort", sort, mailbox],
                         check=True, capture_output=True).stdout
    return [row["fileName"] for row in json.loads(out)["mailboxes"][0]["rows"]]


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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--report", required=True)
    parser.add_argument("--chromium", required=True)
    parser.add_argument("--make-mailbox", required=True)
    parser.add_argument("--screenshot", required=True)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="foldscan-html-")
    problems = []
    browser = None
    try:
        mailbox = os.path.join(work, "mailbox")
        subprocess.run([sys.executable, args.make_mailbox, mailbox], check=True)
        page = os.path.join(work, "report.html")
        with open(page, "wb") as f:
            subprocess.run([args.report, "--format", "html", "--newmail", "newmail", "--tree", mailbox],
                           check=True, stdout=f)

        with open(os.path.join(work, "chromium.log"), "wb") as log:
            browser = Browser(args.chromium, os.path.join(work, "profile"), log)
            target = browser.send("Target.createTarget", {"url": "about:blank"})["targetId"]
            browser.session = browser.send("Target.attachToTarget", {"targetId": target, "flatten": True},
                                           session=False)["sessionId"]
            for domain in ("Runtime", "Log", "Network", "Page"):
                browser.send(domain + ".enable")
            url = "file://" + page
            browser.send("Page.navigate", {"url": url})
            browser.wait_for("Page.loadEventFired")

            # The page as it opens.
            height = browser.evaluate("document.documentElement.scrollHeight")
            shot = browser.send("Page.captureScreenshot", {
                "format": "png", "captureBeyondViewport": True,
                "clip": {"x": 0, "y": 0, "width": 1100, "height": height, "scale": 1}})
            os.makedirs(os.path.dirname(os.path.abspath(args.screenshot)), exist_ok=True)
            with open(args.screenshot, "wb") as f:
                f.write(base64.b64decode(shot["data"]))

            initial = browser.evaluate(ROWS)
            if initial != report_order(args.report, mailbox, "folder"):
                problems.append("the page does not start in the report's order: %s" % initial)
            for column, sort, state in ((1, "size", "ascending"), (1, "size:desc", "descending"),
                                        (0, "name", "ascending"), (2, "folder", "ascending"),
                                        (2, "folder:desc", "descending")):
                shown = browser.evaluate(CLICK % column)
                order = browser.evaluate(ROWS)
                if shown != state or order != report_order(args.report, mailbox, sort):
                    problems.append("after a click on column %d: %s, %s; the report's --sort %s gives %s"
                                    % (column, shown, order, sort, report_order(args.report, mailbox, sort)))

            groups = check_treemap(browser.evaluate(RECTS), browser.evaluate(SVG), problems)


            for event in browser.events:
                method, params = event.get("method"), event.get("params", {})
                if method == "Runtime.exceptionThrown":
                    problems.append("script error: %s" % params["exceptionDetails"])
                elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "warning"):
                    problems.append("console: %s" % params)
                elif method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
                    problems.append("log: %s" % params["entry"])
                elif method == "Network.requestWillBeSent" and params["request"]["url"] != url:
                    problems.append("a request for %s" % params["request"]["url"])
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
    print("check_html: the page loads cleanly, sorts as the report does, and its %d treemap groups are in "
          "proportion; screenshot %s" % (groups, args.screenshot))
    return 0


if __name__ == "__main__":
    sys.exit(main())
