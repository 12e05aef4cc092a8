// Separator normalisation and case-insensitive lookup of path components.
#include "path_resolve.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

namespace pv {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// The entry of `folder` whose name equals `name` without regard to case, or "" when none.
std::string FindInFolder(const std::string& folder, std::string_view name) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                          ::closedir);
  if (!dir) return {};
  while (const dirent* e = ::readdir(dir.get())) {
    if (EqualsIgnoringCase(e->d_name, name)) return e->d_name;
  }
  return {};
}

// "folder/name" ("name" for the current folder, "/name" at the root).
std::string JoinPath(const std::string& folder, std::string_view name) {
  std::string out = folder;
  if (!out.empty() && out.back() != '/') out.push_back('/');
  out.append(name);
  return out;
}

}  // namespace

std::string NormalizeSeparators(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

std::string ResolvePath(std::string_view path) {
  std::string norm = NormalizeSeparators(path);
  if (norm.empty() || Exists(norm)) return norm;
  std::string out = norm[0] == '/' ? "/" : "";  // the resolved prefix
  size_t pos = out.size();
  while (pos <= norm.size()) {
    size_t end = norm.find('/', pos);
    if (end == std::string::npos) end = norm.size();
    std::string_view part(norm.data() + pos, end - pos);
    if (!part.empty()) {
      std::string folder = out;
      out = JoinPath(folder, part);
      if (!Exists(out) && part != "." && part != "..") {
        std::string match = FindInFolder(folder, part);
        if (!match.empty()) out = JoinPath(folder, match);
      }
    }
    pos = end + 1;
  }
  if (norm.back() == '/' && out.back() != '/') out.push_back('/');
  return out;
}

bool ParentFolderExists(std::string_view resolved_path) {
  size_t slash = resolved_path.rfind('/');
  if (slash == std::string_view::npos) return true;
  if (slash == 0) return true;
  struct stat st;
  std::string folder(resolved_path.substr(0, slash));
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace pv
