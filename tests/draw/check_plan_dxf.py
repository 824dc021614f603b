#!/usr/bin/python3
"""Reads plans written by `nyluxora calc --draw` with ezdxf, a DXF reader we did not write, and
checks their layers, entity kinds and counts.

    check_plan_dxf.py NYLUXORA EXAMPLES_DIR
"""
import csv
import os
import subprocess
import sys
import tempfile

import ezdxf

POINTS, LABELS = "电气-照明-照度计算点", "电气-照明-照度标注"
L_ROOM = [(0, 0), (6000, 0), (6000, 3000), (3000, 3000), (3000, 6000), (0, 6000)]


def calc(exe, plan, tmp, name, *args):
    out, pts = os.path.join(tmp, name + ".dxf"), os.path.join(tmp, name + ".csv")
    room = ["--polygon", ";".join(f"{x},{y}" for x, y in L_ROOM)] if "L" in name else [
        "--rect", "0,0,6000,6000"]
    subprocess.run([exe, "--data-dir", tmp, "calc", plan, *room, "--density", "30*15",
                    "--out", out, "--csv", pts, *args], check=True, stdout=subprocess.DEVNULL)
    with open(pts, encoding="utf-8") as f:
        count = sum(1 for _ in csv.reader(f)) - 1
    return ezdxf.readfile(out), count


def kinds(doc):
    tally = {}
    for e in doc.modelspace():
        if e.dxf.layer in (POINTS, LABELS):
            assert e.has_xdata("NYLUXORA"), e.dxftype()
            key = (e.dxftype(), e.dxf.layer)
            tally[key] = tally.get(key, 0) + 1
    return tally


def inside(x, y, poly, tol=1e-3):
    hit = False
    for (ax, ay), (bx, by) in zip(poly, poly[1:] + poly[:1]):
        if min(ax, bx) - tol <= x <= max(ax, bx) + tol and min(ay, by) - tol <= y <= max(ay, by) + tol \
                and abs((bx - ax) * (y - ay) - (by - ay) * (x - ax)) <= tol * max(abs(bx - ax), abs(by - ay), 1):
            return True
        if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
            hit = not hit
    return hit


def main():
    exe, examples = sys.argv[1], sys.argv[2]
    plan = os.path.join(examples, "office.dxf")
    with tempfile.TemporaryDirectory() as tmp:
        doc, n = calc(exe, plan, tmp, "points", "--draw", "points", "--labels")
        assert doc.layers.has_entry(POINTS) and doc.layers.has_entry(LABELS)
        t = kinds(doc)
        assert t.get(("POINT", POINTS)) == n, (t, n)
        assert t.get(("TEXT", LABELS), 0) >= n, (t, n)
        assert ("HATCH", POINTS) not in t, t

        doc, n = calc(exe, plan, tmp, "lines", "--draw", "lines", "--effect", "彩虹")
        t = kinds(doc)
        assert t.get(("LWPOLYLINE", POINTS), 0) >= 3 and t.get(("TEXT", LABELS), 0) >= 3, t
        assert ("POINT", POINTS) not in t and ("HATCH", POINTS) not in t, t

        doc, n = calc(exe, plan, tmp, "areas-L", "--draw", "areas")
        t = kinds(doc)
        hatches = [e for e in doc.modelspace() if e.dxftype() == "HATCH" and e.dxf.layer == POINTS]
        assert len(hatches) >= 3 and all(h.dxf.solid_fill == 1 for h in hatches), t
        for h in hatches:
            for path in h.paths:
                for v in path.vertices:
                    assert inside(v[0], v[1], L_ROOM), (v[0], v[1])
        # The legend: one swatch per level, beside the room.
        assert t.get(("SOLID", POINTS), 0) >= 3, t
    print("ok")


if __name__ == "__main__":
    main()
