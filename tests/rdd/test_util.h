// Helpers shared by the storage-layer tests: scratch folders and whole-file bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pv::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Runs a shell command and returns its standard output.
std::string RunCommand(const std::string& command);
// The folder of the foreign tables, or "" when it is not there.
std::string ForeignDataDir();

}  // namespace pv::test
