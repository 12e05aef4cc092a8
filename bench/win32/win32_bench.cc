// Win32 layer benchmarks. Painting: one full WM_PAINT of the grid window (30 x 6 cells with
// fills, lines and text, drawn into a memory bitmap and copied to the backing store) on the Qt
// backend offscreen; goal under 5 ms per frame. Messages: one million messages posted and then
// retrieved and dispatched to a window procedure; goal under 0.5 s.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "grid_window.h"
#include "win32/testing.h"
#include "win32/win32.h"

namespace {

void paintGrid(benchmark::State& state, bool qt) {
  if (qt)
    pv::win32::testing::useQtBackend();
  else
    pv::win32::testing::useRecordingBackend();
  using namespace pv::win32::demo;
  registerGridClass();
  HWND grid = CreateWindowExA(0, "PvGrid", "grid", WS_POPUP | WS_VISIBLE, 0, 0, kGridColumns * kCellWidth,
                              (kGridRows + 1) * kRowHeight, nullptr, nullptr, nullptr, nullptr);
  for (auto _ : state) {
    InvalidateRect(grid, nullptr, FALSE);
    UpdateWindow(grid);
  }
  DestroyWindow(grid);
  pv::win32::testing::reset();
}

void BM_PaintGridFrameQt(benchmark::State& state) { paintGrid(state, true); }
void BM_PaintGridFrameRecording(benchmark::State& state) { paintGrid(state, false); }

long dispatched = 0;
LRESULT CALLBACK countingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) {
    dispatched += static_cast<long>(w);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

void postAndDispatch(benchmark::State& state, bool qt) {
  if (qt)
    pv::win32::testing::useQtBackend();
  else
    pv::win32::testing::useRecordingBackend();
  WNDCLASSA wc{0, countingProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "Counter"};
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, "Counter", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  for (auto _ : state) {
    dispatched = 0;
    for (int i = 0; i < 1000000; ++i) PostMessageA(h, WM_USER, 1, i);
    PostQuitMessage(0);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (dispatched != 1000000) state.SkipWithError("messages lost");
  }
  pv::win32::testing::reset();
}

void BM_PostAndDispatchMillionMessagesQt(benchmark::State& state) { postAndDispatch(state, true); }
void BM_PostAndDispatchMillionMessagesRecording(benchmark::State& state) { postAndDispatch(state, false); }

}  // namespace

BENCHMARK(BM_PaintGridFrameQt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintGridFrameRecording)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostAndDispatchMillionMessagesQt)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PostAndDispatchMillionMessagesRecording)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
