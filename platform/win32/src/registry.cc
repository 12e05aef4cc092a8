// The registry, read-only and holding only what the error report reads: the processor's name
// under HKEY_LOCAL_MACHINE\HARDWARE\DESCRIPTION\System\CentralProcessor\0, from /proc/cpuinfo.
#include <strings.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "state.h"
#include "win32/kernel.h"

using namespace pv::win32;

namespace {

constexpr const char* kProcessorKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

struct Key : Object {
  Key() : Object(Kind::Key) {}
};

std::string cpuInfo(const char* field) {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line)) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    if (strcasecmp(name.c_str(), field) != 0) continue;
    std::string value = line.substr(colon + 1);
    while (!value.empty() && value.front() == ' ') value.erase(value.begin());
    return value;
  }
  return "";
}

std::string processorName() {
  for (const char* field : {"model name", "Processor", "cpu model", "cpu"}) {
    std::string v = cpuInfo(field);
    if (!v.empty()) return v;
  }
  utsname u{};
  uname(&u);
  return u.machine;
}

LONG copyOut(const void* value, DWORD size, DWORD type, LPDWORD typeOut, LPBYTE data, LPDWORD dataSize) {
  if (typeOut) *typeOut = type;
  if (!dataSize) return data ? ERROR_INVALID_HANDLE : ERROR_SUCCESS;
  DWORD room = *dataSize;
  *dataSize = size;
  if (!data) return ERROR_SUCCESS;
  if (room < size) return ERROR_MORE_DATA;
  std::memcpy(data, value, size);
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, DWORD access, HKEY* result) {
  if (!result || !subKey) return ERROR_INVALID_HANDLE;
  *result = nullptr;
  if (key != HKEY_LOCAL_MACHINE || strcasecmp(subKey, kProcessorKey) != 0) return ERROR_FILE_NOT_FOUND;
  if (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK)) return ERROR_ACCESS_DENIED;
  *result = makeHandle<HKEY>(state().handles.add(std::make_unique<Key>()));
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  if (!state().handles.find<Key>(handleValue(key), Kind::Key)) return ERROR_INVALID_HANDLE;
  if (name && strcasecmp(name, "ProcessorNameString") == 0) {
    std::string v = processorName();
    return copyOut(v.c_str(), static_cast<DWORD>(v.size() + 1), REG_SZ, type, data, dataSize);
  }
  if (name && strcasecmp(name, "~MHz") == 0) {
    DWORD mhz = static_cast<DWORD>(std::atof(cpuInfo("cpu MHz").c_str()) + 0.5);
    if (!mhz) return ERROR_FILE_NOT_FOUND;
    return copyOut(&mhz, sizeof mhz, REG_DWORD, type, data, dataSize);
  }
  return ERROR_FILE_NOT_FOUND;
}

LONG RegSetValueExA(HKEY key, LPCSTR, DWORD, DWORD, const BYTE*, DWORD) {
  return state().handles.find<Key>(handleValue(key), Kind::Key) ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
}

LONG RegCloseKey(HKEY key) {
  if (!state().handles.find<Key>(handleValue(key), Kind::Key)) return ERROR_INVALID_HANDLE;
  state().handles.remove(handleValue(key));
  return ERROR_SUCCESS;
}
