#!/usr/bin/env python3
"""Reads the Bilans export as a spreadsheet would (openpyxl for the
workbook, the csv module with a French dialect for the CSV files) and
compares every cell with what the window showed (window.tsv, written by
the scenario's `tables` step); checks that every total is a formula, that
every formula's stored value is what LibreOffice computes when it
recalculates the workbook, the summary's references and each sheet's
pages. Usage: check_export.py FOLDER"""

import csv
import datetime
import os
import re
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

import openpyxl

MONTHS = ["janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août",
          "septembre", "octobre", "novembre", "décembre"]
# The window's tables and the sheets that hold them.
SHEETS = {"TableVentes": "Ventes", "TableProduits": "Produits",
          "TableEncaissements": "Encaissements", "TableDettes": "Dettes",
          "TableStock": "Stock"}

# The window's charts and the sheets that draw them.
CHARTS = {"ChartVentes": "Ventes", "ChartProduits": "Produits",
          "ChartEncaissements": "Encaissements", "ChartDettesAge": "Dettes",
          "ChartDebiteurs": "Dettes"}
# The workbook's sheets: the summary, the tables, each chart on a sheet of
# its own after its table's.
NAMES = ["Résumé", "Ventes", "Graphique Ventes", "Produits", "Graphique Produits",
         "Encaissements", "Graphique Encaissements", "Dettes", "Graphique Dettes par âge",
         "Graphique Débiteurs", "Stock", "Lignes", "Caisse matériel", "Caisse boissons"]
COMPARED_NAMES = ["Comparaison ventes", "Graphique Saisons ventes",
                  "Comparaison encaissements", "Graphique Saisons encaissements"]
# Number and date forms say they are French, so that any reader's language
# shows them in French.
FRENCH = "[$-40C]"
# While two seasons are compared, the sales' and the receipts' views show
# the comparisons, which the workbook adds as sheets of their own with
# their charts.
COMPARED = {"TableVentes": "Comparaison ventes", "TableEncaissements": "Comparaison encaissements",
            "ChartVentes": "Comparaison ventes",
            "ChartEncaissements": "Comparaison encaissements"}

failures = []


def fail(message):
    failures.append(message)


def read_window(path):
    tables, name = {}, None
    for line in path.read_text(encoding="utf-8").split("\n"):
        if name is None:
            if line:
                name, tables[line] = line, []
            continue
        if not line:
            name = None
            continue
        tables[name].append(line.split("\t"))
    return tables


def french(value, decimals=None):
    text = f"{value:.{decimals}f}" if decimals is not None else f"{value:.6f}".rstrip("0").rstrip(".")
    if text in ("-0", "-0.00"):
        text = text[1:]
    return text.replace(".", ",")


def shown_xlsx(cell):
    """The text the window shows for a workbook cell, from its type and format."""
    value, form = cell.value, cell.number_format
    if value is None:
        return ""
    if isinstance(value, (datetime.datetime, float)) or "0.00" in form:
        if not form.startswith(FRENCH):
            fail(f"{cell.coordinate}: the form {form} does not say it is French")
        form = form[len(FRENCH):]
    if isinstance(value, datetime.datetime):
        if form == "mmmm yyyy":
            return f"{MONTHS[value.month - 1]} {value.year}"
        if form != "dd/mm/yyyy":
            fail(f"{cell.coordinate}: a date in the form {form}")
        return value.strftime("%d/%m/%Y")
    if isinstance(value, (int, float)):
        if "0.00" in form:
            if "€" not in form:
                fail(f"{cell.coordinate}: an amount without €: {form}")
            return french(value, 2) + " €"
        if form == "0":
            return str(int(value))
        return french(value)
    if not isinstance(value, str):
        fail(f"{cell.coordinate}: a value of type {type(value).__name__}")
    return value


def shown_as(whole, label):
    """Whether the window's chart label shows that category: whole, or a
    name cut at its end where the chart has no room for it."""
    return label == whole or (label.endswith("…") and whole.startswith(label[:-1]))


