#!/usr/bin/env python3
"""tools/setup rides out a package mirror caught mid-sync: it tries the update
again after a pause, goes on with the lists it has when every try fails, and
stops only when the install fails, saying what the mirror said and what to do.

The setup runs from a copy of tools/ in a scratch tree, against stand-ins for
the package tools that report nothing installed; the one for apt-get fails its
update as often as a case asks.

Usage: check_setup.py TOOLS_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile

MIRROR = ("E: Failed to fetch http://deb.example/debian-security/dists/stable-security/main/"
          "binary-amd64/Packages.xz  File has unexpected size (1024 != 2048). Mirror sync in progress?")

# Nothing installed, the i386 architecture present, and a runtime and help
# compiler package to choose.
STANDINS = {
    "dpkg-query": "exit 1\n",
    "dpkg": 'case "$1" in --print-foreign-architectures) echo i386 ;; esac\n',
    "apt-cache": 'case "$1 $2" in\n'
                 '    "depends clang") echo "  Depends: clang-19" ;;\n'
                 '    "depends fp-utils") echo "  Depends: fp-utils-3.2.2" ;;\n'
                 'esac\n',
    # Fails its first UPDATE_FAILS updates, and an install with INSTALL_RC.
    "apt-get": 'echo "$1" >>"$CALLS"\n'
               'case "$1" in\n'
               '    update)\n'
               '        n=$(grep -c "^update$" "$CALLS")\n'
               '        if [ "$n" -le "$UPDATE_FAILS" ]; then echo "$MIRROR"; exit 100; fi ;;\n'
               '    install) exit "$INSTALL_RC" ;;\n'
               'esac\n',
}

# update fails, install's exit code -> setup's exit code, updates tried,
# whether it says it goes on without new lists, whether it tells what to do.
CASES = [
    (0, 0, 0, 1, False, False),
    (2, 0, 0, 3, False, False),   # the third try gets the lists
    (9, 0, 0, 3, True, False),    # never: the install still succeeds
    (9, 100, 1, 3, True, True),   # never, and the install fails
    (0, 100, 1, 1, False, False),  # a failed install alone is not the mirror's
]


def main():
    tools = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        shutil.copytree(tools, os.path.join(work, "tools"))
        sqlite = os.path.join(work, "build", "deps", "sqlite")
        os.makedirs(sqlite)
        open(os.path.join(sqlite, "sqlite3.c"), "w").close()
        bin_dir = os.path.join(work, "bin")
        os.makedirs(bin_dir)
        for name, body in STANDINS.items():
            path = os.path.join(bin_dir, name)
            with open(path, "w") as f:
                f.write("#!/bin/sh\n" + body)
            os.chmod(path, 0o755)
        calls = os.path.join(work, "calls")

        for fails, install_rc, want_rc, want_updates, want_going_on, want_advice in CASES:
            name = f"update fails {fails}x, install exits {install_rc}"
            open(calls, "w").close()
            env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"],
                       FOLDSCAN_APT_GET=os.path.join(bin_dir, "apt-get"), FOLDSCAN_UPDATE_PAUSE="0",
                       CALLS=calls, MIRROR=MIRROR, UPDATE_FAILS=str(fails), INSTALL_RC=str(install_rc))
            env.pop("STEPS_EPOCH", None)
            env.pop("STEP_LOGS", None)
            done = subprocess.run(["sh", os.path.join(work, "tools", "setup")], env=env,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=120)
            with open(calls) as f:
                made = f.read().split()
            said = done.stdout + done.stderr
            if done.returncode != want_rc:
                failures.append(f"{name}: exit code {done.returncode}, not {want_rc}:\n{said}")
            if made != ["update"] * want_updates + ["install"]:
                failures.append(f"{name}: called {made}")
            if ("going on with the package lists" in said) != want_going_on:
                failures.append(f"{name}: going on is {'not ' if want_going_on else ''}said:\n{said}")
            if want_going_on and "Mirror sync in progress?" not in done.stdout:
                failures.append(f"{name}: the mirror's message is missing:\n{said}")
            if want_advice != ("Enabled: no" in done.stderr and "Mirror sync in progress?" in done.stderr):
                failures.append(f"{name}: the advice is {'missing' if want_advice else 'given'}:\n{said}")

    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
