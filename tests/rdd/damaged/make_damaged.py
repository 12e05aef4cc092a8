#!/usr/bin/python3
"""Writes the small damaged tables and memo files of this folder (run once; the files are kept).

Each file breaks one rule of the layout; dbf_damaged_test.cc lists the error each must give.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def header(version=0x03, count=1, hlen=None, rlen=None, nfields=1, flags=0):
    hlen = 32 + 32 * nfields + 2 if hlen is None else hlen
    return struct.pack("<BBBBIHH16xB3x", version, 124, 1, 1, count, hlen, rlen or 6, flags)


def desc(name, letter, length, dec=0, flags=0):
    return struct.pack("<11sc4xBBB13x", name, letter, length, dec, flags)


def good(version=0x03, letter=b"C", length=5, name=b"NAME", rlen=None, hlen=None, records=b" hello"):
    body = header(version, 1, hlen, rlen or 1 + length) + desc(name, letter, length) + b"\r\0"
    return body + records + b"\x1a"


FILES = {
    "empty.dbf": b"",
    "short_header.dbf": good()[:20],
    "bad_version.dbf": good(version=0x04),
    "header_too_small.dbf": good(hlen=40),
    "short_descriptors.dbf": good(hlen=500)[:100],
    "no_terminator.dbf": header(hlen=32 + 64, rlen=6) + desc(b"A", b"C", 5) + desc(b"B", b"C", 5),
    "bad_type.dbf": good(letter=b"X"),
    "bad_length.dbf": good(letter=b"B", length=4),
    "fields_too_long.dbf": good(rlen=3),
    "empty_name.dbf": good(name=b""),
    "record_length_one.dbf": good(rlen=1),
    "nullflags_missing.dbf": (header(0x30, 1, 32 + 32 + 1, 6)
                              + desc(b"N", b"C", 5, 0, 0x02) + b"\r" + b" hello\x1a"),
    "nullflags_not_last.dbf": (header(0x30, 1, 32 + 64 + 1, 7, 2)
                               + desc(b"_NullFlags", b"0", 1, 0, 0x05)
                               + desc(b"N", b"C", 5, 0, 0x02) + b"\r" + b" \0hello\x1a"),
}


def fpt(block_size=64, next_free=8):
    return struct.pack(">I2xH", next_free, block_size).ljust(512, b"\0")


MEMOS = {
    "zero_block_size.fpt": fpt(block_size=0),
    "short_memo_header.fpt": fpt()[:100],
    # a memo at block 8 claiming 1000 bytes in a 600-byte file
    "memo_beyond_end.fpt": fpt() + struct.pack(">II", 1, 1000) + b"x" * 80,
}

for name, data in {**FILES, **MEMOS}.items():
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
