// Reading and writing dialog templates (layout documented in win32/dialog_template.h).
#include "win32/dialog_template.h"

#include <strings.h>

#include <cstring>

#include "win32/constants.h"
#include "win32/text_codec.h"

namespace pv::win32 {

namespace {

const char* kClasses[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};

class Reader {
 public:
  Reader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

  template <class T>
  T read(const char* what) {
    T v{};
    if (!need(sizeof(T), what)) return v;
    for (size_t i = 0; i < sizeof(T); ++i) v = static_cast<T>(v | (static_cast<T>(data_[at_ + i]) << (8 * i)));
    at_ += sizeof(T);
    return v;
  }
  // A sz_Or_Ord field: either an ordinal or a string.
  void nameOrOrdinal(const char* what, std::string& name, WORD& ordinal) {
    WORD first = read<WORD>(what);
    if (failed() || first == 0) return;
    if (first == 0xFFFF) {
      ordinal = read<WORD>(what);
      return;
    }
    at_ -= 2;
    name = string(what);
  }
  std::string string(const char* what) {
    std::u16string s;
    for (;;) {
      WORD c = read<WORD>(what);
      if (failed() || c == 0) break;
      s += static_cast<char16_t>(c);
    }
    return utf16ToAnsi(s);
  }
  void align(size_t n) { at_ = (at_ + n - 1) / n * n; }
  void bytes(size_t n, const char* what, std::vector<unsigned char>& out) {
    if (!need(n, what)) return;
    out.assign(data_ + at_, data_ + at_ + n);
    at_ += n;
  }

 private:
  bool need(size_t n, const char* what) {
    if (failed()) return false;
    if (at_ > size_ || size_ - at_ < n) {
      error_ = std::string("template ends inside ") + what + " at byte " + std::to_string(at_);
      return false;
    }
    return true;
  }
  const unsigned char* data_;
  size_t size_;
  size_t at_ = 0;
  std::string error_;
};

class Writer {
 public:
  template <class T>
  void put(T v) {
    for (size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<unsigned char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xFF));
  }
  void nameOrOrdinal(const std::string& name, WORD ordinal) {
    if (ordinal) {
      put<WORD>(0xFFFF);
      put<WORD>(ordinal);
    } else {
      string(name);
    }
  }
  void string(const std::string& s) {
    for (char16_t c : ansiToUtf16(s)) put<WORD>(c);
    put<WORD>(0);
  }
  void align(size_t n) {
    while (out.size() % n) out.push_back(0);
  }
  std::vector<unsigned char> out;
};

void readItem(Reader& r, bool extended, DialogItem& item) {
  r.align(4);
  if (extended) {
    item.helpId = r.read<DWORD>("item help id");
    item.exStyle = r.read<DWORD>("item extended style");
    item.style = r.read<DWORD>("item style");
  } else {
    item.style = r.read<DWORD>("item style");
    item.exStyle = r.read<DWORD>("item extended style");
  }
  item.x = static_cast<short>(r.read<WORD>("item x"));
  item.y = static_cast<short>(r.read<WORD>("item y"));
  item.cx = static_cast<short>(r.read<WORD>("item cx"));
  item.cy = static_cast<short>(r.read<WORD>("item cy"));
  item.id = extended ? r.read<DWORD>("item id") : r.read<WORD>("item id");
  r.nameOrOrdinal("item class", item.className, item.classOrdinal);
  if (item.classOrdinal) {
    item.className = predefinedClassName(item.classOrdinal);
  }
  r.nameOrOrdinal("item title", item.title, item.titleOrdinal);
  WORD extra = r.read<WORD>("item creation data size");
  if (extra == 0 || r.failed()) return;
  size_t n = extended ? extra : (extra >= 2 ? extra - 2u : 0u);
  r.bytes(n, "item creation data", item.creationData);
}

}  // namespace

const char* predefinedClassName(WORD ordinal) {
  return ordinal >= 0x80 && ordinal <= 0x85 ? kClasses[ordinal - 0x80] : "";
}

WORD predefinedClassOrdinal(const std::string& name) {
  for (WORD i = 0; i < 6; ++i)
    if (strcasecmp(name.c_str(), kClasses[i]) == 0) return static_cast<WORD>(0x80 + i);
  return 0;
}

