"""Reads the debt statements that debt-statements.scn saved (FOLDER/Relevés)
with pdftotext and checks each against the window's Dettes table
(FOLDER/window.tsv): a file for each debtor and no other, named after him;
his name, the date, each owed line (its amount its quantity times its unit
price), the lines adding up to the debt, the total printed, the closing
line; "Page n / N" only on a statement of several pages, the total on the
last one."""
import re
import subprocess
import sys
from decimal import Decimal
from pathlib import Path

folder = Path(sys.argv[1])
today = "20/10/2008"
failures = []


def money(text):
    return Decimal(text.replace("\u202f", "").replace(" ", "").replace("€", "").replace(",", "."))


def debtors():
    rows = (folder / "window.tsv").read_text(encoding="utf-8").split("\n")
    start = rows.index("TableDettes") + 2
    found = []
    for row in rows[start:]:
        cells = row.split("\t")
        if not row or cells[0] in ("Avoirs", "Total des dettes"):
            break
        found.append((cells[0], money(cells[1]), int(cells[2])))
    return found


LINE = re.compile(r"^\s*(\d\d/\d\d/\d{4})\s+(.+?)\s+(\d+(?:,\d+)?)\s+(\d+,\d\d €)\s+"
                  r"(\d+,\d\d €)\s+(\d+)\s*$")


def pdf_text(path, page=None):
    pages = ["-f", str(page), "-l", str(page)] if page else []
    return subprocess.run(["pdftotext", "-layout", *pages, str(path), "-"], check=True,
                          capture_output=True, text=True).stdout


expected = debtors()
if len(expected) != 13:
    failures.append(f"the window lists {len(expected)} debtors, not the club's 13")
statements = folder / "Relevés"
names = {f"Relevé de dettes - {name} - 20-10-2008.pdf" for name, _, _ in expected}
written = {path.name for path in statements.iterdir()}
if written != names:
    failures.append(f"files {sorted(written ^ names)} differ from the debtors")
for name, owed, count in expected:
    path = statements / f"Relevé de dettes - {name} - 20-10-2008.pdf"
    if not path.exists():
        continue
    text = pdf_text(path)
    pages = text.rstrip("\f").split("\f")
    lines = [LINE.match(line) for line in text.splitlines()]
    lines = [line for line in lines if line]
    where = f"{path.name}:"
    if f"\n{name}\n" not in "\n" + "\n".join(l.strip() for l in text.splitlines()) + "\n":
        failures.append(f"{where} no line with the member's name")
    if f"Le {today}" not in text:
        failures.append(f"{where} no date")
    if len(lines) != count:
        failures.append(f"{where} {len(lines)} lines, the window says {count}")
    total = sum((money(line.group(5)) for line in lines), Decimal(0))
    if total != owed:
        failures.append(f"{where} lines add up to {total}, the debt is {owed}")
    for line in lines:
        if money(line.group(4)) * Decimal(line.group(3).replace(",", ".")) != money(line.group(5)):
            failures.append(f"{where} {line.group(0).strip()}: not quantity × unit price")
    printed = re.findall(r"Total dû : (\d+,\d\d €)", text)
    if printed != [f"{owed:.2f}".replace(".", ",") + " €"]:
        failures.append(f"{where} total printed {printed}, the debt is {owed}")
    if "À régler auprès du trésorier du club." not in pages[-1]:
        failures.append(f"{where} no closing line on its last page")
    if "Total dû" not in pages[-1]:
        failures.append(f"{where} the total is not on the last page")
    numbers = re.findall(r"Page (\d+) / (\d+)", text)
    wanted = [] if len(pages) == 1 else [(str(n), str(len(pages))) for n in range(1, len(pages) + 1)]
    if numbers != wanted:
        failures.append(f"{where} page numbers {numbers} on {len(pages)} page(s)")
    # DUPONT Jean's 56 lines take two pages; the club's others, one.
    if len(pages) != (2 if name == "DUPONT Jean" else 1):
        failures.append(f"{where} {len(pages)} pages")

for failure in failures:
    print(failure)
print(f"{len(expected)} statements read, {len(failures)} failure(s)")
sys.exit(1 if failures else 0)
