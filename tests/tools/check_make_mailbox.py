#!/usr/bin/env python3
"""The sample-mailbox maker fills only what it may: a new or empty directory,
or one it made itself. A real mailbox, a file, a place under a file or a
directory it cannot write to is refused with exit code 2 and left exactly as
it was.

Usage: check_make_mailbox.py MAKE_MAILBOX.py
"""
import os
import subprocess
import sys
import tempfile


def snapshot(root):
    """Every path under root with its kind and contents."""
    found = {}
    for directory, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(directory, name)
            if os.path.islink(path) or os.path.isdir(path):
                found[path] = os.readlink(path) if os.path.islink(path) else "dir"
            else:
                with open(path, "rb") as f:
                    found[path] = f.read()
    return found


def main():
    script = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        def run(target):
            return subprocess.run([sys.executable, script, os.path.join(work, target)],
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

        def write(path, text):
            with open(os.path.join(work, path), "w") as f:
                f.write(text)

        os.makedirs(os.path.join(work, "mailbox"))
        write("mailbox/Inbox.PMM", "a real folder")
        write("mailbox/hierarch.pm", "a real tree")
        write("file", "a file")
        os.symlink("mailbox", os.path.join(work, "link"))
        os.makedirs(os.path.join(work, "locked"))
        os.chmod(os.path.join(work, "locked"), 0o555)

        refused = ["mailbox", "file", "file/sub", "link"]
        if os.geteuid() != 0:  # root writes anywhere
            refused += ["locked", "locked/sub"]
        for target in refused:
            before = snapshot(work)
            done = run(target)
            if done.returncode != 2 or "nothing was changed" not in done.stderr:
                failures.append(f"{target}: exit code {done.returncode}, {done.stderr.strip()!r}")
            if snapshot(work) != before:
                failures.append(f"{target}: something was changed")

        # New, twice (the second run empties its own directory), and empty.
        os.makedirs(os.path.join(work, "empty"))
        for target in ["new/sample", "new/sample", "empty"]:
            if target == "new/sample" and os.path.isdir(os.path.join(work, target)):
                write("new/sample/left over", "")
            done = run(target)
            made = os.path.join(work, target)
            if done.returncode != 0 or not os.path.isfile(os.path.join(made, "hierarch.pm")):
                failures.append(f"{target}: not made: {done.returncode}, {done.stderr.strip()!r}")
            if os.path.exists(os.path.join(made, "left over")):
                failures.append(f"{target}: a file of the earlier run is still there")
        os.chmod(os.path.join(work, "locked"), 0o755)

    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
