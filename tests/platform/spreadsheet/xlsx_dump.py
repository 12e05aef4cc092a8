#!/usr/bin/python3
"""Describes an .xlsx file as read by openpyxl, in the format of xls_dump.py."""
import sys
import openpyxl
from openpyxl.utils import column_index_from_string, coordinate_to_tuple


def color(c):
    if c is None or c.rgb is None or not isinstance(c.rgb, str):
        return "auto"
    return c.rgb[-6:].upper()


def width_chars(w):
    return round((w * 7 - 5) / 7, 1)


def main(path):
    book = openpyxl.load_workbook(path)
    for si, ws in enumerate(book.worksheets):
        print("sheet %d %s" % (si, ws.title))
        for coord, cell in sorted(ws._cells.items()):
            ref = cell.coordinate
            v = cell.value
            if isinstance(v, bool):
                print("cell %d %s bool %s" % (si, ref, v))
            elif isinstance(v, (int, float)):
                print("cell %d %s number %s" % (si, ref, repr(float(v))))
            elif isinstance(v, str):
                print("cell %d %s text %s" % (si, ref, v))
            f = cell.font
            fill = "none"
            if cell.fill is not None and cell.fill.fill_type == "solid":
                fill = color(cell.fill.fgColor)
            sides = []
            for side in (cell.border.left, cell.border.right, cell.border.top, cell.border.bottom):
                style = side.style if side is not None and side.style else "none"
                sides.append(style + ("" if style == "none" else ":" + color(side.color)))
            h = cell.alignment.horizontal or "general"
            v_ = cell.alignment.vertical or "bottom"
            print("style %d %s font=%s,%g,b%d,i%d,u%d,%s fill=%s h=%s v=%s border=%s fmt=%s" % (
                si, ref, f.name, f.sz, 1 if f.b else 0, 1 if f.i else 0, 1 if f.u else 0,
                color(f.color), fill, h, v_, "/".join(sides), cell.number_format))
        for rng in ws.merged_cells.ranges:
            print("merge %d %s" % (si, rng.coord))
        for letter, dim in sorted(ws.column_dimensions.items(), key=lambda kv: column_index_from_string(kv[0])):
            if dim.width and column_index_from_string(letter) <= 30:
                for c in range(dim.min or column_index_from_string(letter), (dim.max or column_index_from_string(letter)) + 1):
                    if c <= 30:
                        print("width %d %s %s" % (si, openpyxl.utils.get_column_letter(c), width_chars(dim.width)))
        if ws.freeze_panes:
            r, c = coordinate_to_tuple(ws.freeze_panes)
            print("freeze %d %d %d" % (si, r - 1, c - 1))
    print("end")


if __name__ == "__main__":
    main(sys.argv[1])
