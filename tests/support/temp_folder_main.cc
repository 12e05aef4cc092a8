// The main function of the unit tests: runs them inside a fresh temporary folder, so whatever
// a test writes by a relative name (traces such as error.log, files of the library functions)
// lands there and never in the folder the tests were started from. The folder is removed when
// every test passed and kept, with its path printed, when one failed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

std::string g_folder;
bool g_keep = false;

void removeFolder() {
  if (g_folder.empty() || g_keep) return;
  std::error_code ignored;
  std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
  std::filesystem::remove_all(g_folder, ignored);
}

bool enterTemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pvtest_XXXXXX").string();
  if (!::mkdtemp(pattern.data()) || ::chdir(pattern.c_str()) != 0) return false;
  g_folder = pattern;
  std::atexit(removeFolder);  // also after a death test's child calls exit()
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!enterTemporaryFolder()) {
    std::fprintf(stderr, "cannot create a temporary folder for the tests\n");
    return 1;
  }
  int rc = RUN_ALL_TESTS();
  if (rc != 0) {
    g_keep = true;
    std::fprintf(stderr, "files the tests wrote are in %s\n", g_folder.c_str());
  }
  return rc;
}
