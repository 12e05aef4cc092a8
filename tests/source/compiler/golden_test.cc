// Golden listings: each golden/NAME.prg compiles to exactly the listing in golden/NAME.lst.
// Set PV_UPDATE_GOLDEN=1 to rewrite the listings after a deliberate change (then review them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compiler/compiler.h"
#include "compiler/disassembler.h"

namespace pv {
namespace {

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Golden, ListingsMatch) {
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(PV_GOLDEN_DIR)) {
    if (entry.path().extension() != ".prg") continue;
    SCOPED_TRACE(entry.path().filename().string());
    CompileOptions options;
    CompileResult r = compileSource(entry.path().filename().string(), readAll(entry.path()), options);
    ASSERT_TRUE(r.ok) << r.diags.text();
    std::string listing = listModule(r.module);
    std::filesystem::path expected = entry.path();
    expected.replace_extension(".lst");
    if (std::getenv("PV_UPDATE_GOLDEN")) {
      std::ofstream(expected, std::ios::binary) << listing;
    } else {
      EXPECT_EQ(listing, readAll(expected));
    }
    ++checked;
  }
  EXPECT_GE(checked, 5);
}

}  // namespace
}  // namespace pv
