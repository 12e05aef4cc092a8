// Memo files: layouts byte for byte, reading and writing, block reuse by version, damaged files,
// shared writers, pack through the table pack.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <random>

#include "dbf/dbf_codec.h"
#include "dbfFPT/memo_file.h"
#include "dbfFPT/memo_pack.h"
#include "dbfFPT/memo_typed.h"
#include "fs/coding.h"
#include "test_util.h"

namespace pv::memo {
namespace {

class MemoTest : public ::testing::Test {
 protected:
  std::unique_ptr<MemoFile> create(const MemoCreateOptions& o, const char* name = "m.fpt") {
    std::unique_ptr<MemoFile> m;
    Status st = MemoFile::Create(dir_.file(name), o, &m);
    EXPECT_TRUE(st.ok()) << st.toString();
    return m;
  }
  static uint32_t put(MemoFile& m, uint32_t old, const std::string& text,
                      uint32_t type = kTypeText) {
    uint32_t block = 0;
    Status st = m.write(old, 0, {type, text}, &block);
    EXPECT_TRUE(st.ok()) << st.toString();
    return block;
  }
  static std::string get(MemoFile& m, uint32_t block, uint32_t smt_length = 0) {
    MemoValue v;
    Status st = m.read(block, smt_length, &v);
    EXPECT_TRUE(st.ok()) << st.toString();
    return v.data;
  }
  std::vector<uint8_t> bytes(const char* name = "m.fpt") { return test::ReadBytes(dir_.file(name)); }
  test::ScratchDir dir_;
};

TEST_F(MemoTest, NewVersion3FileAndBlockLayout) {
  auto m = create({});
  EXPECT_EQ(m->version(), 3);
  EXPECT_EQ(m->blockSize(), 64u);
  std::vector<uint8_t> b = bytes();
  ASSERT_EQ(b.size(), 1024u);
  EXPECT_EQ(DecodeBE32(b.data()), 16u);  // next free block
  EXPECT_EQ(DecodeBE16(b.data() + 6), 64u);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 15), "Quarvel");
  EXPECT_EQ(std::string(b.begin() + 504, b.begin() + 515), std::string("FlexFile3\x03\x00", 11));
  uint32_t block = put(*m, 0, "Hello");
  EXPECT_EQ(block, 16u);
  b = bytes();
  ASSERT_EQ(b.size(), 1024u + 64);
  EXPECT_EQ(DecodeBE32(b.data() + 1024), 1u);  // text
  EXPECT_EQ(DecodeBE32(b.data() + 1028), 5u);
  EXPECT_EQ(std::string(b.begin() + 1032, b.begin() + 1037), "Hello");
  EXPECT_EQ(b.back(), 0xAF);
  EXPECT_EQ(DecodeBE32(b.data()), 17u);
  EXPECT_EQ(get(*m, block), "Hello");
  uint32_t len = 0;
  ASSERT_TRUE(m->length(block, 0, &len).ok());
  EXPECT_EQ(len, 5u);
}

TEST_F(MemoTest, Version3ReusesFreedBlocksThroughItsFreeListBlock) {
  auto m = create({});
  uint32_t a = put(*m, 0, std::string(50, 'a'));  // 16
  uint32_t b = put(*m, 0, std::string(50, 'b'));  // 17
  EXPECT_EQ(b, 17u);
  a = put(*m, a, std::string(100, 'A'));  // two blocks at 18; 16 goes to the free list
  EXPECT_EQ(a, 18u);
  std::vector<uint8_t> h = bytes();
  uint32_t list = DecodeBE32(h.data() + 528);
  ASSERT_NE(list, 0u);
  EXPECT_EQ(DecodeBE32(h.data() + list), 1000u);
  EXPECT_EQ(DecodeBE32(h.data() + list + 4), 1010u);
  EXPECT_EQ(DecodeBE32(h.data() + 16 * 64), 1001u);  // the freed run is marked
  EXPECT_EQ(DecodeBE32(h.data() + 532), 1u);          // update counter
  m.reset();
  std::unique_ptr<MemoFile> again;
  ASSERT_TRUE(MemoFile::Open(dir_.file("M.FPT"), {}, &again).ok());
  EXPECT_EQ(put(*again, 0, "c"), 16u);  // found in the list after reopening
  EXPECT_EQ(get(*again, a), std::string(100, 'A'));
  EXPECT_EQ(get(*again, b), std::string(50, 'b'));
}

