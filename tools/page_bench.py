#!/usr/bin/env python3
"""Measures the HTML page of an organisation against a tenth of it.

page_bench.py --report EXE [--work DIR] [--mailboxes 2000] [--chromium CHROMIUM]

Writes the organisation once (tools/make_mailbox.py --mailboxes, timed apart
and kept in DIR for later runs), records three nights of it in a history with
some folders growing between them, then writes the page of all mailboxes and
of the first tenth of them, both read live and from the history with growth.
Each page is opened in headless Chromium: its bytes per folder, the time to
load it, to filter after a key (a part of a mailbox's name, a folder's name)
and to open the section of the largest mailbox are printed, with the ratio of
the whole to the tenth.
"""
import argparse
import json
import os
import random
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "report"))
import check_html  # noqa: E402  the browser driver of the page's test

# Types a text into the filter and waits for the page to be drawn again.
FILTER = """(async function () {
  var input = document.getElementById('filter');
  var start = performance.now();
  input.value = %s;
  input.dispatchEvent(new Event('input'));
  void document.body.offsetHeight;
  await new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)));
  return [performance.now() - start, document.getElementById('filter-count').textContent];
})()"""
# Opens the section of the mailbox with the most folders, brought into view
# first as a person would, and waits until its rows and treemap are drawn.
OPEN = """(async function () {
  var section = document.getElementById('mailbox-%d');
  section.scrollIntoView();
  await new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)));
  var start = performance.now();
  section.querySelector('summary').click();
  for (;;) {
    void document.body.offsetHeight;
    await new Promise(done => requestAnimationFrame(done));
    var body = section.querySelector('table.folders tbody');
    if (body && body.rows.length > 0 && section.querySelector('svg.treemap rect')) break;
  }
  await new Promise(done => requestAnimationFrame(done));
  return performance.now() - start;
})()"""


def run(report, *args, out=None):
    with open(out, "wb") if out else open(os.devnull, "wb") as sink:
        subprocess.run([report] + list(args), check=True, stdout=sink, stderr=subprocess.DEVNULL)


def grow(paths, rng):
    """Some folders of every mailbox grow, as a night's mail makes them."""
    for path in paths:
        for name in os.listdir(path):
            if name.endswith(".PMM") and rng.random() < 0.2:
                file = os.path.join(path, name)
                os.truncate(file, os.path.getsize(file) + rng.randrange(1, 5_000_000))


