#!/usr/bin/env python3
"""End-to-end tests of Vortiq: the built game played through its window.

    vortiq_e2e.py GAME_DIR ARTIFACTS_DIR TEST

GAME_DIR holds vortiq, base/ and help.htm; it is copied to a scratch folder
for every test. On a failure the screenshots and the game's files are kept in
ARTIFACTS_DIR/TEST."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import play_tests  # noqa: E402,F401 (registers its tests)
import screen_tests  # noqa: E402,F401 (registers its tests)
from checks import Failure  # noqa: E402
from harness import Session  # noqa: E402
from steps import TESTS  # noqa: E402


def run_test(name, game_dir, artifacts):
    screen = {"options": "800x600", "any_screen": "1920x1080"}.get(name, "1024x768")
    session = Session(name, game_dir, artifacts, screen)
    failed = True
    started = time.monotonic()
    try:
        TESTS[name](session)
        failed = False
    finally:
        session.finish(failed)
        print("e2e %s: %s in %.1f s" % (name, "failed" if failed else "passed", time.monotonic() - started))


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in TESTS:
        print(__doc__)
        print("tests: " + " ".join(sorted(TESTS)))
        return 2
    try:
        run_test(sys.argv[3], sys.argv[1], sys.argv[2])
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
