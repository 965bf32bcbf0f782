#!/usr/bin/env python3
"""Reads back the Bilans printed as PDF files (poppler's pdftotext, pdfinfo
and pdffonts) and compares them with what was printed (printed.tsv,
written by bilans_print_pdf): every row of every table, its cells in
order; the amounts of a column right-aligned; the heading; "Page n / N"
on each page, N being the pages the layout counted; the orientation; the
font. Usage: check_print.py FOLDER"""

import html
import re
import subprocess
import sys
from pathlib import Path

failures = []


def fail(message):
    failures.append(message)


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def words(text):
    return " ".join(text.split())


def read_printed(folder):
    font, report, views = None, None, []
    for line in (folder / "printed.tsv").read_text(encoding="utf-8").splitlines():
        kind, *fields = line.split("\t")
        if kind == "font":
            font = fields[0]
        elif kind == "report":
            report = fields[0]
        elif kind == "view":
            name, pdf, pages, orientation, when, club, day = fields
            views.append({"name": name, "pdf": pdf, "pages": int(pages),
                          "orientation": orientation, "when": when, "club": club,
                          "day": day, "sheets": [], "charts": []})
        elif kind == "sheet":
            views[-1]["sheets"].append({"name": fields[0], "nameColumn": int(fields[1]),
                                        "headers": fields[2:], "rows": []})
        elif kind == "row":
            views[-1]["sheets"][-1]["rows"].append(fields)
        elif kind == "chart":
            views[-1]["charts"].append(fields[0])
    return font, report, views


def embedded_fonts(pdf):
    return [line.split()[0] for line in run("pdffonts", pdf).splitlines()[2:] if line.strip()]


def bbox_lines(pdf):
    """The PDF's lines of words, in reading order, each a list of (text,
    right edge in points), from pdftotext -bbox."""
    lines = []
    for page in run("pdftotext", "-bbox", pdf, "-").split("<page ")[1:]:
        rows = {}
        for x_min, y_min, x_max, text in re.findall(
                r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>',
                page):
            rows.setdefault(round(float(y_min)), []).append(
                (float(x_min), html.unescape(text), float(x_max)))
        for y in sorted(rows):
            lines.append([(text, x_max) for _, text, x_max in sorted(rows[y])])
    return lines


def check_alignment(view, sheet, lines, start):
    """The amounts of each column of amounts end at one place (their right
    edges within a tenth of a point), on the lines of the sheet's rows,
    looked for in order after its header. Returns where the sheet ends."""
    text_of = [" ".join(text for text, _ in line) for line in lines]
    at = next((i for i in range(start, len(lines))
               if words(" ".join(sheet["headers"][:2])) in text_of[i]), None)
    if at is None:
        fail(f"{view['name']}/{sheet['name']}: no header line")
        return start
    money = [c for c in range(len(sheet["headers"]))
             if any(c < len(row) and row[c].endswith(" €") for row in sheet["rows"])]
    edges = {c: [] for c in money}
    for row in sheet["rows"]:
        # The row's first line: its name's first word, then its other cells.
        first = row[0].split()[0] if sheet["nameColumn"] == 0 else row[0]
        cells = [first] + [cell for cell in row[1:] if cell]
        found = None
        for i in range(at + 1, len(lines)):
            position, whole = 0, True
            for cell in cells:
                position = text_of[i].find(cell, position)
                if position < 0:
                    whole = False
                    break
                position += len(cell)
            if whole:
                found = i
                break
        if found is None:
            fail(f"{view['name']}/{sheet['name']}: the row {row} is on no line")
            continue
        at = found
        euros = [x_max for text, x_max in lines[found] if text == "€"]
        amounts = [c for c in money if c < len(row) and row[c].endswith(" €")]
        if len(euros) != len(amounts):
            fail(f"{view['name']}/{sheet['name']}: {len(euros)} amounts on the line of {row}")
            continue
        for c, x_max in zip(amounts, euros):
            edges[c].append(x_max)
    for c, ends in edges.items():
        if ends and max(ends) - min(ends) > 0.1:
            fail(f"{view['name']}/{sheet['name']}: the amounts of \"{sheet['headers'][c]}\" "
                 f"end between {min(ends):.2f} and {max(ends):.2f} points")
    return at


def check_view(view):
    name, pdf = view["name"], view["pdf"]
    info = run("pdfinfo", pdf)
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    if pages != view["pages"]:
        fail(f"{name}: {pages} pages in the PDF, the layout counts {view['pages']}")
    width, height = map(float, re.search(r"^Page size:\s+([\d.]+) x ([\d.]+)", info, re.M)
                        .groups())
    if (width > height) != (view["orientation"] == "landscape"):
        fail(f"{name}: a page {width} x {height} printed {view['orientation']}")
    if abs(min(width, height) - 595) > 2 or abs(max(width, height) - 842) > 2:
        fail(f"{name}: a page {width} x {height} points is not A4")
    if name in ("Ventes", "Dettes") and view["orientation"] != "landscape":
        fail(f"{name}: its ten columns printed in portrait")
    if name == "Stock" and view["orientation"] != "portrait":
        fail(f"{name}: its five columns printed in landscape")

    raw = words(run("pdftotext", "-raw", pdf, "-"))
    layout = run("pdftotext", "-layout", pdf, "-")
    for text in [f"Bilans – {name}", view["when"], f"Imprimé le {view['day']}"] + (
            [view["club"]] if view["club"] else []):
        if words(text) not in raw:
            fail(f"{name}: the heading lacks \"{text}\"")
    for n in range(1, pages + 1):
        if f"Page {n} / {pages}" not in raw:
            fail(f"{name}: no \"Page {n} / {pages}\"")
    pdf_pages = layout.split("\f")
    lines, at = bbox_lines(pdf), 0
    for sheet in view["sheets"]:
        header = words(" ".join(sheet["headers"]))
        if header not in raw:
            fail(f"{name}/{sheet['name']}: the header row is not whole: {header}")
        for row in sheet["rows"]:
            text = words(" ".join(cell for cell in row if cell))
            if text not in raw:
                fail(f"{name}/{sheet['name']}: a row is not whole: {text}")
        at = check_alignment(view, sheet, lines, at)
    # Each chart on a page of its own, after the tables: its title there.
    for i, title in enumerate(view["charts"]):
        page = pdf_pages[pages - len(view["charts"]) + i] if pages >= len(view["charts"]) else ""
        if words(title) not in words(page):
            fail(f"{name}: the chart \"{title}\" is not alone on its page")


def main():
    folder = Path(sys.argv[1])
    font, report, views = read_printed(folder)
    if sys.platform.startswith("linux"):
        # Debian's Liberation Sans stands for Arial: the font chosen, and the
        # face the PDF holds.
        if font != "Arial":
            fail(f"the printer's font is {font!r}, not Arial")
        for pdf in [report] + [view["pdf"] for view in views]:
            faces = embedded_fonts(pdf)
            if not any("LiberationSans" in face for face in faces):
                fail(f"{Path(pdf).name} embeds {faces}, not Liberation Sans")
    if [view["name"] for view in views] != ["Ventes", "Encaissements", "Dettes", "Stock"]:
        fail(f"views printed: {[view['name'] for view in views]}")
    for view in views:
        if Path(view["pdf"]).parent.name != "Impressions":
            fail(f"{view['name']}: printed to {view['pdf']}, not in Impressions")
        check_view(view)
    for failure in failures:
        print(failure)
    if not failures:
        print(f"{len(views)} views read back: every row, the amounts aligned, the pages "
              "numbered and counted")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