bool parseDialogTemplate(const void* data, size_t size, DialogTemplate& t, std::string* error) {
  t = DialogTemplate{};
  if (!data) {
    if (error) *error = "no template";
    return false;
  }
  Reader r(static_cast<const unsigned char*>(data), size);
  WORD first = r.read<WORD>("header");
  WORD second = r.read<WORD>("header");
  t.extended = first == 1 && second == 0xFFFF;
  if (t.extended) {
    t.helpId = r.read<DWORD>("help id");
    t.exStyle = r.read<DWORD>("extended style");
    t.style = r.read<DWORD>("style");
  } else {
    t.style = static_cast<DWORD>(first) | (static_cast<DWORD>(second) << 16);
    t.exStyle = r.read<DWORD>("extended style");
  }
  WORD count = r.read<WORD>("item count");
  t.x = static_cast<short>(r.read<WORD>("x"));
  t.y = static_cast<short>(r.read<WORD>("y"));
  t.cx = static_cast<short>(r.read<WORD>("cx"));
  t.cy = static_cast<short>(r.read<WORD>("cy"));
  r.nameOrOrdinal("menu", t.menu, t.menuOrdinal);
  r.nameOrOrdinal("class", t.className, t.classOrdinal);
  WORD titleOrdinal = 0;
  r.nameOrOrdinal("title", t.title, titleOrdinal);
  if (t.style & DS_SETFONT) {
    t.pointSize = r.read<WORD>("font size");
    if (t.extended) {
      t.weight = r.read<WORD>("font weight");
      t.italic = r.read<BYTE>("font italic");
      t.charset = r.read<BYTE>("font charset");
    }
    t.face = r.string("font face");
  }
  for (WORD i = 0; i < count && !r.failed(); ++i) {
    t.items.emplace_back();
    readItem(r, t.extended, t.items.back());
  }
  if (r.failed()) {
    if (error) *error = r.error();
    return false;
  }
  return true;
}

std::vector<unsigned char> writeDialogTemplate(const DialogTemplate& t) {
  Writer w;
  if (t.extended) {
    w.put<WORD>(1);
    w.put<WORD>(0xFFFF);
    w.put<DWORD>(t.helpId);
    w.put<DWORD>(t.exStyle);
    w.put<DWORD>(t.style);
  } else {
    w.put<DWORD>(t.style);
    w.put<DWORD>(t.exStyle);
  }
  w.put<WORD>(static_cast<WORD>(t.items.size()));
  for (short v : {t.x, t.y, t.cx, t.cy}) w.put<WORD>(static_cast<WORD>(v));
  w.nameOrOrdinal(t.menu, t.menuOrdinal);
  w.nameOrOrdinal(t.className, t.classOrdinal);
  w.string(t.title);
  if (t.style & DS_SETFONT) {
    w.put<WORD>(t.pointSize);
    if (t.extended) {
      w.put<WORD>(t.weight);
      w.put<BYTE>(t.italic);
      w.put<BYTE>(t.charset);
    }
    w.string(t.face);
  }
  for (const DialogItem& item : t.items) {
    w.align(4);
    if (t.extended) {
      w.put<DWORD>(item.helpId);
      w.put<DWORD>(item.exStyle);
      w.put<DWORD>(item.style);
    } else {
      w.put<DWORD>(item.style);
      w.put<DWORD>(item.exStyle);
    }
    for (short v : {item.x, item.y, item.cx, item.cy}) w.put<WORD>(static_cast<WORD>(v));
    if (t.extended)
      w.put<DWORD>(item.id);
    else
      w.put<WORD>(static_cast<WORD>(item.id));
    WORD ordinal = item.classOrdinal ? item.classOrdinal : predefinedClassOrdinal(item.className);
    w.nameOrOrdinal(item.className, ordinal);
    w.nameOrOrdinal(item.title, item.titleOrdinal);
    size_t n = item.creationData.size();
    w.put<WORD>(static_cast<WORD>(n == 0 ? 0 : t.extended ? n : n + 2));
    for (unsigned char b : item.creationData) w.put<BYTE>(b);
  }
  return w.out;
}

}  // namespace pv::win32
