# "&neuer Versuch" in the error dialog while a dialog runs: the open that failed (the table was
# missing) is tried again once the table has come, succeeds, and the program goes on and ends
# normally; the failure left its report. Run with the probe program in place of xlforms.
import os
import time

from xlforms_harness import Run, expect

run = Run("retry-in-dialog")
p = run.popen(["wait Probe", 'press "&Oeffnen"', "wait Fehlermeldungen", "sleep 1500",
               'press "&neuer Versuch"', "closed Fehlermeldungen", "wait Probe", "press &Ende",
               "closed Probe"])
report = run.in_prog("FEHLER_1.log")
deadline = time.time() + 30
while not os.path.exists(report) and time.time() < deadline and p.poll() is None:
    time.sleep(0.05)
expect(os.path.exists(report), "no report of the failed open")
run.table("LATE.DBF", 7)
out, err = p.communicate(timeout=60)
out = out.decode("utf-8", "replace")
expect(p.returncode == 0, "exit code %d\n%s\n%s" % (p.returncode, out, err.decode("utf-8", "replace")))
expect("opened LATE 7" in out, "the retried open did not succeed:\n" + out)
run.done()
print("ok")
