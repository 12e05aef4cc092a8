// System information and process services for error reports: the read-only registry (under
// TReg32), processor clock, memory, the Windows version, running windows, starting programs,
// bitmaps from resources, the quit message and the time since start.
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "gui_natives.h"
#include "vm/array.h"
#include "vm/registrar.h"
#include "vm/start.h"
#include "vm/vm.h"

using namespace pv::gui;

namespace {

HKEY keyParam(int n) { return reinterpret_cast<HKEY>(static_cast<uintptr_t>(static_cast<uint32_t>(pv_parnll(n)))); }

// REGOPENKEY( nKey, cSubKey, nAccess ) -> the opened key, 0 when it does not exist.
void PV_FUN_REGOPENKEY() {
  HKEY result = nullptr;
  const char* sub = pv_parc(2);
  LONG rc = RegOpenKeyExA(keyParam(1), sub ? sub : "", 0, static_cast<DWORD>(pv_parnll(3)), &result);
  retHandle(rc == ERROR_SUCCESS ? result : nullptr);
}

// REGQUERYVALUE( hKey, cName ) -> the value's bytes as text, NIL when it is missing.
void PV_FUN_REGQUERYVALUE() {
  HKEY key = parHandle<HKEY>(1);
  const char* name = pv_parc(2);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return pv_ret();
  std::vector<BYTE> data(size + 1);
  if (RegQueryValueExA(key, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return pv_ret();
  pv_retclen(reinterpret_cast<const char*>(data.data()), size);
}

void PV_FUN_REGCLOSEKEY() { pv_retl(RegCloseKey(parHandle<HKEY>(1)) == ERROR_SUCCESS); }

// GETCPUSPEED() -> the processor clock in MHz: its cycle counter timed against the performance
// counter over 20 ms.
void PV_FUN_GETCPUSPEED() {
  LARGE_INTEGER freq{}, start{}, now{};
  QueryPerformanceFrequency(&freq);
  if (freq.QuadPart <= 0) return pv_retni(0);
  QueryPerformanceCounter(&start);
  ULONGLONG cycles = ReadTimeStampCounter();
  do QueryPerformanceCounter(&now);
  while (now.QuadPart - start.QuadPart < freq.QuadPart / 50);
  cycles = ReadTimeStampCounter() - cycles;
  double seconds = static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
  pv_retnll(static_cast<long long>(static_cast<double>(cycles) / seconds / 1e6 + 0.5));
}

// NEXTMEM() -> the total physical memory in bytes.
void PV_FUN_NEXTMEM() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  pv_retnd(static_cast<double>(status.dwTotalPhys));
}

// GETFREESYSTEMRESOURCES( n ) -> 90 (per cent free) for every kind of resource.
void PV_FUN_GETFREESYSTEMRESOURCES() { pv_retni(90); }

// GETTASKS() -> the titles of the top-level windows, from the first sibling of the active
// window through every next one, each distinct title once.
void PV_FUN_GETTASKS() {
  HWND start = GetActiveWindow();
  HWND h = start ? GetWindow(start, GW_HWNDFIRST) : GetTopWindow(nullptr);
  std::vector<std::string> titles;
  std::set<std::string> seen;
  for (; h; h = GetWindow(h, GW_HWNDNEXT)) {
    char buffer[512];
    int n = GetWindowTextA(h, buffer, sizeof buffer);
    std::string title(buffer, static_cast<size_t>(n > 0 ? n : 0));
    if (seen.insert(title).second) titles.push_back(title);
  }
  pv_reta(static_cast<PV_SIZE>(titles.size()));
  for (size_t i = 0; i < titles.size(); ++i) pv_arraySetC(pv_stackReturnItem(), static_cast<PV_SIZE>(i + 1), titles[i].c_str());
}

// WINEXEC( cCommand, nShow ) -> above 31 when the program started.
void PV_FUN_WINEXEC() {
  const char* command = pv_parc(1);
  pv_retni(command ? static_cast<int>(WinExec(command, static_cast<UINT>(pv_parni(2)))) : 2);
}

// GETVERSION() -> { nMajor, nMinor, nBuild, nPlatformId, cServicePack }.
void PV_FUN_GETVERSION() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  pv_reta(5);
  PV_ITEM a = pv_stackReturnItem();
  pv_arraySetNI(a, 1, static_cast<int>(info.dwMajorVersion));
  pv_arraySetNI(a, 2, static_cast<int>(info.dwMinorVersion));
  pv_arraySetNI(a, 3, static_cast<int>(info.dwBuildNumber));
  pv_arraySetNI(a, 4, static_cast<int>(info.dwPlatformId));
  pv_arraySetC(a, 5, info.szCSDVersion);
}

void PV_FUN_ISWINNT() { pv_retl((GetVersion() & 0x80000000u) == 0); }

// LOADBITMAP( hInstance, cName ) -> the bitmap, 0 when the program has none of that name.
void PV_FUN_LOADBITMAP() {
  const char* name = pv_parc(2);
  retHandle(name ? LoadBitmapA(parHandle<HINSTANCE>(1), name) : nullptr);
}

void PV_FUN_POSTQUITMESSAGE() {
  PostQuitMessage(pv_parni(1));
  pv_ret();
}

// FREERESOURCES(): the layer releases every window and drawing object at exit; nothing to do.
void PV_FUN_FREERESOURCES() { pv_ret(); }

// PROGRAMSECONDS() -> seconds since the program started.
void PV_FUN_PROGRAMSECONDS() {
  pv_retnd(pv_vmSecondsRunning());
}

// CPUSECONDS() -> the processor time the program has used, in seconds (for benchmarks on a
// shared machine, where the time on the clock says little).
void PV_FUN_CPUSECONDS() { pv_retnd(static_cast<double>(std::clock()) / CLOCKS_PER_SEC); }

PvSymbol s_symbols[] = {
    pv_native("CPUSECONDS", PV_FUN_CPUSECONDS),
    pv_native("REGOPENKEY", PV_FUN_REGOPENKEY),
    pv_native("REGQUERYVALUE", PV_FUN_REGQUERYVALUE),
    pv_native("REGCLOSEKEY", PV_FUN_REGCLOSEKEY),
    pv_native("GETCPUSPEED", PV_FUN_GETCPUSPEED),
    pv_native("NEXTMEM", PV_FUN_NEXTMEM),
    pv_native("GETFREESYSTEMRESOURCES", PV_FUN_GETFREESYSTEMRESOURCES),
    pv_native("GETTASKS", PV_FUN_GETTASKS),
    pv_native("WINEXEC", PV_FUN_WINEXEC),
    pv_native("GETVERSION", PV_FUN_GETVERSION),
    pv_native("ISWINNT", PV_FUN_ISWINNT),
    pv_native("LOADBITMAP", PV_FUN_LOADBITMAP),
    pv_native("POSTQUITMESSAGE", PV_FUN_POSTQUITMESSAGE),
    pv_native("FREERESOURCES", PV_FUN_FREERESOURCES),
    pv_native("PROGRAMSECONDS", PV_FUN_PROGRAMSECONDS),
};
PvModuleRegistrar s_module("gui/system_info", s_symbols);

}  // namespace
