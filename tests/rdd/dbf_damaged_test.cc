// Damaged tables: each file of damaged/ (made by damaged/make_damaged.py) gives its error,
// never a crash.
#include <gtest/gtest.h>

#include "dbf/dbf_table.h"

namespace pv::dbf {
namespace {

struct Damaged {
  const char* file;
  int subcode;
  const char* message;
  uint8_t flags;
};

const Damaged kCases[] = {
    {"empty.dbf", 1012, "short table header", kCanRetry | kCanDefault},
    {"short_header.dbf", 1012, "short table header", kCanRetry | kCanDefault},
    {"bad_version.dbf", 1012, "bad table version byte 0x04", kCanRetry | kCanDefault},
    {"header_too_small.dbf", 1012, "bad header or record length", kCanDefault},
    {"short_descriptors.dbf", 1012, "short field descriptor list", kCanRetry},
    {"no_terminator.dbf", 1012, "field descriptor list without end", kCanDefault},
    {"bad_type.dbf", 1012, "bad field descriptor NAME", kCanDefault},
    {"bad_length.dbf", 1012, "bad field descriptor NAME", kCanDefault},
    {"fields_too_long.dbf", 1012, "fields longer than the record", kCanDefault},
    {"empty_name.dbf", 1012, "field without a name", kCanDefault},
    {"record_length_one.dbf", 1012, "bad header or record length", kCanDefault},
    {"nullflags_missing.dbf", 1012, "nullable fields without _NullFlags", kCanDefault},
    {"nullflags_not_last.dbf", 1012, "bad _NullFlags field", kCanDefault},
};

TEST(DbfDamagedTest, EachFileGivesItsError) {
  for (const Damaged& c : kCases) {
    SCOPED_TRACE(c.file);
    std::string path = std::string(PV_RDD_TESTDATA) + "/damaged/" + c.file;
    std::unique_ptr<DbfTable> t;
    Status st = DbfTable::Open(path, {.read_only = true}, &t);
    EXPECT_EQ(st.kind(), StatusKind::kCorrupt);
    EXPECT_EQ(st.subcode(), c.subcode);
    EXPECT_EQ(st.message(), c.message);
    EXPECT_EQ(st.canRetry(), bool(c.flags & kCanRetry));
    EXPECT_EQ(st.canDefault(), bool(c.flags & kCanDefault));
    EXPECT_NE(st.toString().find(c.file), std::string::npos) << st.toString();
    EXPECT_EQ(t, nullptr);
  }
}

TEST(DbfDamagedTest, MissingTableIsAnOpenError) {
  std::unique_ptr<DbfTable> t;
  Status st = DbfTable::Open(std::string(PV_RDD_TESTDATA) + "/damaged/none.dbf", {}, &t);
  EXPECT_EQ(st.subcode(), 1001);
  EXPECT_EQ(st.osCode(), 2);
}

}  // namespace
}  // namespace pv::dbf
