# The error handler end to end, one case per run: the report file (its sections, CR LF lines,
# the end-of-file byte, the rotating slots, never replacing another report), the error dialog and
# its verdicts, and the failures of bad input (missing table or field, a table locked by another
# process, a damaged index, a failed save, a long program path).
import os
import subprocess
import sys

from xlforms_harness import FIELDS, Run, expect, fail, write_dbf

SECTIONS = ["Anwendung\r\n==========\r\n", "\r\nStack Aufrufe\r\n===========\r\n",
            "\r\nSystem\r\n======\r\n", "\r\nVariable in Gebrauch \r\n====================\r\n",
            "\r\nGenutzte RDDs\r\n=============\r\n   DBF\r\n", "   DBFCDX\r\n",
            "\r\ngeöffnete Datenbank  \r\n===================\r\n",
            "\r\ngenutzte Klassen :\r\n==================\r\n",
            "\r\nSpeicher Analyse\r\n================\r\n"]
ABORT = ["wait Fehlermeldungen", "press &Abbruch", "closed Fehlermeldungen"]


def report(run, slot):
    path = run.in_prog("FEHLER_%d.log" % slot)
    expect(os.path.exists(path), "no report FEHLER_%d.log in %s" % (slot, os.listdir(run.prog)))
    data = open(path, "rb").read()
    expect(data.endswith(b"\x1a") and data.count(b"\x1a") == 1, "the report does not end in 0x1A")
    body = data[:-1]
    # Variables may hold any bytes (a dialog template, say); every other line ends in CR LF.
    start, end = body.find(b"\r\nVariable in Gebrauch"), body.find(b"\r\nGenutzte RDDs")
    lines = body[:start] + body[end:]
    expect(b"\n" not in lines.replace(b"\r\n", b""), "a line of the report does not end in CR LF")
    text = body.decode("cp1252")
    for section in SECTIONS:
        expect(section in text, "section %r missing in\n%s" % (section, text))
    exe = run.exe.replace("/", "\\")
    expect("   Pfad und Name : " + exe + " (32 bits)\r\n" in text, "program path wrong:\n" + text[:400])
    return text


def missing_table():
    run = Run("missing")
    run.run(["wait Fehlermeldungen", "sleep 500", "grab " + run.root + "/error.png",
             'press "FEHLER_1.log - Datei öffnen"', "press &Abbruch", "closed Fehlermeldungen"],
            expect_code=1)
    text = report(run, 1)
    expect("   Fehler Beschreibung : (DOS Error 2) " in text and "PRODUCT.DBF" in text, text[:600])
    expect("MAIN" in text, "the call stack does not name MAIN")
    expect(os.path.getsize(run.root + "/error.png") > 1000, "no picture of the error dialog")
    run.done()


def slot_after_three():
    run = Run("slot4")
    for n in (1, 2, 3):
        with open(run.in_prog("FEHLER_%d.log" % n), "w") as f:
            f.write("earlier report %d" % n)
    run.run(["wait Fehlermeldungen", 'press "FEHLER_4.log - Datei öffnen"'] + ABORT, expect_code=1)
    report(run, 4)
    for n in (1, 2, 3):
        expect(open(run.in_prog("FEHLER_%d.log" % n)).read() == "earlier report %d" % n,
               "report %d was replaced" % n)
    run.done()


def wrap_to_first():
    run = Run("wrap")
    for n in range(1, 11):
        open(run.in_prog("FEHLER_%d.log" % n), "w").write("old")
    run.run(["wait Fehlermeldungen", 'press "FEHLER_1.log - Datei öffnen"'] + ABORT, expect_code=1)
    report(run, 1)
    left = sorted(f for f in os.listdir(run.prog) if f.startswith("FEHLER_"))
    expect(left == ["FEHLER_1.log"], "slots after the wrap: %s" % left)
    run.done()


