// System services the start-up and the error report read: the module path, the version (from
// the kernel's release), memory status, timing counters, starting programs (a text file named
// to Notepad opens in the desktop's text editor), the handle count, the beeper, the last error.
#include <spawn.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

#include "state.h"
#include "win32/kernel.h"
#include "win32/user.h"

extern char** environ;

using namespace pv::win32;

namespace {

thread_local DWORD lastError = 0;

uint64_t steadyNs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

// Splits a command line at blanks outside double quotes.
std::vector<std::string> splitCommand(const std::string& line) {
  std::vector<std::string> out;
  std::string cur;
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any || !cur.empty()) out.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += c;
    }
  }
  if (any || !cur.empty()) out.push_back(cur);
  return out;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string localPath(std::string s) {
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

DWORD GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n < 0) return 0;
  auto len = static_cast<DWORD>(n);
  if (len >= size) {
    std::memcpy(buffer, path, size - 1);
    buffer[size - 1] = 0;
    SetLastError(122);  // ERROR_INSUFFICIENT_BUFFER
    return size;
  }
  std::memcpy(buffer, path, len);
  buffer[len] = 0;
  return len;
}

HMODULE GetModuleHandleA(LPCSTR name) { return name ? nullptr : reinterpret_cast<HMODULE>(uintptr_t(0xC2000000u)); }

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
    SetLastError(122);
    return FALSE;
  }
  utsname u{};
  uname(&u);
  unsigned major = 0, minor = 0, build = 0;
  int used = 0;
  std::sscanf(u.release, "%u.%u.%u%n", &major, &minor, &build, &used);
  info->dwMajorVersion = major;
  info->dwMinorVersion = minor;
  info->dwBuildNumber = build;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  const char* rest = u.release + used;
  while (*rest == '-' || *rest == '.') ++rest;
  std::snprintf(info->szCSDVersion, sizeof info->szCSDVersion, "%s", rest);
  return TRUE;
}

DWORD GetVersion() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  return (v.dwMajorVersion & 0xFF) | ((v.dwMinorVersion & 0xFF) << 8) | ((v.dwBuildNumber & 0x7FFF) << 16);
}

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (!status) return;
  struct sysinfo si{};
  sysinfo(&si);
  uint64_t unit = si.mem_unit ? si.mem_unit : 1;
  *status = MEMORYSTATUS{};
  status->dwLength = sizeof(MEMORYSTATUS);
  status->dwTotalPhys = si.totalram * unit;
  status->dwAvailPhys = (si.freeram + si.bufferram) * unit;
  status->dwTotalPageFile = (si.totalram + si.totalswap) * unit;
  status->dwAvailPageFile = (si.freeram + si.freeswap) * unit;
  status->dwTotalVirtual = 0x7FFE0000u;
  status->dwAvailVirtual = 0x7FFE0000u;
  status->dwMemoryLoad = si.totalram ? static_cast<DWORD>(100 - status->dwAvailPhys * 100 / status->dwTotalPhys) : 0;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* f) {
  if (!f) return FALSE;
  f->QuadPart = 10000000;
  return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* c) {
  if (!c) return FALSE;
  c->QuadPart = static_cast<LONGLONG>(steadyNs() / 100);
  return TRUE;
}

ULONGLONG ReadTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return __rdtsc();
#else
  return steadyNs();
#endif
}

DWORD GetTickCount() { return static_cast<DWORD>(steadyNs() / 1000000); }

void Sleep(DWORD ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

UINT WinExec(LPCSTR commandLine, UINT) {
  if (!commandLine) return ERROR_FILE_NOT_FOUND;
  std::vector<std::string> args = splitCommand(commandLine);
  if (args.empty()) return ERROR_FILE_NOT_FOUND;
  std::string program = lower(std::filesystem::path(localPath(args[0])).filename().string());
  if (program == "notepad.exe" || program == "notepad") {
    if (args.size() < 2) return ERROR_FILE_NOT_FOUND;
    std::string file = localPath(args[1]);
    if (!std::filesystem::exists(file)) return ERROR_FILE_NOT_FOUND;
    return backend().openInTextEditor(std::filesystem::absolute(file).string()) ? 33 : ERROR_FILE_NOT_FOUND;
  }
  // Any other program starts in the background through the shell, which returns at once.
  std::string script = "exec \"$0\" \"$@\" </dev/null >/dev/null 2>&1 &";
  std::vector<char*> argv{const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), script.data()};
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) return ERROR_FILE_NOT_FOUND;
  int status = 0;
  waitpid(pid, &status, 0);
  return 33;
}

UINT SetHandleCount(UINT count) { return count; }

BOOL MessageBeep(UINT) {
  backend().beep();
  return TRUE;
}
