#!/usr/bin/env python3
"""Prints the Bilans workbook as LibreOffice does, in an English session
(LC_ALL=C, a profile of its own), to PDF, and reads the PDF (pdfinfo,
pdftotext): no more pages than the layout makes, each chart whole on a
page of its own, every page headed and numbered, months and amounts in
French. Usage: check_workbook_print.py FOLDER (which holds Bilans.xlsx)"""

import math
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

import openpyxl

# A4 in points, less the margins the workbook keeps (0.75 inch above and
# below: the page header and footer are within them).
A4 = (595, 842)
MARGINS = 2 * 54
# Rows are at most 15 points high (the workbook's default row) at full
# size; fitting a sheet to the page's width only makes them smaller.
ROW = 15
# The chart sheets and their charts' titles, as the window names them.
CHARTS = {"Graphique Ventes": "Ventes par mois", "Graphique Produits": "Les dix produits les plus vendus",
          "Graphique Encaissements": "Encaissements par mois",
          "Graphique Dettes par âge": "Dettes selon leur âge",
          "Graphique Débiteurs": "Les dix plus grandes dettes"}

failures = []


def fail(message):
    failures.append(message)


def most_pages(book):
    """The pages the layout makes at most: a worksheet one page wide takes
    as many pages as its printed rows need at full size, its header row
    repeated on each (fewer once shrunk to the width); a chart sheet one."""
    pages = {}
    for sheet in book.worksheets:
        height = (A4[0] if sheet.page_setup.orientation == "landscape" else A4[1]) - MARGINS
        per_page = height // ROW - 1
        area = sheet.print_area[0] if sheet.print_area else f"A1:A{sheet.max_row}"
        last = int(re.search(r"(\d+)$", area.replace("$", ""))[1])
        pages[sheet.title] = max(1, math.ceil((last - 1) / per_page))
    for chart in book.chartsheets:
        pages[chart.title] = 1
    return pages


def main():
    folder = Path(sys.argv[1])
    book = openpyxl.load_workbook(folder / "Bilans.xlsx")
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, LC_ALL="C", LANG="C", LANGUAGE="")
        subprocess.run(["libreoffice", f"-env:UserInstallation=file://{work}/profile", "--headless",
                        "--convert-to", "pdf", "--outdir", work, str(folder / "Bilans.xlsx")],
                       env=env, check=True, capture_output=True, timeout=300)
        pdf = Path(work) / "Bilans.pdf"
        info = subprocess.run(["pdfinfo", pdf], check=True, capture_output=True, text=True).stdout
        count = int(re.search(r"^Pages:\s+(\d+)", info, re.M)[1])
        pages = [subprocess.run(["pdftotext", "-layout", "-f", str(n), "-l", str(n), pdf, "-"],
                                check=True, capture_output=True, text=True).stdout
                 for n in range(1, count + 1)]
    bound = most_pages(book)
    print(f"{count} pages, at most {sum(bound.values())}: {bound}")
    if count > sum(bound.values()):
        fail(f"{count} pages, the layout makes at most {sum(bound.values())}")
    if count < len(book.sheetnames):
        fail(f"{count} pages for {len(book.sheetnames)} sheets")
    for n, text in enumerate(pages, 1):
        if f"Page {n} / {count}" not in text:
            fail(f"page {n} is not numbered: {text[-200:]!r}")
        if "Période : du 01/09/2007 au 31/08/2008" not in text and "Au 20/10/2008" not in text:
            fail(f"page {n} says neither the period nor the day of its figures")
    # A chart alone on its page, under its sheet's name: nothing else of
    # the workbook's sheets' heads there.
    for name, title in CHARTS.items():
        on = [n for n, text in enumerate(pages, 1) if re.search(rf"^\s*{re.escape(name)}\s", text, re.M)]
        if len(on) != 1 or title not in pages[on[0] - 1]:
            fail(f"{name}: on pages {on}, the chart « {title} » not whole on one")
    whole = "\n".join(pages)
    # French whatever the session's language: months by their French names,
    # amounts with a decimal comma, a space between thousands, "€" after.
    for text in ("septembre 2007", "août 2008", "4 128,90 €", "3 669,30 €"):
        if text not in re.sub(r"[\u00a0\u202f]", " ", whole):
            fail(f"the printed workbook does not show « {text} »")
    if re.search(r"\d\.\d\d\s?€|€\d|September|August", whole):
        fail("an amount or a month in English")
    summary = pages[0]
    for text in ("Dettes et stock au 20/10/2008", "Exporté le", "20/10/2008 à 14:35"):
        if text not in summary:
            fail(f"the summary does not say « {text} »")
    for failure in failures:
        print(failure)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
