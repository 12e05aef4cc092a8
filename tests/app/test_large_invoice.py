# The invoice overview of a table whose rows pass the 65,536 a .xls sheet holds: the workbook is
# saved as Open XML under the name Rechnung.xls and read back with openpyxl, cell by cell and font
# by font. About half a minute, so it runs outside CI (label app_long).
import sys

import expected_sheets as xs
from workbook_check import compare
from xlforms_harness import Run, expect

records = int(sys.argv[3]) if len(sys.argv) > 3 else 60000
run = Run("large-invoice")
run.table("PRODUCT.DBF", records, 11)
run.table("PRODUCT1.DBF", 40, 5)
out = run.run(["wait EXCEl-Formulare 600", "press &Rechnungs-Übersicht", "press \"&Erzeuge Excel-Sheet\"",
               "done Total 600", "wait EXCEl-Formulare", "press &Ende", "closed EXCEl-Formulare"], timeout=900)
expect("box " not in out, "no alert expected:\n" + out)
path = run.in_prog("Rechnung.xls")
with open(path, "rb") as f:
    expect(f.read(4) == b"PK\x03\x04", "Rechnung.xls is not an Open XML workbook")
expected = xs.invoice(xs.read_table(run.data + "/PRODUCT.DBF"))
last_row = max(r for r, _ in expected.cells)
expect(last_row > 65536, "only %d rows: the table is too small for this test" % last_row)
compare(path, expected, [5, 12, 12, 10, 10], "A1:E1")
run.done()
print("ok")
