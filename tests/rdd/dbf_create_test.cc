// Creating tables: the files are compared byte for byte with the documented layout.
#include <gtest/gtest.h>

#include <cstring>

#include "dbf/dbf_table.h"
#include "test_util.h"

namespace pv::dbf {
namespace {

struct Expect {
  const char* name;
  char letter;
  int length, decimals, flags, next, step;
};

// The descriptor bytes the layout documents, built without the encoder under test.
std::vector<uint8_t> Descriptor(const Expect& e, uint32_t offset_in_record) {
  std::vector<uint8_t> d(32, 0);
  std::memcpy(d.data(), e.name, std::strlen(e.name));
  d[11] = uint8_t(e.letter);
  for (int i = 0; i < 4; ++i) d[12 + i] = uint8_t(offset_in_record >> (8 * i));
  d[16] = uint8_t(e.length & 0xFF);
  d[17] = uint8_t((e.letter == 'C' || e.letter == 'Q') ? e.length >> 8 : e.decimals);
  d[18] = uint8_t(e.flags);
  d[19] = uint8_t(e.next);
  d[23] = uint8_t(e.step);
  return d;
}

std::vector<uint8_t> Header(uint8_t version, uint32_t count, uint16_t hlen, uint16_t rlen,
                            uint8_t flags) {
  std::vector<uint8_t> h(32, 0);
  h[0] = version;
  h[1] = 124, h[2] = 5, h[3] = 17;  // 2024-05-17
  for (int i = 0; i < 4; ++i) h[4 + i] = uint8_t(count >> (8 * i));
  h[8] = uint8_t(hlen), h[9] = uint8_t(hlen >> 8);
  h[10] = uint8_t(rlen), h[11] = uint8_t(rlen >> 8);
  h[28] = flags;
  return h;
}

void Append(std::vector<uint8_t>* to, const std::vector<uint8_t>& bytes) {
  to->insert(to->end(), bytes.begin(), bytes.end());
}

TEST(DbfCreateTest, EveryTypeInTheDbfFormatByteForByte) {
  test::ScratchDir dir;
  std::vector<FieldSpec> specs = {
      {"NAME", "C", 300, 0, 0}, {"OK", "L", 1, 0, 0},     {"DAY", "D", 8, 0, 0},
      {"PRICE", "N", 10, 2, 0}, {"RATE", "F", 12, 4, 0},  {"QTY", "I", 4, 0, 0},
      {"SHORTI", "I", 2, 0, 0}, {"REAL", "B", 8, 3, 0},   {"WHEN", "T", 8, 0, 0},
      {"STAMP", "@", 8, 0, 0},  {"MODIFIED", "=", 8, 0, 0}, {"ROWVER", "^", 8, 0, 0},
      {"ID", "+", 4, 0, 0},     {"MONEY", "Y", 8, 0, 0},  {"DBL", "Z", 8, 0, 0},
      {"NOTES", "M", 10, 0, 0}, {"PACKED", "V", 3, 0, 0}, {"PIC", "P", 10, 0, 0},
      {"BLOB", "W", 10, 0, 0},  {"OLE", "G", 10, 0, 0},   {"TOD", "T", 4, 0, 0}};
  const std::vector<Expect> expect = {
      {"NAME", 'C', 300, 0, 0, 0, 0},  {"OK", 'L', 1, 0, 0, 0, 0},     {"DAY", 'D', 8, 0, 0, 0, 0},
      {"PRICE", 'N', 10, 2, 0, 0, 0},  {"RATE", 'F', 12, 4, 0, 0, 0},  {"QTY", 'I', 4, 0, 0, 0, 0},
      {"SHORTI", 'I', 2, 0, 0, 0, 0},  {"REAL", 'B', 8, 3, 0, 0, 0},   {"WHEN", 'T', 8, 0, 0, 0, 0},
      {"STAMP", '@', 8, 0, 0, 0, 0},   {"MODIFIED", '=', 8, 0, 0, 0, 0},
      {"ROWVER", '^', 8, 0, 0, 1, 0},  {"ID", '+', 4, 0, 0, 1, 1},     {"MONEY", 'Y', 8, 4, 0, 0, 0},
      {"DBL", 'Z', 8, 0, 0, 0, 0},     {"NOTES", 'M', 10, 0, 0, 0, 0}, {"PACKED", 'V', 3, 0, 0, 0, 0},
      {"PIC", 'P', 10, 0, 0, 0, 0},    {"BLOB", 'W', 10, 0, 0, 0, 0},  {"OLE", 'G', 10, 0, 0, 0, 0},
      {"TOD", 'T', 4, 0, 0, 0, 0}};
  std::unique_ptr<DbfTable> t;
  Status st = DbfTable::Create(dir.file("all.dbf"), specs, {.memo_type = kMemoFpt}, &t);
  ASSERT_TRUE(st.ok()) << st.toString();
  t->setUpdateDate(2024, 5, 17);
  ASSERT_TRUE(t->writeHeader().ok());
  t.reset();

  uint16_t rlen = 1;
  for (const Expect& e : expect) rlen = uint16_t(rlen + e.length);
  uint16_t hlen = uint16_t(32 + 32 * expect.size() + 2);
  std::vector<uint8_t> want = Header(0xF5, 0, hlen, rlen, 0);
  for (const Expect& e : expect) Append(&want, Descriptor(e, 0));
  Append(&want, {0x0D, 0x00, 0x1A});
  EXPECT_EQ(test::ReadBytes(dir.file("all.dbf")), want);
}

TEST(DbfCreateTest, ExtendedFormatWithNullFlagsAndAutoIncrement) {
  test::ScratchDir dir;
  std::vector<FieldSpec> specs = {{"ID", "I", 4, 0, kFieldAutoInc},
                                  {"NAME", "V", 20, 0, kFieldNullable},
                                  {"QTY", "N", 5, 0, kFieldNullable},
                                  {"RAW", "Q", 8, 0, 0}};
  std::unique_ptr<DbfTable> t;
  ASSERT_TRUE(DbfTable::Create(dir.file("ext.dbf"), specs,
                               {.table_type = kTableExtended, .memo_type = kMemoFpt}, &t)
                  .ok());
  EXPECT_EQ(t->fields().size(), 5u);
  ASSERT_NE(t->nullFlags(), nullptr);
  t->setUpdateDate(2024, 5, 17);
  ASSERT_TRUE(t->writeHeader().ok());
  t.reset();
  // ID: offset 1; NAME 5 (length bit 0, null bit 1); QTY 25 (null bit 2); RAW 30 (length bit 3);
  // _NullFlags 38, one byte.
  std::vector<uint8_t> want = Header(0x31, 0, 32 + 32 * 5 + 1, 39, 0x02);
  Append(&want, Descriptor({"ID", 'I', 4, 0, 0x08, 1, 1}, 1));
  Append(&want, Descriptor({"NAME", 'V', 20, 0, 0x02, 0, 0}, 5));
  Append(&want, Descriptor({"QTY", 'N', 5, 0, 0x02, 0, 0}, 25));
  Append(&want, Descriptor({"RAW", 'Q', 8, 0, 0, 0, 0}, 30));
  Append(&want, Descriptor({"_NullFlags", '0', 1, 0, 0x05, 0, 0}, 38));
  Append(&want, {0x0D, 0x1A});
  EXPECT_EQ(test::ReadBytes(dir.file("ext.dbf")), want);
}

TEST(DbfCreateTest, AppendedRecordsAndEofByteByteForByte) {
  test::ScratchDir dir;
  std::unique_ptr<DbfTable> t;
  ASSERT_TRUE(DbfTable::Create(dir.file("r.dbf"), {{"A", "C", 3, 0, 0}, {"N", "N", 4, 1, 0}}, {}, &t).ok());
  t->setUpdateDate(2024, 5, 17);
  std::vector<uint8_t> rec(t->recordLength());
  uint32_t n = 0;
  std::memcpy(rec.data(), " abc12.5", 8);
  ASSERT_TRUE(t->append(rec.data(), &n).ok());
  std::memcpy(rec.data(), "*xy -1.0", 8);
  ASSERT_TRUE(t->append(rec.data(), &n).ok());
  EXPECT_EQ(n, 2u);
  ASSERT_TRUE(t->close().ok());
  std::vector<uint8_t> want = Header(0x03, 2, 32 + 64 + 2, 8, 0);
  Append(&want, Descriptor({"A", 'C', 3, 0, 0, 0, 0}, 0));
  Append(&want, Descriptor({"N", 'N', 4, 1, 0, 0, 0}, 0));
  Append(&want, {0x0D, 0x00});
  const char* body = " abc12.5*xy -1.0\x1A";
  want.insert(want.end(), body, body + 17);
  EXPECT_EQ(test::ReadBytes(dir.file("r.dbf")), want);
}

TEST(DbfCreateTest, RejectsBadStructures) {
  test::ScratchDir dir;
  std::unique_ptr<DbfTable> t;
  EXPECT_EQ(DbfTable::Create(dir.file("x.dbf"), {{"A", "X", 3, 0, 0}}, {}, &t).kind(),
            StatusKind::kBadArgument);
  EXPECT_EQ(DbfTable::Create(dir.file("x.dbf"), {}, {}, &t).kind(), StatusKind::kBadArgument);
  std::vector<FieldSpec> many(2100, FieldSpec{"F", "C", 1, 0, 0});
  Status st = DbfTable::Create(dir.file("x.dbf"), many, {}, &t);
  EXPECT_EQ(st.subcode(), 1021);
  st = DbfTable::Create(dir.file("nofolder/x.dbf"), {{"A", "C", 1, 0, 0}}, {}, &t);
  EXPECT_EQ(st.subcode(), 1004);
  EXPECT_EQ(st.osCode(), 3);
  EXPECT_TRUE(st.canRetry());
}

}  // namespace
}  // namespace pv::dbf
