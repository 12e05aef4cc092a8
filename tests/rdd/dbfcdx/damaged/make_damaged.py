#!/usr/bin/env python3
# Writes the damaged index files of this folder from base.cdx, a small valid file:
#   0x0000 directory header, 0x0400 directory root leaf,
#   0x0600 header of tag NAME (key length 10, 300 keys): leaves 0x0a00, 0x0c00, 0x1000,
#          interior root 0x0e00 (3 entries of 18 bytes: key 10, record BE, child BE),
#   0x1200 header of tag NUM (numeric, 40 keys): root leaf 0x1600.
# EXPECTED lists the outcome each file must produce.
import struct

base = open("base.cdx", "rb").read()

def variant(name, *patches, cut=None):
    b = bytearray(base if cut is None else base[:cut])
    for off, data in patches:
        b[off:off + len(data)] = data
    open(name, "wb").write(bytes(b))

le32 = lambda v: struct.pack("<I", v)
be32 = lambda v: struct.pack(">I", v)
le16 = lambda v: struct.pack("<H", v)
INT = 0x0E00 + 12  # first interior entry of NAME's root

variant("short.cdx", cut=1000)
variant("root_misaligned.cdx", (0x0600, le32(0x0E01)))
variant("root_beyond_end.cdx", (0x0600, le32(0x10000)))
variant("keylen_241.cdx", (0x0600 + 12, le16(241)))
variant("for_outside_pool.cdx", (0x0600 + 504, le16(500)), (0x0600 + 506, le16(20)))
variant("directory_root_zero.cdx", (0, le32(0)))
variant("tag_header_misaligned.cdx", (0x0400 + 24, b"\x01"))
variant("leaf_counts_exceed.cdx", (0x0A00 + 24 + 3 + 2, b"\xFF"))
variant("leaf_count_too_large.cdx", (0x0A00 + 2, le16(200)))
variant("leaf_widths_wrong.cdx", (0x0A00 + 23, b"\x09"))
variant("wrong_parent_key.cdx", (INT, b"l"))
variant("sibling_loop.cdx", (0x0C00 + 8, le32(0x0A00)))
variant("child_beyond_end.cdx", (INT + 18 + 14, be32(0x10000)))
variant("child_is_its_parent.cdx", (INT + 14, be32(0x0E00)))
variant("interior_count_too_large.cdx", (0x0E00 + 2, le16(200)))
variant("free_list_into_tree.cdx", (4, le32(0x0A00)))
variant("leaf_free_space_wrong.cdx", (0x0A00 + 12, le16(struct.unpack("<H", base[0x0A0C:0x0A0E])[0] + 1)))
