// The table of dialog resources linked into the program.
#include "win32/resources.h"

#include <strings.h>

#include <string>
#include <vector>

namespace pv::win32 {

namespace {

struct Resource {
  std::string name;
  WORD id;
  WORD language;
  const unsigned char* data;
  size_t size;
};

std::vector<Resource>& table() {
  static std::vector<Resource> resources;
  return resources;
}

}  // namespace

bool registerDialogResource(const char* name, WORD id, WORD language, const unsigned char* data, size_t size) {
  if (!data) return false;
  if (findDialogResource(name ? name : MAKEINTRESOURCEA(id), nullptr, nullptr)) return false;
  table().push_back(Resource{name ? name : "", name ? WORD(0) : id, language, data, size});
  return true;
}

bool findDialogResource(LPCSTR name, const unsigned char** data, size_t* size) {
  if (!name) return false;
  bool byNumber = IS_INTRESOURCE(name);
  WORD id = byNumber ? static_cast<WORD>(reinterpret_cast<uintptr_t>(name)) : 0;
  for (const Resource& r : table()) {
    bool match = byNumber ? (r.name.empty() && r.id == id) : (!r.name.empty() && strcasecmp(r.name.c_str(), name) == 0);
    if (!match) continue;
    if (data) *data = r.data;
    if (size) *size = r.size;
    return true;
  }
  return false;
}

}  // namespace pv::win32