def shown_csv(field, window_text):
    """The text the window shows for a CSV field: amounts end in " €" there,
    months are named there; the CSV holds the number or the date."""
    if window_text.endswith(" €"):
        return field + " €"
    for n, month in enumerate(MONTHS, 1):
        if window_text.startswith(month + " ") and len(field) == 10:
            day, mon, year = field.split("/")
            return f"{MONTHS[int(mon) - 1]} {year}" if day == "01" else field
    return field


def compared(window):
    """Whether the window showed two seasons compared."""
    return any(header.startswith("Écart") for header in window["TableVentes"][0])


def views(window):
    """The window's tables and charts and the sheets that hold them."""
    if not compared(window):
        return SHEETS, CHARTS
    return ({t: COMPARED.get(t, s) for t, s in SHEETS.items()},
            {c: COMPARED.get(c, s) for c, s in CHARTS.items()})


# LibreOffice's setting that has it recalculate every workbook it opens.
RECALCULATE = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load">
<prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>"""


def check_formulas(path, formulas, values):
    """Every formula's stored value is what a spreadsheet computes: the
    workbook as LibreOffice saves it once it has recalculated it."""
    with tempfile.TemporaryDirectory() as work:
        user = Path(work, "profile", "user")
        user.mkdir(parents=True)
        (user / "registrymodifications.xcu").write_text(RECALCULATE)
        subprocess.run(["libreoffice", f"-env:UserInstallation=file://{work}/profile", "--headless",
                        "--convert-to", "xlsx", "--outdir", f"{work}/out", str(path)],
                       env=dict(os.environ, LC_ALL="C"), check=True, capture_output=True, timeout=300)
        again = openpyxl.load_workbook(Path(work, "out", path.name), data_only=True)
    for sheet in formulas.worksheets:
        for cell in (c for row in sheet.iter_rows() for c in row):
            if isinstance(cell.value, str) and cell.value.startswith("="):
                stored = values[sheet.title][cell.coordinate].value
                computed = again[sheet.title][cell.coordinate].value
                if not isinstance(computed, (int, float)) or abs(computed - stored) > 0.005:
                    fail(f"{sheet.title}!{cell.coordinate}: {cell.value} is {computed}, stored {stored}")


def check_totals(book, values, window):
    """Each total row's figures are formulas (bold, within the window's
    table where the sheet shows one); the summary refers to the totals it
    repeats, and says the day of the debts and the stock."""
    shown_tables = {s: window[t] for t, s in views(window)[0].items()}
    for sheet in book.worksheets[1:]:
        shown, stored = shown_tables.get(sheet.title), values[sheet.title]
        width = sheet.max_column if shown is None else len(shown[0])
        rows = [r for r in range(2, sheet.max_row + 1)
                if str(stored.cell(row=r, column=1).value or "").startswith("Total")]
        if sheet.title != "Lignes" and not rows:
            fail(f"{sheet.title}: no total row")
        for cell in (c for r in rows for c in sheet[r][1:width]):
            if cell.font.b and isinstance(stored[cell.coordinate].value, (int, float)) and \
                    not str(cell.value).startswith("="):
                fail(f"{sheet.title}!{cell.coordinate}: the total {cell.value!r} is no formula")
    summary = book["Résumé"]
    labels = {row[0].value: row[1].value for row in summary.iter_rows(min_row=2) if len(row) > 1}
    expected = {"Ventes des deux caisses": "='Ventes'!",
                "Encaissements de la caisse matériel": "='Encaissements'!",
                "Encaissements de la caisse boissons": "='Encaissements'!",
                "Dettes": "='Dettes'!", "Valeur du stock": "='Stock'!"}
    for label, start in expected.items():
        if not str(labels.get(label)).startswith(start):
            fail(f"Résumé: {label} is {labels.get(label)}")
    texts = [c.value for row in summary.iter_rows() for c in row if isinstance(c.value, str)]
    if not any(re.fullmatch(r"Dettes et stock au \d\d/\d\d/\d{4}", t) for t in texts):
        fail(f"Résumé: no day of the debts and stock in {texts}")


def check_pages(folder, book):
    """Each sheet prints one page wide, its header row on every page, the
    sheet's name and the period (the day, for today's figures) above, "Page n / N" below."""
    with zipfile.ZipFile(folder / "Bilans.xlsx") as archive:
        listing = archive.read("xl/workbook.xml").decode()
        relations = archive.read("xl/_rels/workbook.xml.rels").decode()
        for name, rid in re.findall(r'<sheet name="([^"]+)" sheetId="\d+" r:id="(rId\d+)"', listing):
            name = name.replace("&amp;", "&")
            target = re.search(f'Id="{rid}"[^>]*Target="([^"]+)"', relations)[1]
            xml = archive.read("xl/" + target).decode()
            header = re.search(r"<oddHeader>(.*?)</oddHeader>", xml)
            footer = re.search(r"<oddFooter>(.*?)</oddFooter>", xml)
            # Debts and stock are today's whatever the period: their pages
            # say the day they were read.
            of_today = name in ("Dettes", "Stock", "Graphique Dettes par âge", "Graphique Débiteurs")
            heading = "&amp;RAu " if of_today else "&amp;RPériode : "
            if not header or f"&amp;C{name}{heading}" not in header[1]:
                fail(f"{name}: the page header is {header and header[1]}")
            if not footer or "&amp;CPage &amp;P / &amp;N" not in footer[1]:
                fail(f"{name}: the page footer is {footer and footer[1]}")
            if 'paperSize="9"' not in xml:
                fail(f"{name}: not on A4")
            if name.startswith("Graphique"):
                if 'orientation="landscape"' not in xml:
                    fail(f"{name}: a chart printed upright")
                continue
            if 'fitToPage="1"' not in xml or 'fitToHeight="0"' not in xml:
                fail(f"{name}: not fitted to one page wide")
    for sheet in book.worksheets:
        if sheet.title != "Résumé" and sheet.print_title_rows != "$1:$1":
            fail(f"{sheet.title}: the header row is not on every page ({sheet.print_title_rows})")


def check_workbook(folder, window):
    formulas = openpyxl.load_workbook(folder / "Bilans.xlsx")
    book = openpyxl.load_workbook(folder / "Bilans.xlsx", data_only=True)
    sheets, charts = views(window)
    names = NAMES + (COMPARED_NAMES if compared(window) else [])
    if formulas.sheetnames != names:
        fail(f"sheets: {formulas.sheetnames}")
    values = {s.title: book[s.title] for s in book.worksheets}
    check_totals(formulas, values, window)
    check_formulas(folder / "Bilans.xlsx", formulas, values)
    check_pages(folder, formulas)
    for table, sheet_name in sheets.items():
        sheet = book[sheet_name]
        rows = list(sheet.iter_rows())
        shown = window[table]
        if sheet.freeze_panes != "A2":
            fail(f"{sheet_name}: the header row is not frozen ({sheet.freeze_panes})")
        for cell in rows[0]:
            if cell.value and not cell.font.b:
                fail(f"{sheet_name}!{cell.coordinate}: the header is not bold")
        width = len(shown[0])
        got = [[shown_xlsx(c) for c in row[:width]] for row in rows[:len(shown)]]
        if got != shown:
            fail(f"{sheet_name}: the workbook shows\n  {got}\nwhere the window shows\n  {shown}")
        # Every amount, quantity and count is a number, every date a date.
        for row in rows[1:len(shown)]:
            for cell, text in zip(row, shown[rows.index(row)]):
                if text.endswith(" €") and not isinstance(cell.value, (int, float)):
                    fail(f"{sheet_name}!{cell.coordinate}: {cell.value!r} is not a number")
        for column, cells in enumerate(zip(*shown)):
            width = sheet.column_dimensions[openpyxl.utils.get_column_letter(column + 1)].width
            if width is None or width + 0.5 < min(max(len(t) for t in cells), 60):
                fail(f"{sheet_name}: column {column + 1} is too narrow ({width})")
    # Each chart beside its table: its data as the window's chart shows it,
    # and a chart of the spreadsheet's own drawn from them.
    for name, sheet_name in charts.items():
        chart = window.get(name)
        if chart is None:
            fail(f"the window has no chart {name}")
            continue
        sheet = book[sheet_name]
        title, categories, series = chart[0][0], chart[1], chart[2:]
        if categories == ["(aucune)"]:
            categories = []
        found = [cell for row in sheet.iter_rows(max_row=1) for cell in row if cell.value == title]
        if not found:
            fail(f"{sheet_name}: no data of the chart « {title} »")
            continue
        column = found[0].column
        got_categories = [sheet.cell(row=r + 2, column=column).value or ""
                          for r in range(len(categories))]
        if not all(map(shown_as, got_categories, categories)):
            fail(f"{sheet_name}: the chart « {title} » is of {got_categories}, the window's of {categories}")
        for s, values in enumerate(series):
            got = [french(sheet.cell(row=r + 2, column=column + 1 + s).value or 0, 2)
                   for r in range(len(categories))]
            if got != values[1:]:
                fail(f"{sheet_name}: « {title} » {values[0]}: {got}, the window: {values[1:]}")
    with zipfile.ZipFile(folder / "Bilans.xlsx") as archive:
        drawn = [n for n in archive.namelist() if n.startswith("xl/charts/chart")]
        # The comparisons' charts, the workbook's last: the season before in
        # a paler shade of the season shown's colour.
        last = sorted(drawn, key=lambda n: int(re.sub(r"\D", "", n)))[-2:]
        for name in last if compared(window) else []:
            fills = re.findall(r'srgbClr val="([0-9A-F]{6})"', archive.read(name).decode())
            shades = [[int(f[i:i + 2], 16) for i in (0, 2, 4)] for f in fills]
            if len(shades) != 2 or not all(b > a for a, b in zip(*shades)):
                fail(f"{name}: the seasons' colours are {fills}")
    expected = len(CHARTS) + (2 if compared(window) else 0)
    if len(drawn) != expected:
        fail(f"the workbook draws {len(drawn)} charts, not {expected}")
    # The lines and the registers' entries add up to the views' totals: the
    # season shown's, in a comparison (whose dates the club's files all read).
    lines = list(book["Lignes"].iter_rows(min_row=2, values_only=True))

    def shown_season(table, amounts):
        """The total row's cell of the season shown."""
        header = window[table][0]
        return window[table][-1][[h.startswith(amounts + " ") for h in header].index(True)]
    sales_total = (shown_season("TableVentes", "Total") if compared(window)
                   else window["TableVentes"][-1][-1])
    if french(sum(row[6] for row in lines), 2) + " €" != sales_total:
        fail(f"Lignes: the amounts add up to {sum(row[6] for row in lines)}, not {sales_total}")
    if sum(isinstance(row[1], datetime.datetime) for row in lines) == 0:
        fail("Lignes: no date is a date")
    totals = {r[1]: r[-1] for r in window["TableEncaissements"] if r[0] == "Total"}
    if compared(window):
        totals = {"Caisse matériel": shown_season("TableEncaissements", "Matériel"),
                  "Caisse boissons": shown_season("TableEncaissements", "Boissons")}
    for register in ("Caisse matériel", "Caisse boissons"):
        last = list(book[register].iter_rows(values_only=True))[-1]
        if french(last[-1], 2) + " €" != totals[register]:
            fail(f"{register}: total {last[-1]}, the window says {totals[register]}")


def check_csv(folder, window):
    for table, sheet_name in views(window)[0].items():
        path = folder / f"Bilans - {sheet_name}.csv"
        raw = path.read_bytes()
        if not raw.startswith(b"\xef\xbb\xbf"):
            fail(f"{path.name}: no byte order mark")
        if b"\r\n" not in raw or b"\n" in raw.replace(b"\r\n", b""):
            fail(f"{path.name}: lines do not end in CR LF")
        with path.open(encoding="utf-8-sig", newline="") as text:
            rows = list(csv.reader(text, delimiter=";", quotechar='"'))
        shown = window[table]
        got = [[shown_csv(f, s) for f, s in zip(row, shown_row)]
               for row, shown_row in zip(rows, shown)]
        if len(rows) != len(shown) or got != shown:
            fail(f"{path.name}: the file reads\n  {got}\nwhere the window shows\n  {shown}")


def main():
    folder = Path(sys.argv[1])
    window = read_window(folder / "window.tsv")
    if set(SHEETS) - set(window):
        fail(f"the window's tables: {sorted(window)}")
    else:
        check_workbook(folder, window)
        check_csv(folder, window)
    for failure in failures:
        print(failure)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
