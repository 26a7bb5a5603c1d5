#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""Counts one CTest run from its JUnit file: prints "PASSED FAILED SKIPPED" on the first line, then one line for
each case that failed or was skipped, and the lines the named cases printed (for timings worth showing).
Usage: junit_counts.py FILE [--suites FOLDER] [CASE_TO_ECHO...]

With --suites, a CTest case that ran a whole GoogleTest suite at once (as under Wine) counts as the cases of the
suite's own report, FOLDER/NAME.xml; a suite that failed with no failing case in its report (a crash after the
last case) counts one failure more."""

import os
import sys
import xml.etree.ElementTree as ElementTree


def suite_counts(path, suite):
    """The cases of one GoogleTest report: (passed, failed, skipped, lines), or None without a readable report."""
    try:
        cases = list(ElementTree.parse(path).getroot().iter("testcase"))
    except (OSError, ElementTree.ParseError):
        return None
    passed, failed, skipped, lines = 0, 0, 0, []
    for case in cases:
        name = f"{suite}: {case.get('classname')}.{case.get('name')}"
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
            lines.append(f"FAILED {name}")
        elif case.get("result") == "skipped" or case.get("status") == "notrun":
            skipped += 1
            lines.append(f"SKIPPED {name}")
        else:
            passed += 1
    return passed, failed, skipped, lines


def main():
    arguments = sys.argv[1:]
    suites = None
    if "--suites" in arguments:
        at = arguments.index("--suites")
        suites = arguments[at + 1]
        del arguments[at:at + 2]
    path, echoed = arguments[0], set(arguments[1:])
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
        suite = suite_counts(os.path.join(suites, f"{name}.xml"), name) if suites else None
        if suite is not None:
            passed, failed, skipped = passed + suite[0], failed + suite[1], skipped + suite[2]
            lines += suite[3]
            if suite[1] == 0 and (case.find("failure") is not None or case.get("status") != "run"):
                failed += 1
                lines.append(f"FAILED {name}: the suite failed with every case passed")
            continue
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
