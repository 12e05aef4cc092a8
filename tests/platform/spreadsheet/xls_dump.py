#!/usr/bin/python3
"""Describes an .xls file as read by xlrd, one fact per line (see workbook_dump_format.txt)."""
import sys
import xlrd

BORDERS = ["none", "thin", "medium", "dashed", "dotted", "thick", "double", "hair", "mediumDashed",
           "dashDot", "mediumDashDot", "dashDotDot", "mediumDashDotDot", "slantDashDot"]
HALIGN = {0: "general", 1: "left", 2: "center", 3: "right", 4: "fill", 5: "justify",
          6: "centerContinuous", 7: "distributed"}
VALIGN = {0: "top", 1: "center", 2: "bottom", 3: "justify", 4: "distributed"}


def color(book, index):
    rgb = book.colour_map.get(index)
    return "auto" if rgb is None else "%02X%02X%02X" % rgb


def col_letters(c):
    s = ""
    c += 1
    while c:
        c, r = divmod(c - 1, 26)
        s = chr(65 + r) + s
    return s


def width_chars(units):
    return round((units / 256 * 7 - 5) / 7, 1)


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    for si in range(book.nsheets):
        sh = book.sheet_by_index(si)
        print("sheet %d %s" % (si, sh.name))
        for r in range(sh.nrows):
            for c in range(sh.ncols):
                cell = sh.cell(r, c)
                ref = "%s%d" % (col_letters(c), r + 1)
                kind = {0: None, 1: "text", 2: "number", 4: "bool", 6: "blank"}.get(cell.ctype)
                if kind is None:
                    continue
                value = cell.value
                if kind == "bool":
                    value = bool(value)
                elif kind == "number":
                    value = repr(float(value))
                if kind != "blank":
                    print("cell %d %s %s %s" % (si, ref, kind, value))
                xf = book.xf_list[cell.xf_index]
                font = book.font_list[xf.font_index]
                fill = "none"
                if xf.background.fill_pattern == 1:
                    fill = color(book, xf.background.pattern_colour_index)
                b = xf.border
                sides = []
                for style, col in ((b.left_line_style, b.left_colour_index),
                                   (b.right_line_style, b.right_colour_index),
                                   (b.top_line_style, b.top_colour_index),
                                   (b.bottom_line_style, b.bottom_colour_index)):
                    sides.append(BORDERS[style] + ("" if style == 0 else ":" + color(book, col)))
                print("style %d %s font=%s,%g,b%d,i%d,u%d,%s fill=%s h=%s v=%s border=%s fmt=%s" % (
                    si, ref, font.name, font.height / 20, font.bold, font.italic,
                    1 if font.underline_type else 0, color(book, font.colour_index), fill,
                    HALIGN[xf.alignment.hor_align], VALIGN[xf.alignment.vert_align],
                    "/".join(sides), book.format_map[xf.format_key].format_str))
        for (rlo, rhi, clo, chi) in sh.merged_cells:
            print("merge %d %s%d:%s%d" % (si, col_letters(clo), rlo + 1, col_letters(chi - 1), rhi))
        for c in sorted(sh.colinfo_map):
            info = sh.colinfo_map[c]
            if c < 30:
                print("width %d %s %s" % (si, col_letters(c), width_chars(info.width)))
        if sh.panes_are_frozen:
            print("freeze %d %d %d" % (si, sh.horz_split_pos, sh.vert_split_pos))
    print("end")


if __name__ == "__main__":
    main(sys.argv[1])