def median(values):
    return sorted(values)[len(values) // 2]


def measure_once(session, page, largest, queries):
    browser = session.browser
    # A key at once after the load, before the filter's index is made: it
    # makes the index then.
    session.open(page)
    cold = browser.evaluate(FILTER % json.dumps(queries[0]))[0]
    loaded = session.open(page)
    # The filter's index is made while the page is idle once the box is
    # entered: a person takes longer than this before the first key.
    browser.evaluate("document.getElementById('filter').focus()")
    time.sleep(3)
    filters = []
    for query in queries:
        elapsed, said = browser.evaluate(FILTER % json.dumps(query))
        filters.append((query, elapsed, said))
        browser.evaluate(FILTER % json.dumps(""))
    opened = browser.evaluate(OPEN % largest)
    return loaded, filters, opened, cold


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--report", required=True)
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "bench"))
    parser.add_argument("--mailboxes", type=int, default=2000)
    parser.add_argument("--chromium", default="chromium")
    parser.add_argument("--times", type=int, default=3, help="measurements of each page, of which the median counts")
    args = parser.parse_args()

    org = os.path.join(args.work, "org-%d" % args.mailboxes)
    if not os.path.isfile(os.path.join(org, "mailboxes.txt")):
        start = time.time()
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_mailbox.py"), org,
                        "--mailboxes", str(args.mailboxes), "--folders", "3000"], check=True)
        print("page_bench: wrote %d mailboxes in %.0f s (not part of any figure)" % (args.mailboxes,
                                                                                    time.time() - start))
    with open(os.path.join(org, "mailboxes.txt"), encoding="utf-8") as f:
        paths = f.read().split("\n")[:-1]
    tenth = paths[:len(paths) // 10]
    history = os.path.join(args.work, "history-%d.db" % args.mailboxes)
    if not os.path.isfile(history):
        rng = random.Random(38)
        for night in range(3):
            if night:
                grow(paths, rng)
            run(args.report, "--history", history, *paths)

    counts = {}
    for path in paths:
        counts[path] = sum(1 for name in os.listdir(path) if name.endswith(".PMM"))
    pages = []
    for label, boxes in (("all", paths), ("tenth", tenth)):
        folders = sum(counts[p] for p in boxes)
        largest = 1 + max(range(len(boxes)), key=lambda i: counts[boxes[i]])
        live = os.path.join(args.work, "live-%s.html" % label)
        start = time.time()
        run(args.report, "--format", "html", *boxes, out=live)
        live_time = time.time() - start
        grown = os.path.join(args.work, "growth-%s.html" % label)
        run(args.report, "--format", "html", "--from-history", history, "--growth-since", "2d", *boxes, out=grown)
        pages.append((label, len(boxes), folders, largest, live, live_time, grown))

    queries = ["gustav", "w\u0105s", "ordner 1234"]
    results = {}
    with tempfile.TemporaryDirectory(prefix="foldscan-bench-") as profile, \
            open(os.path.join(args.work, "chromium.log"), "wb") as log:
        browser = check_html.Browser(args.chromium, os.path.join(profile, "p"), log)
        try:
            target = browser.send("Target.createTarget", {"url": "about:blank"})["targetId"]
            browser.session = browser.send("Target.attachToTarget", {"targetId": target, "flatten": True},
                                           session=False)["sessionId"]
            for domain in ("Runtime", "Page"):
                browser.send(domain + ".enable")
            session = check_html.Session(browser)
            # The whole and the tenth in turn, several times, and the median
            # of each: the machine is shared, and its load comes and goes.
            runs = {}
            for _ in range(args.times):
                for kind in ("live", "growth"):
                    for label, boxes, folders, largest, live, live_time, grown in pages:
                        page = live if kind == "live" else grown
                        runs.setdefault((kind, label), []).append(measure_once(session, page, largest, queries))
            for kind in ("live", "growth"):
                for label, boxes, folders, largest, live, live_time, grown in pages:
                    page = live if kind == "live" else grown
                    measured = runs[(kind, label)]
                    loaded = median([m[0] for m in measured])
                    filters = [(query, median([m[1][k][1] for m in measured]), measured[0][1][k][2])
                               for k, query in enumerate(queries)]
                    opened = median([m[2] for m in measured])
                    cold = median([m[3] for m in measured])
                    size = os.path.getsize(page)
                    results[(kind, label)] = (size / folders, loaded, filters, opened)
                    print("page_bench: %s page of %d mailboxes, %d folders: %d bytes (%.1f a folder), written in "
                          "%.1f s; loaded in %.0f ms; filter %s, the first key at once after the load %.0f ms; "
                          "largest section opened in %.0f ms"
                          % (kind, boxes, folders, size, size / folders, live_time, loaded,
                             ", ".join("%r %.0f ms (%s)" % f for f in filters), cold, opened))
        finally:
            browser.close()
    for kind in ("live", "growth"):
        whole, part = results[(kind, "all")], results[(kind, "tenth")]
        print("page_bench: %s, the whole against a tenth: load %.1fx, filter %s, section %.1fx"
              % (kind, whole[1] / part[1],
                 ", ".join("%.1fx" % (w[1] / max(p[1], 0.1)) for w, p in zip(whole[2], part[2])),
                 whole[3] / part[3]))


if __name__ == "__main__":
    sys.exit(main())
