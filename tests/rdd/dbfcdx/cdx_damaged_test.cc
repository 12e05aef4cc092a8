// The damaged index files of damaged/ (made from base.cdx by make_damaged.py): each must end
// in the outcome EXPECTED gives — failing to open, failing while walking and seeking, or
// failing the structure check — with its code and message, never with a crash.
#include <fstream>
#include <iterator>
#include <sstream>

#include "cdx_test_util.h"

namespace pv::cdx::test {
namespace {

const std::string kDir = std::string(CDX_TEST_DIR) + "/damaged/";

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

// Walks every tag forward and backward and seeks each key met.
CdxStatus walkAll(CdxIndex& x) {
  for (auto& tp : x.tags) {
    CdxTag& t = *tp;
    CdxStatus s = cdxTagGoTop(t);
    std::vector<CdxKey> keys;
    while (s.ok() && t.cur.rec && keys.size() < 100000) {
      keys.push_back(t.cur);
      s = cdxTagSkip(t, 1);
    }
    if (s.ok()) s = cdxTagGoBottom(t);
    while (s.ok() && t.cur.rec && !t.topOfOrder) s = cdxTagSkip(t, -1);
    for (size_t i = 0; s.ok() && i < keys.size(); ++i)
      s = cdxTagSeek(t, keys[i].val, keys[i].len, false, false, nullptr);
    if (!s.ok()) return s;
  }
  return {};
}

struct Outcome {
  std::string stage;
  int code = 0;
  std::string text;
};

Outcome run(const std::string& file) {
  std::unique_ptr<CdxIndex> x;
  CdxStatus s = cdxIndexOpen(std::make_unique<CdxMemFile>(readFile(kDir + file)), "BASE", {}, x);
  if (!s.ok()) return {"open", s.code, s.text};
  s = walkAll(*x);
  if (!s.ok()) return {"walk", s.code, s.text};
  CdxCheckReport rep;
  s = cdxCheckIndex(*x, rep);
  if (!s.ok()) return {"check", s.code, s.text};
  return {"ok", 0, ""};
}

TEST(CdxDamaged, EachFileGivesItsOutcome) {
  std::ifstream list(kDir + "EXPECTED");
  ASSERT_TRUE(list.good());
  std::string line;
  int files = 0;
  while (std::getline(list, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    Outcome want;
    std::string file;
    in >> file >> want.stage >> want.code;
    std::getline(in >> std::ws, want.text);
    Outcome got = run(file);
    EXPECT_EQ(got.stage, want.stage) << file << ": " << got.code << " " << got.text;
    EXPECT_EQ(got.code, want.code) << file << ": " << got.text;
    EXPECT_EQ(got.text.compare(0, want.text.size(), want.text), 0) << file << ": " << got.text;
    ++files;
  }
  EXPECT_EQ(files, 18);
}

// Adding keys to a damaged tag fails cleanly and leaves the file as it was.
TEST(CdxDamaged, MaintenanceOnADamagedTagChangesNothing) {
  auto bytes = readFile(kDir + "wrong_parent_key.cdx");
  auto* mem = new CdxMemFile(bytes);
  std::unique_ptr<CdxIndex> x;
  ASSERT_TRUE(cdxIndexOpen(std::unique_ptr<CdxPageFile>(mem), "BASE", {}, x).ok());
  CdxStatus s = cdxTagKeyAdd(*cdxIndexFindTag(*x, "NAME"), charKey("k00000", 999));
  EXPECT_EQ(s.code, kCdxCorrupt);
  EXPECT_EQ(mem->bytes(), bytes);
}

}  // namespace
}  // namespace pv::cdx::test
