// The main function of the unit tests: runs them inside a fresh temporary folder, so whatever
// a test writes by a relative name (traces such as error.log, files of the library functions)
// lands there and never in the folder the tests were started from. The folder is removed when
// every test passed and kept, with its path printed, when one failed. The child process of a
// death test works in its parent's folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

constexpr char kFolderVariable[] = "PV_TEST_FOLDER";
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
  ::setenv(kFolderVariable, pattern.c_str(), 1);
  std::atexit(removeFolder);  // when main returns, and when a test ends the process with exit()
  return true;
}

bool isDeathTestChild(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]).rfind("--gtest_internal_run_death_test", 0) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // GoogleTest starts a death test's child in the folder the program started in: the child
  // finds its parent's folder in the environment.
  const char* parentFolder = std::getenv(kFolderVariable);
  if (isDeathTestChild(argc, argv) && parentFolder) {
    if (::chdir(parentFolder) != 0) return 1;
  } else if (!enterTemporaryFolder()) {
    std::fprintf(stderr, "cannot create a temporary folder for the tests\n");
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  if (rc != 0) {
    g_keep = true;
    std::fprintf(stderr, "files the tests wrote are in %s\n", g_folder.c_str());
  }
  return rc;
}
