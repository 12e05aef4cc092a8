# Runs xlforms end to end for the tests: a temporary program folder holding a link to the
# executable (workbooks and error reports land there), a temporary table folder as the current
# directory, invoice tables made by mkproduct or written here, and a UI script driving the dialogs
# headless.
import os
import shutil
import struct
import subprocess
import sys
import tempfile

XLFORMS, MKPRODUCT = sys.argv[1], sys.argv[2]


class Run:
    def __init__(self, name, nested=""):
        base = os.environ.get("XLFORMS_TEST_TMP") or None
        self.root = tempfile.mkdtemp(prefix=name + "-", dir=base)
        self.prog = os.path.join(self.root, "prog", nested) if nested else os.path.join(self.root, "prog")
        self.data = os.path.join(self.root, "data")
        os.makedirs(self.prog)
        os.makedirs(self.data)
        self.exe = os.path.join(self.prog, "xlforms")
        try:
            os.link(XLFORMS, self.exe)
        except OSError:
            shutil.copy2(XLFORMS, self.exe)

    def table(self, name, records, seed=7):
        subprocess.run([MKPRODUCT, os.path.join(self.data, name), str(records), "--seed", str(seed),
                        "--ldid", "0x02"], check=True)

    def tables(self, records=120):
        self.table("PRODUCT.DBF", records, 11)
        self.table("PRODUCT1.DBF", 40, 5)

    def command(self, steps):
        script = os.path.join(self.root, "steps.ui")
        with open(script, "w", encoding="utf-8") as f:
            f.write("\n".join(steps) + "\n")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", PV_NO_DESKTOP="1")
        return [self.exe, "//uiscript:" + script], env

    def start(self, steps, timeout=60):
        args, env = self.command(steps)
        return subprocess.run(args, cwd=self.data, env=env, capture_output=True, timeout=timeout)

    # The program running while the caller changes its files; communicate() collects it.
    def popen(self, steps):
        args, env = self.command(steps)
        return subprocess.Popen(args, cwd=self.data, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def run(self, steps, expect_code=0, timeout=60):
        p = self.start(steps, timeout)
        out = p.stdout.decode("utf-8", "replace")
        if p.returncode != expect_code:
            fail("exit code %d, expected %d\nstdout:\n%s\nstderr:\n%s"
                 % (p.returncode, expect_code, out, p.stderr.decode("utf-8", "replace")))
        return out

    def in_prog(self, name):
        return os.path.join(self.prog, name)

    def done(self):
        shutil.rmtree(self.root, ignore_errors=True)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def expect(cond, message):
    if not cond:
        fail(message)


# ---- tables written here, for shapes mkproduct does not make ----------------------------------

FIELDS = [("ID_NR", "N", 8, 0), ("CUSTOMER", "C", 30, 0), ("PRODUCT", "C", 20, 0),
          ("INVOICE", "C", 10, 0), ("VALUE", "N", 10, 2), ("INV_DATE", "D", 8, 0)]


def write_dbf(path, records, fields=FIELDS):
    """A dBASE III table (code page 850) with the given fields and records (tuples of values)."""
    reclen = 1 + sum(f[2] for f in fields)
    header_len = 32 + 32 * len(fields) + 1
    out = bytearray(struct.pack("<BBBBIHH", 3, 126, 12, 7, len(records), header_len, reclen))
    out += bytes(17) + b"\x02" + bytes(2)
    for name, kind, length, dec in fields:
        out += name.encode().ljust(11, b"\0") + kind.encode() + bytes(4) + bytes([length, dec]) + bytes(14)
    out += b"\r"
    for rec in records:
        out += b" "
        for (name, kind, length, dec), value in zip(fields, rec):
            if kind == "N":
                text = ("%*.*f" % (length, dec, value)) if dec else ("%*d" % (length, value))
                out += text.encode()
            else:
                out += str(value).encode("cp850").ljust(length)[:length]
    out += b"\x1a"
    with open(path, "wb") as f:
        f.write(out)