// A new value never lands on the blocks of the value it replaces: until the record holds the new
// reference, the old one must still read the old value (a writer killed in between).
TEST_F(MemoTest, Version1WritesANewValueBesideTheOneItReplaces) {
  auto m = create({.version = 1});
  EXPECT_EQ(m->headerSize(), 512u);
  uint32_t a = put(*m, 0, std::string(100, 'a'));  // blocks 8, 9
  uint32_t b = put(*m, 0, std::string(10, 'b'));   // block 10
  EXPECT_EQ(a, 8u);
  EXPECT_EQ(put(*m, a, "short"), 11u);                // large enough, but still referenced
  EXPECT_EQ(get(*m, a), std::string(100, 'a'));       // the old value reads as before
  EXPECT_EQ(put(*m, b, std::string(200, 'B')), 12u);  // last in the file, still referenced
  EXPECT_EQ(get(*m, b), std::string(10, 'b'));
  uint32_t a2 = put(*m, 8, std::string(300, 'A'));    // new blocks
  EXPECT_EQ(a2, 16u);
  EXPECT_EQ(put(*m, 0, "x"), 21u);  // version 1 keeps no free list
}

TEST_F(MemoTest, Version2KeepsItsFreeListInTheHeader) {
  auto m = create({.version = 2, .block_size = 32});
  std::vector<uint8_t> h = bytes();
  EXPECT_EQ(std::string(h.begin() + 8, h.begin() + 15), "SIxMemo");
  uint32_t a = put(*m, 0, std::string(100, 'a'));  // 16..19
  put(*m, 0, "keep");
  put(*m, a, "");  // frees a: four blocks
  h = bytes();
  EXPECT_EQ(DecodeBE16(h.data() + 18), 1u);
  EXPECT_EQ(DecodeBE16(h.data() + 20), 4u);
  EXPECT_EQ(DecodeBE32(h.data() + 22), 16u);
  EXPECT_EQ(put(*m, 0, "reuse"), 16u);
}

TEST_F(MemoTest, DbtTakesOnlyTextAndEndsWithTwoMarks) {
  auto m = create({.memo_type = dbf::kMemoDbt}, "m.dbt");
  EXPECT_EQ(m->blockSize(), 512u);
  uint32_t a = put(*m, 0, "text");
  EXPECT_EQ(a, 1u);
  std::vector<uint8_t> b = bytes("m.dbt");
  EXPECT_EQ(std::string(b.begin() + 512, b.begin() + 518), "text\x1A\x1A");
  EXPECT_EQ(get(*m, a), "text");
  uint32_t block = 0;
  Status st = m->write(0, 0, {kTypeInt32, "1234"}, &block);
  EXPECT_EQ(st.subcode(), 1020);
  EXPECT_EQ(put(*m, a, "new"), 2u);  // never reuses
  uint32_t len = 0;
  ASSERT_TRUE(m->length(2, 0, &len).ok());
  EXPECT_EQ(len, 3u);
}

TEST_F(MemoTest, SmtKeepsLengthInTheRecord) {
  auto m = create({.memo_type = dbf::kMemoSmt}, "m.smt");
  EXPECT_EQ(m->version(), 2);
  EXPECT_EQ(m->blockSize(), 32u);
  std::string text(40, 's');
  uint32_t a = put(*m, 0, text);
  EXPECT_EQ(a, 16u);
  EXPECT_EQ(get(*m, a, 40), text);
  uint32_t block = 0;
  ASSERT_TRUE(m->write(a, 40, {kTypeText, "x"}, &block).ok());  // then frees both old blocks
  EXPECT_EQ(block, 18u);
  EXPECT_EQ(get(*m, a, 40), text);  // the old value is left as it was
  std::vector<uint8_t> h = bytes("m.smt");
  EXPECT_EQ(DecodeLE32(h.data()), 19u);  // little-endian next free
  EXPECT_EQ(DecodeLE32(h.data() + 4), 32u);
  EXPECT_EQ(put(*m, 0, text), 16u);  // the freed run is taken by the next value
}

TEST_F(MemoTest, TypedValuesOnlyWhereTheVersionAllows) {
  for (int version : {1, 4}) {
    auto m = create({.version = version}, version == 1 ? "v1.fpt" : "v4.fpt");
    uint32_t block = 0;
    EXPECT_EQ(m->write(0, 0, {kTypeDouble, std::string(8, '\0')}, &block).subcode(), 1020);
  }
  auto m4 = create({.version = 4}, "v4b.fpt");
  m4.reset();
  std::unique_ptr<MemoFile> reopened;
  ASSERT_TRUE(MemoFile::Open(dir_.file("v4b.fpt"), {}, &reopened).ok());
  EXPECT_EQ(reopened->version(), 4);
  auto m3 = create({});
  uint32_t t = put(*m3, 0, "", kTypeTrue);  // a typed value with no data still takes a block
  EXPECT_EQ(t, 16u);
  MemoValue v;
  ASSERT_TRUE(m3->read(t, 0, &v).ok());
  EXPECT_EQ(v.type, uint32_t(kTypeTrue));
}

