# A cancelled export: the workbook holds what was written up to the cancel, the launcher ends
# with its closing alert, and every later export ends with its alert too.
import expected_sheets as xs
from workbook_check import Sheet
from xlforms_harness import Run, expect

run = Run("cancel")
run.tables(1500)
out = run.run([
    "wait EXCEl-Formulare",
    "press &Rechnungs-Übersicht",
    "press \"&Erzeuge Excel-Sheet\"",
    "wait Total",
    "press &Cancel",
    "box OK",
    "wait EXCEl-Formulare",
    "press Produkt-&Matrix",
    "press \"&Erzeuge Excel-Sheet\"",
    "box OK",
    "wait EXCEl-Formulare",
    "press &Ende",
    "closed EXCEl-Formulare"], timeout=120)
expect('box "ACHTUNG" "EXEL-Konvertierung wird beendet !"' in out, out)
expect('box "ATTENTION" "EXEL-Converting closed !"' in out, out)
rows = xs.read_table(run.data + "/PRODUCT.DBF")
full = xs.invoice(rows)
written = Sheet(run.in_prog("Rechnung.xls")).values()
customers = [k for k in written if k[1] == 2 and k[0] > 3]
expect(len(customers) < len([k for k in full.cells if k[1] == 2 and k[0] > 3]),
       "the cancelled export wrote every customer")
for key, value in written.items():
    want = full.cells.get(key)
    ok = want.matches(value) if isinstance(want, xs.Amount) else want == value
    expect(ok, "cell %s is %r, expected %r" % (key, value, want))
expect(len(Sheet(run.in_prog("Matrix.xls")).values()) > 20, "the later export is not complete")
run.done()
print("ok")
