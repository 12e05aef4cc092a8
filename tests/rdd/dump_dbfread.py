#!/usr/bin/python3
"""Prints every value of a table as python3-dbfread reads it, one line per field:

    recno|FIELD|value

Text and memos are hex of their bytes (re-encoded with the table's code page), numbers '%.6f',
logicals T/F, dates ISO, date-times ISO with milliseconds, missing values empty.
"""
import datetime
import decimal
import sys

import dbfread


def canon(value, encoding):
    if value is None:
        return ""
    if isinstance(value, bool):
        return "T" if value else "F"
    if isinstance(value, (int, float, decimal.Decimal)):
        return "%.6f" % float(value)
    if isinstance(value, datetime.datetime):
        return value.strftime("%Y-%m-%dT%H:%M:%S.") + "%03d" % (value.microsecond // 1000)
    if isinstance(value, datetime.date):
        return value.isoformat()
    if isinstance(value, str):
        return value.encode(encoding).hex()
    return bytes(value).hex()


def main(path):
    table = dbfread.DBF(path, load=False)
    for n, record in enumerate(table.records, 1):
        for name, value in record.items():
            if name != "_NullFlags":
                print("%d|%s|%s" % (n, name, canon(value, table.encoding)))


if __name__ == "__main__":
    main(sys.argv[1])
