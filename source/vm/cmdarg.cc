// The command line: splitting a Windows-style command line and the argument queries.
#include <cctype>
#include <string>
#include <vector>

#include "start.h"

namespace {

constexpr size_t kMaxArgs = 128;

std::vector<std::string>& args() {
  static std::vector<std::string> a;
  return a;
}

bool isSwitch(const std::string& a) { return a.size() >= 2 && a[0] == '/' && a[1] == '/'; }

}  // namespace

std::vector<std::string> pv_cmdargSplit(const std::string& program, const std::string& line) {
  std::vector<std::string> out{program};
  size_t i = 0, n = line.size();
  while (out.size() < kMaxArgs) {
    while (i < n && line[i] == ' ') ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n) {
      char c = line[i];
      if (c == '"') {
        ++i;
        if (quoted) break;  // the closing quote ends the argument
        quoted = true;
        continue;
      }
      if (c == ' ' && !quoted) break;
      arg += c;
      ++i;
    }
    out.push_back(arg);
  }
  return out;
}

void pv_cmdargInit(const std::vector<std::string>& a) {
  args() = a;
  if (args().size() > kMaxArgs) args().resize(kMaxArgs);
}

int pv_cmdargARGC() { return args().empty() ? 0 : static_cast<int>(args().size()) - 1; }

const std::string& pv_cmdargARGV(int n) {
  static const std::string empty;
  return (n >= 0 && n < static_cast<int>(args().size())) ? args()[n] : empty;
}

bool pv_cmdargCheck(const char* name) {
  std::string want = name;
  for (auto& c : want) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (size_t i = 1; i < args().size(); ++i) {
    if (!isSwitch(args()[i])) continue;
    std::string s = args()[i].substr(2);
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (s == want || s.rfind(want + ":", 0) == 0) return true;
  }
  return false;
}

std::vector<std::string> pv_cmdargParams() {
  std::vector<std::string> out;
  for (size_t i = 1; i < args().size(); ++i)
    if (!isSwitch(args()[i])) out.push_back(args()[i]);
  return out;
}
