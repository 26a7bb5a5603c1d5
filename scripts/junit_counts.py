#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""Counts one CTest run from its JUnit file: prints "PASSED FAILED SKIPPED" on the first line, then one line for
each case that failed or was skipped, and the lines the named cases printed (for timings worth showing).
Usage: junit_counts.py FILE [CASE_TO_ECHO...]"""

import sys
import xml.etree.ElementTree as ElementTree


def main():
    path, echoed = sys.argv[1], set(sys.argv[2:])
    try:
        cases = ElementTree.parse(path).getroot().iter("testcase")
    except (OSError, ElementTree.ParseError) as error:
        print("0 1 0")
        print(f"FAILED no results from CTest: {error}")
        return
    passed, failed, skipped, lines = 0, 0, 0, []
    for case in cases:
        name = case.get("name")
        output = case.findtext("system-out") or ""
        skip = case.find("skipped")
        # CTest also reports a case it could not start (a missing executable) as skipped: only a case that
        # skipped itself, or one disabled on purpose, counts as a skip.
        reason = skip.get("message", "") if skip is not None else ""
        if case.get("status") == "disabled" or reason.startswith("SKIP_"):
            skipped += 1
            said = [line for line in output.splitlines() if line.startswith("SKIP")]
            lines.append(f"SKIPPED {name}: {said[-1] if said else 'skipped'}")
        elif skip is not None:
            failed += 1
            lines.append(f"FAILED {name}: not run: {reason or 'no reason given'}")
        elif case.find("failure") is not None or case.find("error") is not None or case.get("status") != "run":
            failed += 1
            lines.append(f"FAILED {name}")
        else:
            passed += 1
        if name in echoed:
            lines += [line for line in output.splitlines() if line.strip()][-1:]
    print(passed, failed, skipped)
    if lines:
        print("\n".join(lines))


if __name__ == "__main__":
    main()
