# The three exports run from the main dialog, each after its sort button, on a generated table;
# every workbook is read back and compared cell by cell and font by font.
import expected_sheets as xs
from workbook_check import compare
from xlforms_harness import Run, expect

run = Run("exports")
run.tables(150)
steps = ["wait EXCEl-Formulare"]
for button in ["Produkt-&Matrix", "&Rechnungs-Übersicht", "&Produkt-Übersicht"]:
    steps += ["press " + button, "press \"&Erzeuge Excel-Sheet\"", "done Total", "wait EXCEl-Formulare"]
steps += ["press &Ende", "closed EXCEl-Formulare"]
out = run.run(steps)
expect("box " not in out, "no alert expected:\n" + out)
rows = xs.read_table(run.data + "/PRODUCT.DBF")
sheet = compare(run.in_prog("Matrix.xls"), xs.matrix(rows), [5, 12, 10], "A1:D1")
for c in (1, 2, 3):
    expect(sheet.bottom_border(1, c) == 1, "Matrix.xls: no thin border under label %d" % c)
compare(run.in_prog("Rechnung.xls"), xs.invoice(rows), [5, 12, 12, 10, 10], "A1:E1")
compare(run.in_prog("Product.xls"), xs.product(rows), [20, 10, 30], "A1:C1")
run.done()
print("ok")
