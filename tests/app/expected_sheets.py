# What the three workbooks must hold for a given PRODUCT table, worked out independently of the
# program: the table read with dbfread, put in the order of its index tag, grouped and laid out
# cell by cell; and the workbooks read back with xlrd (.xls) or openpyxl (Open XML) to compare.
import dbfread

PRODUCTS = ["Program %02d" % k for k in range(1, 11)]
RED, BLUE, WHITE, NAVY = (255, 0, 0), (0, 0, 255), (255, 255, 255), (0, 0, 128)


def read_table(path):
    """The records in table order, with the text fields as stored (code page 850 bytes)."""
    table = dbfread.DBF(path, encoding="latin-1", char_decode_errors="strict", raw=True)
    rows = []
    for rec in table:
        rows.append({"ID_NR": int(rec["ID_NR"].strip() or b"0"),
                     "CUSTOMER": rec["CUSTOMER"], "PRODUCT": rec["PRODUCT"],
                     "INVOICE": rec["INVOICE"], "VALUE": float(rec["VALUE"].strip() or b"0"),
                     "ID_TEXT": rec["ID_NR"]})
    return rows


def lower(raw):
    return bytes(c + 32 if 65 <= c <= 90 else c for c in raw)


ORDER_KEYS = {
    1: lambda r: r["ID_TEXT"].rjust(8),
    2: lambda r: lower(r["CUSTOMER"]) + r["INVOICE"] + b" ",
    3: lambda r: lower(r["PRODUCT"]),
}


def ordered(rows, order):
    key = ORDER_KEYS[order]
    return [r for _, _, r in sorted((key(r), i, r) for i, r in enumerate(rows))]


def text(raw):
    """A field as the sheet shows it: code page 850 read as text."""
    return raw.decode("cp850")


def groups(rows, field):
    out = []
    for r in rows:
        if out and out[-1][0][field] == r[field]:
            out[-1].append(r)
        else:
            out.append([r])
    return out


class Amount(float):
    """An amount written with STR: a right-aligned text of the value with two decimals."""

    def matches(self, got):
        return isinstance(got, str) and got.startswith(" ") and len(got) >= 10 \
            and got.strip() == "%.2f" % self


class Expected:
    """Cells by (row, column) from 1, and the font each marked cell must have."""

    def __init__(self):
        self.cells, self.fonts = {}, {}

    def put(self, row, col, value, bold=None, color=None, size=None):
        self.cells[(row, col)] = value
        if bold is not None or color is not None or size is not None:
            self.fonts[(row, col)] = (bold, color, size)


def matrix(rows):
    e = Expected()
    e.put(1, 1, "Matrix-Sample", True, None, 12)
    heads = ["ID-NR", "Kunde"] + ["Produkt %02d" % k for k in range(1, 11)]
    for c, h in enumerate(heads, 1):
        e.put(3, c, h, True, WHITE, 10)
    counts = [0] * 10
    row = 3
    for g in groups(ordered(rows, 1), "ID_NR"):
        row += 1
        e.put(row, 1, float(g[0]["ID_NR"]), True, RED)
        e.put(row, 2, text(g[0]["CUSTOMER"]).rstrip(" "), True, RED)
        for r in g:
            name = text(r["PRODUCT"]).rstrip(" ")
            if name in PRODUCTS:
                k = PRODUCTS.index(name)
                e.put(row, 3 + k, name)
                counts[k] += 1
    row += 2
    e.put(row, 2, "Sold : ", True, None, 12)
    for k in range(10):
        e.put(row, 3 + k, float(counts[k]), True, RED, 12)
    return e


def overview(rows, order, field, title, heads, detail):
    e = Expected()
    e.put(1, 1, title, True, None, 12)
    for c, h in enumerate(heads, 1):
        e.put(3, c, h, True, WHITE, 10)
    row = 3
    for g in groups(ordered(rows, order), field):
        row += 1
        first_cols = detail(e, row, g[0], first=True)
        for r in g:
            detail(e, row, r, first=False)
            row += 1
        e.put(row, first_cols, Amount(round(sum(r["VALUE"] for r in g), 2)), True, RED)
        row += 1
    return e


def invoice_detail(e, row, r, first):
    if first:
        e.put(row, 1, float(r["ID_NR"]), True, RED)
        e.put(row, 2, text(r["CUSTOMER"]).rstrip(" "), True, RED)
        return 5
    e.put(row, 3, text(r["INVOICE"]), None, BLUE)
    e.put(row, 4, text(r["PRODUCT"]), None, BLUE)
    e.put(row, 5, Amount(r["VALUE"]), None, BLUE)


def product_detail(e, row, r, first):
    if first:
        e.put(row, 1, text(r["PRODUCT"]).rstrip(" "), True, RED)
        return 2
    e.put(row, 2, Amount(r["VALUE"]), None, BLUE)
    e.put(row, 3, "     " + text(r["CUSTOMER"]), None, BLUE)


def invoice(rows):
    return overview(rows, 2, "CUSTOMER", "Invoice-Overview",
                    ["ID-No", "Kunde", "Rechnung", "Produkt", "Betrag"], invoice_detail)


def product(rows):
    return overview(rows, 3, "PRODUCT", "Product-Overview", ["Product", "Betrag", "Kunde"],
                    product_detail)
