// Clipboard, global memory and the system services the error report reads.
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "test_support.h"

namespace pv::win32::test {
namespace {

using System = LayerTest;

HGLOBAL textBlock(const char* text) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::strlen(text) + 1);
  std::memcpy(GlobalLock(g), text, std::strlen(text) + 1);
  GlobalUnlock(g);
  return g;
}

TEST_F(System, ClipboardTextGoesThroughGlobalBlocks) {
  HWND top = topLevel();
  EXPECT_FALSE(SetClipboardData(CF_TEXT, textBlock("x"))) << "the clipboard is not open";
  ASSERT_TRUE(OpenClipboard(top));
  EXPECT_FALSE(OpenClipboard(top)) << "already open";
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_TRUE(SetClipboardData(CF_TEXT, textBlock("Gr\xFC\xDF" "e")));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_EQ(backend->clipboard, "Gr\xFC\xDF" "e");
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE h = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(h);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "Gr\xFC\xDF" "e");
  GlobalUnlock(h);
  HANDLE u = GetClipboardData(CF_UNICODETEXT);
  EXPECT_EQ(static_cast<const char16_t*>(GlobalLock(u))[2], u'\u00FC');
  GlobalUnlock(u);
  CloseClipboard();
  EXPECT_EQ(GetClipboardOwner(), top);
}

TEST_F(System, ClipboardBitmapsAreCopied) {
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 4, 4);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  SetPixel(mem, 1, 1, RGB(9, 8, 7));
  SelectObject(mem, old);
  size_t before = pv::win32::testing::gdiObjectCount();
  OpenClipboard(nullptr);
  EmptyClipboard();
  EXPECT_TRUE(SetClipboardData(CF_BITMAP, bmp));
  EXPECT_EQ(pv::win32::testing::gdiObjectCount(), before - 1) << "the clipboard took the bitmap";
  HBITMAP back = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_TRUE(back);
  old = SelectObject(mem, back);
  EXPECT_EQ(GetPixel(mem, 1, 1), RGB(9, 8, 7));
  SelectObject(mem, old);
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(pv::win32::testing::gdiObjectCount(), before - 1) << "emptying frees what was handed out";
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

TEST_F(System, GlobalBlocksAndBadHandles) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 10);
  EXPECT_EQ(GlobalSize(g), 10u);
  auto* p = static_cast<unsigned char*>(GlobalLock(g));
  EXPECT_EQ(p[9], 0);
  EXPECT_FALSE(GlobalUnlock(g));
  EXPECT_EQ(GlobalFree(g), nullptr);
  EXPECT_EQ(GlobalLock(g), nullptr);
  EXPECT_EQ(GlobalFree(g), g) << "a freed handle comes back as the failure value";
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T(1) << 40), nullptr) << "too large";
}

TEST_F(System, ModuleVersionMemoryAndCounters) {
  char path[4096];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  char expected[4096];
  ssize_t m = readlink("/proc/self/exe", expected, sizeof expected - 1);
  expected[m] = 0;
  EXPECT_EQ(n, static_cast<DWORD>(m));
  EXPECT_STREQ(path, expected);
  OSVERSIONINFOA v{};
  EXPECT_FALSE(GetVersionExA(&v)) << "the size field must be set";
  v.dwOSVersionInfoSize = sizeof v;
  ASSERT_TRUE(GetVersionExA(&v));
  utsname u;
  uname(&u);
  EXPECT_EQ(std::to_string(v.dwMajorVersion), std::string(u.release).substr(0, std::string(u.release).find('.')));
  EXPECT_EQ(v.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_EQ(GetVersion() & 0x80000000u, 0u) << "NT family";
  MEMORYSTATUS ms;
  GlobalMemoryStatus(&ms);
  EXPECT_GT(ms.dwTotalPhys, 1024u * 1024u);
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  ULONGLONG t0 = ReadTimeStampCounter();
  Sleep(2);
  QueryPerformanceCounter(&b);
  EXPECT_GT(b.QuadPart, a.QuadPart);
  EXPECT_GT(ReadTimeStampCounter(), t0);
  EXPECT_EQ(f.QuadPart, 10000000);
  EXPECT_EQ(SetHandleCount(40), 40u);
}

TEST_F(System, RegistryHoldsTheProcessorNameReadOnly) {
  HKEY key;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", 0, KEY_ALL_ACCESS, &key),
            ERROR_ACCESS_DENIED);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "hardware\\description\\system\\centralprocessor\\0", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "ProcessorNameString", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_GT(size, 1u);
  std::string name(size, '\0');
  DWORD small = 1;
  EXPECT_EQ(RegQueryValueExA(key, "ProcessorNameString", nullptr, nullptr, reinterpret_cast<BYTE*>(name.data()), &small),
            ERROR_MORE_DATA);
  EXPECT_EQ(RegQueryValueExA(key, "ProcessorNameString", nullptr, nullptr, reinterpret_cast<BYTE*>(name.data()), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(name.back(), '\0');
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueExA(key, "X", 0, REG_SZ, nullptr, 0), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Other", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(System, NotepadOpensTheFileInTheTextEditor) {
  std::string file = ::testing::TempDir() + "FEHLER_1.log";
  std::ofstream(file) << "report";
  EXPECT_EQ(WinExec(("Notepad.exe " + file).c_str(), 1), 33u);
  ASSERT_EQ(backend->editedFiles.size(), 1u);
  EXPECT_EQ(backend->editedFiles[0], file);
  EXPECT_EQ(WinExec("Notepad.exe /no/such/FEHLER_9.log", 1), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(WinExec("", 1), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
  std::string marker = ::testing::TempDir() + "winexec_marker";
  std::remove(marker.c_str());
  EXPECT_EQ(WinExec(("touch " + marker).c_str(), 1), 33u) << "other programs start in the background";
  for (int i = 0; i < 200 && !std::ifstream(marker); ++i) Sleep(10);
  EXPECT_TRUE(std::ifstream(marker).good());
  EXPECT_TRUE(MessageBeep(0));
  EXPECT_EQ(backend->beeps, 1);
}

}  // namespace
}  // namespace pv::win32::test
