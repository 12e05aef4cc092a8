// Runs the reader scripts under Debian's python (its modules import only there).
#include "workbook_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace test {

std::set<std::string> ReadBack(const std::string& original) {
  // The reader follows the content: an Open XML file is a zip archive ("PK").
  std::string path = original;
  FILE* probe = fopen(path.c_str(), "rb");
  char magic[2] = {0, 0};
  if (probe) {
    if (fread(magic, 1, 2, probe) != 2) magic[0] = 0;
    fclose(probe);
  }
  bool xlsx = magic[0] == 'P' && magic[1] == 'K';
  if (xlsx && (path.size() < 5 || path.substr(path.size() - 5) != ".xlsx")) {
    // openpyxl goes by the extension.
    std::filesystem::copy_file(path, path + ".xlsx", std::filesystem::copy_options::overwrite_existing);
    path += ".xlsx";
  }
  std::string script = std::string(PV_TEST_SOURCE_DIR) + (xlsx ? "/xlsx_dump.py" : "/xls_dump.py");
  std::string command = "/usr/bin/python3 " + script + " '" + path + "' 2>&1";
  std::set<std::string> lines;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return lines;
  }
  std::string all;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) all.append(buf, n);
  int rc = pclose(pipe);
  std::istringstream in(all);
  std::string line;
  while (std::getline(in, line)) lines.insert(line);
  EXPECT_EQ(rc, 0) << all;
  EXPECT_TRUE(lines.count("end")) << all;
  return lines;
}

std::set<std::string> Select(const std::set<std::string>& facts, const std::string& prefix) {
  std::set<std::string> out;
  for (const auto& f : facts)
    if (f.rfind(prefix, 0) == 0) out.insert(f);
  return out;
}

std::string StyleOf(const std::set<std::string>& facts, int sheet, const std::string& cell) {
  auto found = Select(facts, "style " + std::to_string(sheet) + " " + cell + " ");
  return found.empty() ? "" : *found.begin();
}

}  // namespace test
