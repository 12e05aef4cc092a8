# The main dialog's own behaviour: a header without an order, a header with one (the workbook
# button still follows the last sort button), the spare buttons, and a table with more fields than
# the grid has columns.
import os

from xlforms_harness import FIELDS, Run, expect, write_dbf

run = Run("dialog")
run.tables(60)
out = run.run([
    "wait EXCEl-Formulare",
    "header 110 5",
    "box OK",
    "header 110 2",
    "press &?????",
    "box OK",
    "press \"&Erzeuge Excel-Sheet\"",
    "done Total",
    "wait EXCEl-Formulare",
    "press &Ende",
    "closed EXCEl-Formulare"])
expect('box "ACHTUNG" "Kein Index für die Spalte : Betrag vorhanden !"' in out, out)
expect('box "Ungenutzt" "Reserve für weitere Beispiele"' in out, out)
expect(os.path.exists(run.in_prog("Matrix.xls")), "the header click changed the export")
expect(not os.path.exists(run.in_prog("Rechnung.xls")), "the header click changed the export")
run.done()

# Eight fields: the header handlers follow the grid's six columns, not the table's fields.
run = Run("wide")
wide = FIELDS + [("NOTE", "C", 12, 0), ("QTY", "N", 4, 0)]
records = [(7, "Meyer", "Program 02", "R-7", 12.5, "20240105", "first", 3),
           (3, "Arnold", "Program 01", "R-3", 9.25, "20240106", "second", 1)]
write_dbf(os.path.join(run.data, "PRODUCT.DBF"), records, wide)
write_dbf(os.path.join(run.data, "PRODUCT1.DBF"), records, wide)
run.run(["wait EXCEl-Formulare", "header 110 3", "press &Ende", "closed EXCEl-Formulare"])
run.done()
print("ok")
