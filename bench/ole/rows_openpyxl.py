#!/usr/bin/python3
"""The peer of rows.prg: the same 200,000 rows of 5 cells written with openpyxl and saved."""
import sys

from openpyxl import Workbook


def main(path):
    book = Workbook()
    sheet = book.active
    for row in range(1, 200001):
        sheet.cell(row, 1, row)
        sheet.cell(row, 2, "Kunde %d" % (row % 997))
        sheet.cell(row, 3, "R%d" % row)
        sheet.cell(row, 4, "Program %d" % (row % 10))
        sheet.cell(row, 5, row / 4)
    book.save(path)


if __name__ == "__main__":
    main(sys.argv[1])