TEST_F(MemoTest, DamagedMemoFilesGiveTheirErrors) {
  std::string dir = std::string(PV_RDD_TESTDATA) + "/damaged/";
  std::unique_ptr<MemoFile> m;
  Status st = MemoFile::Open(dir + "zero_block_size.fpt", {.read_only = true}, &m);
  EXPECT_EQ(st.subcode(), 1012);
  st = MemoFile::Open(dir + "short_memo_header.fpt", {.read_only = true}, &m);
  EXPECT_EQ(st.subcode(), 1012);
  ASSERT_TRUE(MemoFile::Open(dir + "memo_beyond_end.fpt", {.read_only = true}, &m).ok());
  MemoValue v;
  st = m->read(8, 0, &v);
  EXPECT_EQ(st.subcode(), 1010);
  EXPECT_NE(st.toString().find("memo_beyond_end.fpt"), std::string::npos);
  EXPECT_EQ(m->read(3, 0, &v).subcode(), 1012);  // inside the header
  EXPECT_EQ(m->read(100, 0, &v).subcode(), 1010);
  st = MemoFile::Open(dir + "none.fpt", {}, &m);
  EXPECT_EQ(st.subcode(), 1002);
  EXPECT_TRUE(st.canRetry() && st.canDefault());
  st = MemoFile::Open(dir + "zero_block_size.fpt", {.memo_type = 5}, &m);
  EXPECT_EQ(st.subcode(), 1056);
}

TEST_F(MemoTest, SharedWritersSeeEachOthersFreeList) {
  create({}).reset();
  std::unique_ptr<MemoFile> a, b;
  ASSERT_TRUE(MemoFile::Open(dir_.file("m.fpt"), {.shared = true}, &a).ok());
  ASSERT_TRUE(MemoFile::Open(dir_.file("m.fpt"), {.shared = true}, &b).ok());
  uint32_t x = put(*a, 0, "from a");
  uint32_t y = put(*b, 0, "from b");
  EXPECT_NE(x, y);
  put(*b, 0, "keeps the end");
  put(*a, x, "");  // a frees x; b finds it
  EXPECT_EQ(put(*b, 0, "reuse"), x);
  EXPECT_EQ(get(*a, y), "from b");
}

// Random writes, rewrites and clears of twenty memo slots against a map, for every layout.
TEST_F(MemoTest, RandomRewritesAgainstAModel) {
  struct Layout {
    MemoCreateOptions options;
    const char* name;
  };
  for (const Layout& layout : {Layout{{.version = 1}, "r1.fpt"}, Layout{{.version = 2}, "r2.fpt"},
                               Layout{{.version = 3, .block_size = 16}, "r3.fpt"},
                               Layout{{.memo_type = dbf::kMemoSmt}, "r.smt"},
                               Layout{{.memo_type = dbf::kMemoDbt}, "r.dbt"}}) {
    SCOPED_TRACE(layout.name);
    auto m = create(layout.options, layout.name);
    std::mt19937 rng(11);
    std::map<int, std::pair<uint32_t, std::string>> slots;  // slot -> (block, text)
    for (int step = 0; step < 400; ++step) {
      int slot = int(rng() % 20);
      auto& [block, text] = slots[slot];
      std::string next(rng() % 4 == 0 ? 0 : rng() % 300, char('a' + rng() % 26));
      uint32_t nb = 0;
      Status st = m->write(block, uint32_t(text.size()), {kTypeText, next}, &nb);
      ASSERT_TRUE(st.ok()) << st.toString();
      block = nb, text = next;
      for (auto& [s, v] : slots) ASSERT_EQ(get(*m, v.first, uint32_t(v.second.size())), v.second) << step;
    }
  }
}