def default_verdict():
    # The open error allows retry and default: three buttons. The default lets the open fail,
    # and the next error (the index on an unused area) meets the fallback message box.
    run = Run("default")
    out = run.run(["wait Fehlermeldungen", "press \"&alter Zustand\"", "box OK"], expect_code=1)
    expect(" von Errorsys, Zeile :" in out, out)
    report(run, 1)
    run.done()


def retry_before_dialog():
    run = Run("retry")
    run.run(["wait Fehlermeldungen", "press \"&neuer Versuch\"", "closed Fehlermeldungen"], expect_code=1)
    report(run, 1)
    run.done()


def missing_field():
    run = Run("field")
    fields = [f for f in FIELDS if f[0] != "INVOICE"]
    write_dbf(os.path.join(run.data, "PRODUCT.DBF"), [(1, "A", "Program 01", 2.0, "20240101")], fields)
    run.table("PRODUCT1.DBF", 10)
    run.run(ABORT, expect_code=1)
    text = report(run, 1)
    expect("INVOICE" in text, "the report does not name the missing field:\n" + text[:600])
    run.done()


def damaged_index():
    run = Run("cdx")
    run.tables(30)
    with open(os.path.join(run.data, "PRODUCT.CDX"), "wb") as f:
        f.write(b"\x00\x04" + b"\xff" * 1534)
    run.run(ABORT, expect_code=1)
    expect("Corruption detected: PRODUCT.CDX" in report(run, 1), "the report does not name the index")
    run.done()


def locked_table():
    run = Run("locked")
    run.tables(30)
    holder = os.path.join(run.root, "hold.prg")
    with open(holder, "w") as f:
        f.write('PROCEDURE Main()\n   DbUseArea( .T., NIL, "PRODUCT.DBF", NIL, .F. )\n'
                '   OutStd( "held" + Chr( 10 ) )\n'
                '   DO WHILE ! File( "release" )\n   ENDDO\nRETURN\n')
    p = subprocess.Popen([PVRUN, holder], cwd=run.data, stdout=subprocess.PIPE)
    expect(p.stdout.readline().strip() == b"held", "the holder did not open the table")
    try:
        run.run(ABORT, expect_code=1)
    finally:
        open(os.path.join(run.data, "release"), "w").close()
        p.wait(timeout=30)
    text = report(run, 1)
    expect("(DOS Error 32)" not in text, "the refused open was reported instead of set quietly")
    run.done()


def failed_save():
    run = Run("save")
    run.tables(30)
    os.mkdir(run.in_prog("Matrix.xls"))
    run.run(["wait EXCEl-Formulare", "press \"&Erzeuge Excel-Sheet\""] + ABORT, expect_code=1)
    report(run, 1)
    expect(os.path.isdir(run.in_prog("Matrix.xls")), "the failed save replaced the folder")
    leftovers = [f for f in os.listdir(run.prog) if "tmp" in f]
    expect(not leftovers, "half-written files left: %s" % leftovers)
    run.done()


def long_path():
    nested = "/".join(["folder-%02d-with-a-long-name-for-the-path-test" % n for n in range(7)])
    run = Run("longpath", nested)
    expect(len(run.exe) > 300, "the path is not long enough")
    run.tables(30)
    run.run(["wait EXCEl-Formulare", "press \"&Erzeuge Excel-Sheet\"", "done Total",
             "wait EXCEl-Formulare", "press &Ende", "closed EXCEl-Formulare"])
    expect(os.path.exists(run.in_prog("Matrix.xls")), "the workbook is not in the program folder")
    run.done()


PVRUN = os.environ.get("PVRUN", "")
CASES = {f.__name__: f for f in [missing_table, slot_after_three, wrap_to_first, default_verdict,
                                 retry_before_dialog, missing_field, damaged_index, locked_table,
                                 failed_save, long_path]}
if __name__ == "__main__":
    CASES[sys.argv[3]]()
    print("ok")
