#!/usr/bin/python3
"""Reads back the workbook export_shape.prg wrote (argument: its working folder) with xlrd and
checks every fact the program put into it: sheet, title and merge, column formats, heading row
colours, the label row's bottom border, frozen rows, the 1,000 data rows and their marks, the
totals row. Prints what differs and exits 1."""
import os
import sys

import xlrd

failures = []


def expect(what, got, want):
    if got != want:
        failures.append("%s: got %r, want %r" % (what, got, want))


def rgb(book, index):
    return book.colour_map.get(index)


def main(folder):
    book = xlrd.open_workbook(os.path.join(folder, "export_shape.xls"), formatting_info=True)
    expect("sheets", book.sheet_names(), ["Excel-Test"])
    sh = book.sheet_by_index(0)

    def font(r, c):
        return book.font_list[book.xf_list[sh.cell_xf_index(r, c)].font_index]

    def xf(r, c):
        return book.xf_list[sh.cell_xf_index(r, c)]

    expect("title", sh.cell_value(0, 0), "Matrix-Sample")
    expect("title font", (font(0, 0).name, font(0, 0).height // 20, font(0, 0).bold), ("Arial", 12, 1))
    expect("merge", sh.merged_cells, [(0, 1, 0, 4)])
    expect("frozen rows", (sh.horz_split_pos, sh.vert_split_pos), (2, 0))
    for c, (width, align) in enumerate([(5, 2), (12, 1), (10, 1)]):
        expect("width %d" % c, round((sh.colinfo_map[c].width / 256 * 7 - 5) / 7), width)
        expect("label border %d" % c, (xf(0, c).border.bottom_line_style, ), (1, ))
        expect("format %d" % c, book.format_map[xf(3, c).format_key].format_str, "@")
        expect("align %d" % c, xf(4, c).alignment.hor_align, align)
    for c, text in enumerate(["ID-NR", "Kunde", "Produkt"]):
        expect("heading %d" % c, sh.cell_value(2, c), text)
        expect("heading fill %d" % c, rgb(book, xf(2, c).background.pattern_colour_index), (0, 0, 128))
        expect("heading font %d" % c, (rgb(book, font(2, c).colour_index), font(2, c).bold), ((255, 255, 255), 1))
    total = 0
    for n in range(1, 1001):
        r = n + 2
        expect("row %d" % n, [sh.cell_value(r, 0), sh.cell_value(r, 1), sh.cell_value(r, 2)],
               [float(n), "Kunde %d" % n, "Program %02d" % (n % 10 + 1)])
        marked = n % 250 == 0
        expect("mark %d" % n, (font(r, 0).bold, rgb(book, font(r, 0).colour_index) == (255, 0, 0)), (int(marked), marked))
        total += n
    expect("totals", [sh.cell_value(1004, 1), sh.cell_value(1004, 2)], ["Sold : ", float(total)])
    expect("totals font", (font(1004, 1).bold, font(1004, 1).height // 20), (1, 12))
    expect("rows", sh.nrows, 1005)
    for f in failures[:20]:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
