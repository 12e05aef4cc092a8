# The main dialog as drawn headless, on a generated table, compared pixel by pixel with its
# reference picture (data/main_dialog_ref.png; XLFORMS_NEW_REFERENCE=FILE writes a new one).
import os
import shutil
import subprocess

from xlforms_harness import Run, expect

run = Run("picture")
run.tables(60)
picture = os.path.join(run.root, "main.png")
run.run(["wait EXCEl-Formulare", "sleep 700", "grab " + picture, "press &Ende",
         "closed EXCEl-Formulare"])
reference = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "main_dialog_ref.png")
if os.environ.get("XLFORMS_NEW_REFERENCE"):
    shutil.copy(picture, os.environ["XLFORMS_NEW_REFERENCE"])
same = subprocess.run([os.environ["PNG_SAME"], picture, reference], capture_output=True, text=True)
expect(same.returncode == 0, "the main dialog differs from its reference: " + same.stderr)
run.done()
print("ok")
