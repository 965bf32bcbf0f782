#!/usr/bin/env python3
"""Looks at the pictures of the charts scenario as a person would: each
view is the window's size, its charts show bars of the series' colours
where there are figures, and none where there are not.
Usage: look.py FOLDER"""

import sys
from pathlib import Path

from PIL import Image

# The bars' colours: material, drinks, corrections + and −.
COLOURS = {"matériel": (40, 90, 170), "boissons": (220, 140, 30),
           "corrections +": (60, 150, 80), "corrections −": (190, 50, 50)}
# What each picture must show.
EXPECTED = {"ventes.png": ["matériel", "boissons"],
            "encaissements.png": ["matériel", "boissons", "corrections +", "corrections −"],
            "dettes.png": ["matériel"], "graphiques.png": ["matériel", "boissons"],
            "stock.png": [], "vide.png": []}


def count(image, colour):
    """Pixels of about that colour."""
    return sum(1 for p in image.getdata()
               if all(abs(a - b) <= 12 for a, b in zip(p[:3], colour)))


def main():
    folder = Path(sys.argv[1])
    failures = []
    sizes = {}
    for name, shown in EXPECTED.items():
        path = folder / name
        if not path.exists():
            failures.append(f"{name}: no picture")
            continue
        image = Image.open(path).convert("RGB")
        sizes[name] = image.size
        for series, colour in COLOURS.items():
            pixels = count(image, colour)
            if series in shown and pixels < 200:
                failures.append(f"{name}: no bar of {series} ({pixels} pixels)")
            if series not in shown and series != "matériel" and pixels > 50:
                failures.append(f"{name}: bars of {series} where none should be ({pixels})")
        if not shown and count(image, COLOURS["matériel"]) > 50:
            failures.append(f"{name}: bars where there are no figures")
    views = {sizes[n] for n in ("ventes.png", "encaissements.png", "dettes.png", "stock.png")
             if n in sizes}
    if len(views) != 1:
        failures.append(f"the views differ in size: {views}")
    if "graphiques.png" in sizes and "ventes.png" in sizes:
        width, height = sizes["graphiques.png"]
        if width < sizes["ventes.png"][0] or height < sizes["ventes.png"][1] // 2:
            failures.append(f"the exported picture is small: {sizes['graphiques.png']}")
    for failure in failures:
        print(failure)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
