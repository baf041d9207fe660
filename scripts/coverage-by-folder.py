#!/usr/bin/env python3
"""Line and branch coverage per top folder, from gcovr's --json-summary."""
import json
import sys
from collections import defaultdict

totals = defaultdict(lambda: [0, 0, 0, 0])  # lines covered, lines, branches covered, branches
for entry in json.load(open(sys.argv[1]))["files"]:
    folder = entry["filename"].split("/")[0] if "/" in entry["filename"] else "."
    t = totals[folder]
    t[0] += entry["line_covered"]
    t[1] += entry["line_total"]
    t[2] += entry["branch_covered"]
    t[3] += entry["branch_total"]


def percent(covered, total):
    return f"{100.0 * covered / total:5.1f} %" if total else "    -  "


print(f"{'folder':<12} {'lines':>9} {'of':>7} {'branches':>9} {'of':>7}")
for folder in sorted(totals):
    lc, lt, bc, bt = totals[folder]
    print(f"{folder:<12} {percent(lc, lt):>9} {lt:>7} {percent(bc, bt):>9} {bt:>7}")
lc, lt, bc, bt = (sum(t[i] for t in totals.values()) for i in range(4))
print(f"{'all':<12} {percent(lc, lt):>9} {lt:>7} {percent(bc, bt):>9} {bt:>7}")
