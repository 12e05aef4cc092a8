# Reads a workbook written by xlforms (BIFF8 with xlrd, Open XML with openpyxl) and compares it
# cell by cell and font by font with what expected_sheets.py worked out.
import xlrd

from expected_sheets import Amount

from xlforms_harness import expect, fail


class Sheet:
    """The one sheet of a workbook: values, fonts, merges, frozen rows and column formats."""

    def __init__(self, path):
        with open(path, "rb") as f:
            magic = f.read(4)
        self.xlsx = magic == b"PK\x03\x04"
        if self.xlsx:
            import openpyxl
            # Read as a stream: openpyxl goes by the name and refuses an Open XML file named .xls.
            with open(path, "rb") as stream:
                self.book = openpyxl.load_workbook(stream)
            expect(len(self.book.worksheets) == 1, "%s: one sheet expected" % path)
            self.ws = self.book.worksheets[0]
            self.name = self.ws.title
        else:
            self.book = xlrd.open_workbook(path, formatting_info=True)
            expect(self.book.nsheets == 1, "%s: one sheet expected" % path)
            self.ws = self.book.sheet_by_index(0)
            self.name = self.ws.name

    def values(self):
        out = {}
        if self.xlsx:
            for row in self.ws.iter_rows():
                for c in row:
                    if c.value is not None and c.value != "":
                        v = c.value
                        out[(c.row, c.column)] = float(v) if isinstance(v, (int, float)) else v
        else:
            for r in range(self.ws.nrows):
                for c in range(self.ws.ncols):
                    cell = self.ws.cell(r, c)
                    if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK) or cell.value == "":
                        continue
                    out[(r + 1, c + 1)] = cell.value
        return out

    def font(self, row, col):
        """(bold, (r, g, b) colour or None, size in points, face) of a cell."""
        if self.xlsx:
            f = self.ws.cell(row, col).font
            rgb = f.color.rgb if f.color is not None and isinstance(f.color.rgb, str) else None
            colour = tuple(int(rgb[i:i + 2], 16) for i in (2, 4, 6)) if rgb else None
            return bool(f.b), colour, f.sz, f.name
        xf = self.book.xf_list[self.ws.cell_xf_index(row - 1, col - 1)]
        f = self.book.font_list[xf.font_index]
        return bool(f.bold), self.book.colour_map.get(f.colour_index), f.height / 20, f.name

    def fill(self, row, col):
        if self.xlsx:
            fg = self.ws.cell(row, col).fill.fgColor
            rgb = fg.rgb if isinstance(fg.rgb, str) else None
            return tuple(int(rgb[i:i + 2], 16) for i in (2, 4, 6)) if rgb else None
        xf = self.book.xf_list[self.ws.cell_xf_index(row - 1, col - 1)]
        return self.book.colour_map.get(xf.background.pattern_colour_index)

    def merged(self):
        if self.xlsx:
            return sorted(str(m) for m in self.ws.merged_cells.ranges)
        names = []
        for r0, r1, c0, c1 in self.ws.merged_cells:
            names.append("%s%d:%s%d" % (chr(65 + c0), r0 + 1, chr(64 + c1), r1))
        return sorted(names)

    def frozen_rows(self):
        if self.xlsx:
            pane = self.ws.freeze_panes
            return int(pane[1:]) - 1 if pane else 0
        return self.ws.horz_split_pos if self.ws.panes_are_frozen else 0

    def column_width(self, col):
        if self.xlsx:
            return self.ws.column_dimensions[chr(64 + col)].width
        info = self.ws.colinfo_map.get(col - 1)
        return info.width / 256 if info else None

    def bottom_border(self, row, col):
        if self.xlsx:
            return self.ws.cell(row, col).border.bottom.style
        return self.book.xf_list[self.ws.cell_xf_index(row - 1, col - 1)].border.bottom_line_style


def compare(path, expected, widths, merge):
    """Every cell, the marked fonts, the merge, the frozen rows and the column widths."""
    sheet = Sheet(path)
    expect(sheet.name == "Excel-Test", "%s: sheet named %r" % (path, sheet.name))
    actual = sheet.values()
    for key, want in sorted(expected.cells.items()):
        got = actual.get(key)
        if isinstance(want, Amount):
            ok = want.matches(got)
        elif want == "":
            ok = got is None
        else:
            ok = got == want
        if not ok:
            fail("%s: cell %s is %r, expected %r" % (path, key, got, want))
    extra = sorted(set(actual) - set(expected.cells))
    expect(not extra, "%s: unexpected cells %s" % (path, [(k, actual[k]) for k in extra[:5]]))
    for key, (bold, colour, size) in expected.fonts.items():
        got = sheet.font(*key)
        if (bold is not None and got[0] != bold) or (colour is not None and got[1] != colour) \
                or (size is not None and got[2] != size):
            fail("%s: font of %s is %r, expected bold %r colour %r size %r"
                 % (path, key, got, bold, colour, size))
    body = sheet.font(4, 3)
    expect(body[3] == "Arial", "%s: cells in %r" % (path, body[3]))
    for c in range(1, len([k for k in expected.cells if k[0] == 3]) + 1):
        expect(sheet.fill(3, c) == (0, 0, 128), "%s: heading %d not on navy" % (path, c))
    expect(sheet.merged() == [merge], "%s: merged %s" % (path, sheet.merged()))
    expect(sheet.frozen_rows() == 2, "%s: %d frozen rows" % (path, sheet.frozen_rows()))
    for c, w in enumerate(widths, 1):
        got = sheet.column_width(c)
        expect(got is not None and abs(got - w) < 1, "%s: column %d width %r, expected %d" % (path, c, got, w))
    return sheet
