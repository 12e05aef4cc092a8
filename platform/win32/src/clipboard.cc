// The clipboard over the desktop's clipboard: text (CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT) and
// bitmaps (CF_BITMAP). Data handed over becomes the clipboard's; data handed out stays the
// clipboard's until it is emptied.
#include <cstring>
#include <vector>

#include "gdi_state.h"
#include "win32/gdi.h"
#include "win32/kernel.h"
#include "win32/text_codec.h"
#include "win32/user.h"

using namespace pv::win32;

namespace {

struct Clipboard {
  bool open = false;
  HWND opener = nullptr;
  HWND owner = nullptr;
  std::vector<HANDLE> handedOut;
};

Clipboard& clip() {
  static Clipboard c;
  return c;
}

void freeHandedOut() {
  for (HANDLE h : clip().handedOut) {
    if (!DeleteObject(h)) GlobalFree(h);
  }
  clip().handedOut.clear();
}

bool isText(UINT format) { return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT; }

HGLOBAL textBlock(const std::string& ansi, UINT format) {
  HGLOBAL g;
  if (format == CF_UNICODETEXT) {
    std::u16string u = ansiToUtf16(ansi);
    g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (u.size() + 1) * 2);
    std::memcpy(GlobalLock(g), u.c_str(), (u.size() + 1) * 2);
  } else {
    g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, ansi.size() + 1);
    std::memcpy(GlobalLock(g), ansi.c_str(), ansi.size() + 1);
  }
  GlobalUnlock(g);
  return g;
}

std::string blockText(HANDLE h, UINT format) {
  auto* p = static_cast<const unsigned char*>(GlobalLock(h));
  size_t size = GlobalSize(h);
  std::string s;
  if (format == CF_UNICODETEXT) {
    std::u16string u;
    for (size_t i = 0; i + 1 < size; i += 2) {
      char16_t c = static_cast<char16_t>(p[i] | (p[i + 1] << 8));
      if (!c) break;
      u += c;
    }
    s = utf16ToAnsi(u);
  } else {
    s.assign(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), size));
  }
  GlobalUnlock(h);
  return s;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  Clipboard& c = clip();
  if (c.open || (owner && !IsWindow(owner))) return FALSE;
  c.open = true;
  c.opener = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& c = clip();
  if (!c.open) return FALSE;
  c.open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard& c = clip();
  if (!c.open) return FALSE;
  freeHandedOut();
  backend().clearClipboard();
  c.owner = c.opener;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  Clipboard& c = clip();
  if (!c.open || !data) return nullptr;
  if (isText(format)) {
    if (!GlobalSize(data)) return nullptr;
    backend().setClipboardText(blockText(data, format));
    GlobalFree(data);
    return data;
  }
  if (format == CF_BITMAP) {
    GdiBitmap* b = bitmap(data);
    if (!b) return nullptr;
    backend().setClipboardImage(*b->canvas);
    DeleteObject(data);
    return data;
  }
  return nullptr;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard& c = clip();
  if (!c.open) return nullptr;
  HANDLE h = nullptr;
  if (isText(format)) {
    std::string text;
    if (!backend().clipboardText(text)) return nullptr;
    h = textBlock(text, format);
  } else if (format == CF_BITMAP) {
    auto image = backend().clipboardImage();
    if (!image) return nullptr;
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, image->width(), image->height());
    if (!bmp) return nullptr;
    bitmap(bmp)->canvas->copyFrom(RECT{0, 0, image->width(), image->height()}, *image, POINT{0, 0}, SRCCOPY);
    h = bmp;
  }
  if (h) c.handedOut.push_back(h);
  return h;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (isText(format)) {
    std::string text;
    return backend().clipboardText(text) ? TRUE : FALSE;
  }
  if (format == CF_BITMAP) return backend().clipboardImage() ? TRUE : FALSE;
  return FALSE;
}

HWND GetClipboardOwner() { return IsWindow(clip().owner) ? clip().owner : nullptr; }

namespace pv::win32 {
void resetClipboard() {
  clip() = Clipboard{};
}
}  // namespace pv::win32
