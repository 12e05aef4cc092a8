#!/usr/bin/python3
"""Describes an .xlsx file as read by openpyxl, in the format of xls_dump.py, and beside it the
facts only Open XML tests look at:
  utf8 <i> <A1> <the text's UTF-8 bytes in hex>
  detail <i> <A1> strike=<0|1> u=<underline kind|none> wrap=<0|1>
  row <i> <n> height=<points|default> hidden=<0|1> style=<font and fill of the row format|none>
  column <i> <letter> width=<characters> hidden=<0|1> style=<font and fill of the column format|none>
  view <i> selected=<0|1> active=<A1> sqref=<range>
  active <i>"""
import sys
import openpyxl
from openpyxl.utils import column_index_from_string, coordinate_to_tuple


def color(c):
    if c is None or c.rgb is None or not isinstance(c.rgb, str):
        return "auto"
    return c.rgb[-6:].upper()


def width_chars(w):
    return round((w * 7 - 5) / 7, 1)


def fill_of(fill):
    if fill is not None and fill.fill_type == "solid":
        return color(fill.fgColor)
    return "none"


def dimension_style(dim):
    if not dim.has_style:
        return "none"
    f = dim.font
    return "%s,%g,b%d,i%d,%s,fill=%s,fmt=%s" % (f.name, f.sz, 1 if f.b else 0, 1 if f.i else 0,
                                               color(f.color), fill_of(dim.fill), dim.number_format)


def print_details(si, ws):
    for coord, cell in sorted(ws._cells.items()):
        f = cell.font
        print("detail %d %s strike=%d u=%s wrap=%d" % (si, cell.coordinate, 1 if f.strike else 0,
                                                     f.u or "none", 1 if cell.alignment.wrap_text else 0))
    for r, dim in sorted(ws.row_dimensions.items()):
        height = "default" if dim.ht is None else "%g" % dim.ht
        print("row %d %d height=%s hidden=%d style=%s" % (si, r, height, 1 if dim.hidden else 0,
                                                         dimension_style(dim)))
    for letter, dim in sorted(ws.column_dimensions.items(), key=lambda kv: column_index_from_string(kv[0])):
        if column_index_from_string(letter) <= 30:
            print("column %d %s width=%s hidden=%d style=%s" % (si, letter, width_chars(dim.width or 0),
                                                               1 if dim.hidden else 0, dimension_style(dim)))
    view = ws.sheet_view
    sel = view.selection[-1] if view.selection else None
    print("view %d selected=%d active=%s sqref=%s" % (si, 1 if view.tabSelected else 0,
                                                    sel.activeCell if sel else "none", sel.sqref if sel else "none"))


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
                print("utf8 %d %s %s" % (si, ref, v.encode("utf-8").hex()))
            f = cell.font
            fill = fill_of(cell.fill)
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
        print_details(si, ws)
    print("active %d" % book.worksheets.index(book.active))
    print("end")


if __name__ == "__main__":
    main(sys.argv[1])