TEST_F(MemoTest, PackCopiesLiveMemosAndShrinksTheFile) {
  std::unique_ptr<dbf::DbfTable> t;
  ASSERT_TRUE(dbf::DbfTable::Create(dir_.file("p.dbf"), {{"N", "N", 3, 0, 0}, {"NOTE", "M", 10, 0, 0}},
                                    {.memo_type = dbf::kMemoFpt}, &t).ok());
  auto m = create({}, "p.fpt");
  std::vector<uint8_t> rec(t->recordLength());
  for (int i = 1; i <= 6; ++i) {
    t->blankRecord(rec.data());
    ASSERT_TRUE(dbf::PutNumber(t->fields()[0], rec.data(), i).ok());
    uint32_t block = put(*m, 0, std::string(size_t(100 * i), char('0' + i)));
    ASSERT_TRUE(dbf::PutMemoBlock(t->fields()[1], rec.data(), block).ok());
    if (i % 2 == 0) rec[0] = '*';
    uint32_t n;
    ASSERT_TRUE(t->append(rec.data(), &n).ok());
  }
  size_t before = bytes("p.fpt").size();
  ASSERT_TRUE(PackWithMemo(*t, *m).ok());
  EXPECT_EQ(t->recordCount(), 3u);
  EXPECT_LT(bytes("p.fpt").size(), before);
  for (uint32_t n = 1; n <= 3; ++n) {
    ASSERT_TRUE(t->readRecord(n, rec.data()).ok());
    double num = 0;
    dbf::GetNumber(t->fields()[0], rec.data(), &num);
    uint32_t block = 0;
    ASSERT_TRUE(dbf::GetMemoBlock(t->fields()[1], rec.data(), &block).ok());
    EXPECT_EQ(get(*m, block), std::string(size_t(100 * num), char('0' + int(num))));
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_NE(entry.path().extension(), ".tmp") << "temporary memo file left behind";
  }
  ASSERT_TRUE(m->zap().ok());
  EXPECT_EQ(bytes("p.fpt").size(), 1024u);
}

}  // namespace
}  // namespace pv::memo

namespace pv::memo {
namespace {

TEST(MemoTypedTest, NumbersTakeTheSmallestFormAndRoundTrip) {
  struct Case { double v; uint32_t type; size_t bytes; } cases[] = {
      {5, kTypeInt8, 1}, {-128, kTypeInt8, 1}, {300, kTypeInt16, 2}, {-40000, kTypeInt32, 4},
      {3e9, kTypeDouble, 8}, {1.25, kTypeDouble, 8}};
  for (const Case& c : cases) {
    TypedValue v;
    v.kind = TypedValue::kNumber, v.number = c.v;
    MemoValue stored = EncodeTyped(v);
    EXPECT_EQ(stored.type, c.type) << c.v;
    EXPECT_EQ(stored.data.size(), c.bytes) << c.v;
    TypedValue back = DecodeTyped(stored);
    EXPECT_EQ(back.kind, TypedValue::kNumber);
    EXPECT_EQ(back.number, c.v);
  }
}

TEST(MemoTypedTest, OtherKindsAndDamagedData) {
  TypedValue d;
  d.kind = TypedValue::kDate, d.julian = 2460370;
  EXPECT_EQ(DecodeTyped(EncodeTyped(d)).julian, 2460370);
  TypedValue l;
  l.kind = TypedValue::kLogical, l.logical = true;
  EXPECT_EQ(EncodeTyped(l).type, uint32_t(kTypeTrue));
  EXPECT_TRUE(DecodeTyped(EncodeTyped(l)).logical);
  EXPECT_EQ(DecodeTyped({kTypeZero, {}}).kind, TypedValue::kNumber);
  EXPECT_EQ(DecodeTyped({kTypeUInt16, "\xFF\xFF"}).number, 65535);
  EXPECT_EQ(DecodeTyped({kTypeDouble, "abc"}).kind, TypedValue::kNil);  // too short
  EXPECT_EQ(DecodeTyped({kTypeArray, "x"}).kind, TypedValue::kNil);
  EXPECT_EQ(DecodeTyped({kTypeObject, "obj"}).kind, TypedValue::kText);
}

// Typed values go through a version 3 file and come back.
TEST(MemoTypedTest, TypedValuesThroughAFile) {
  test::ScratchDir dir;
  std::unique_ptr<MemoFile> m;
  ASSERT_TRUE(MemoFile::Create(dir.file("t.fpt"), {}, &m).ok());
  TypedValue v;
  v.kind = TypedValue::kNumber, v.number = -12.5;
  uint32_t block = 0;
  ASSERT_TRUE(m->write(0, 0, EncodeTyped(v), &block).ok());
  MemoValue stored;
  ASSERT_TRUE(m->read(block, 0, &stored).ok());
  EXPECT_EQ(DecodeTyped(stored).number, -12.5);
}

}  // namespace
}  // namespace pv::memo
