// Helpers for the layer's tests: a fresh recording backend per test and a window class whose
// procedure logs the messages it gets.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/testing.h"
#include "win32/win32.h"

namespace pv::win32::test {

struct Logged {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Logged>& messageLog() {
  static std::vector<Logged> log;
  return log;
}

// Messages of the log, in order, keeping only those in `interesting`.
inline std::vector<UINT> logged(HWND h, std::initializer_list<UINT> interesting) {
  std::vector<UINT> out;
  for (const Logged& l : messageLog())
    if ((!h || l.hwnd == h) && std::find(interesting.begin(), interesting.end(), l.message) != interesting.end())
      out.push_back(l.message);
  return out;
}

inline LRESULT CALLBACK loggingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  messageLog().push_back(Logged{h, m, w, l});
  return DefWindowProcA(h, m, w, l);
}

class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend = &pv::win32::testing::useRecordingBackend();
    messageLog().clear();
    WNDCLASSA wc{CS_DBLCLKS, loggingProc, 0, 0, nullptr, nullptr, nullptr, GetSysColorBrush(COLOR_WINDOW), nullptr,
                 "Logger"};
    ASSERT_TRUE(RegisterClassA(&wc));
  }
  void TearDown() override { pv::win32::testing::reset(); }

  HWND topLevel(const char* title = "top", DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
    return CreateWindowExA(0, "Logger", title, style, 10, 20, 300, 200, nullptr, nullptr, nullptr, nullptr);
  }
  HWND child(HWND parent, int id, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE) {
    return CreateWindowExA(0, "Logger", "", style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
  }

  RecordingBackend* backend = nullptr;
};

}  // namespace pv::win32::test
