// Window look-ups and real input for the UI script steps.
#include "uiscript_windows.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <vector>

#include "win32/testing.h"
#include "win32/text_codec.h"
#include "win32/win32.h"

namespace pv::gui::uiscript {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string withoutMnemonic(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size() && s[i + 1] != '&') continue;
    out += s[i];
  }
  return out;
}

std::vector<HWND> topLevels() {
  std::vector<HWND> all;
  EnumWindows([](HWND h, LPARAM l) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&all));
  return all;
}

struct KeyName {
  UINT vk;
  char ch;
};

const std::map<std::string, KeyName>& keyNames() {
  static const std::map<std::string, KeyName> names = {
      {"enter", {VK_RETURN, '\r'}}, {"return", {VK_RETURN, '\r'}}, {"escape", {VK_ESCAPE, 27}},
      {"esc", {VK_ESCAPE, 27}},     {"tab", {VK_TAB, '\t'}},       {"space", {VK_SPACE, ' '}},
      {"backspace", {VK_BACK, 8}},  {"delete", {VK_DELETE, 0}},    {"up", {VK_UP, 0}},
      {"down", {VK_DOWN, 0}},       {"left", {VK_LEFT, 0}},        {"right", {VK_RIGHT, 0}},
      {"pageup", {VK_PRIOR, 0}},    {"pagedown", {VK_NEXT, 0}},    {"home", {VK_HOME, 0}},
      {"end", {VK_END, 0}},         {"insert", {VK_INSERT, 0}},
  };
  return names;
}

// The key of a name without modifiers; vk 0 for a name it does not know.
KeyName namedKey(const std::string& name) {
  std::string key = lower(name);
  if (auto it = keyNames().find(key); it != keyNames().end()) return it->second;
  if (key.size() >= 2 && key[0] == 'f' && std::isdigit(static_cast<unsigned char>(key[1]))) {
    int n = std::atoi(key.c_str() + 1);
    return n >= 1 && n <= 24 ? KeyName{static_cast<UINT>(VK_F1 + n - 1), 0} : KeyName{0, 0};
  }
  if (name.size() != 1) return KeyName{0, 0};
  auto c = static_cast<unsigned char>(name[0]);
  return KeyName{std::isalnum(c) ? static_cast<UINT>(std::toupper(c)) : 0xE5, name[0]};
}

UINT modifierKey(const std::string& name) {
  if (name == "ctrl" || name == "control") return VK_CONTROL;
  if (name == "shift") return VK_SHIFT;
  if (name == "alt") return VK_MENU;
  return 0;
}

std::vector<UINT>& heldModifiers() {
  static std::vector<UINT> held;
  return held;
}

}  // namespace

std::string windowTitle(HWND h) {
  char buffer[512];
  int n = GetWindowTextA(h, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

HWND findVisibleTopLevel(const std::string& part) {
  for (HWND h : topLevels())
    if (IsWindowVisible(h) && windowTitle(h).find(part) != std::string::npos) return h;
  return nullptr;
}

bool anyTopLevelTitled(const std::string& part) {
  for (HWND h : topLevels())
    if (windowTitle(h).find(part) != std::string::npos) return true;
  return false;
}

HWND findButton(HWND parent, const std::string& caption) {
  struct Search {
    std::string want;
    HWND found;
  } search{lower(withoutMnemonic(caption)), nullptr};
  EnumChildWindows(parent, [](HWND h, LPARAM l) -> BOOL {
    auto* s = reinterpret_cast<Search*>(l);
    char cls[64];
    GetClassNameA(h, cls, sizeof cls);
    if (lower(cls) == "button" && lower(withoutMnemonic(windowTitle(h))) == s->want) {
      s->found = h;
      return FALSE;
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void clickAt(HWND h, int x, int y) { pv::win32::testing::click(h, x, y); }

void clickCentre(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  clickAt(h, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

bool pressKey(const std::string& name) {
  std::vector<UINT> modifiers;
  bool alt = false, ctrl = false, shift = false;
  std::string rest = name;
  // "ctrl+home": modifiers up to the last "+" that has a key after it ("ctrl++" is Ctrl and "+").
  for (size_t plus; (plus = rest.find('+')) != std::string::npos && plus > 0 && plus + 1 < rest.size();) {
    UINT vk = modifierKey(lower(rest.substr(0, plus)));
    if (!vk) return false;
    alt = alt || vk == VK_MENU;
    ctrl = ctrl || vk == VK_CONTROL;
    shift = shift || vk == VK_SHIFT;
    if (vk != VK_MENU) modifiers.push_back(vk);
    rest = rest.substr(plus + 1);
  }
  KeyName key = namedKey(rest);
  if (!key.vk) return false;
  // The character the combination types: a control code for Ctrl and a letter, capitals with Shift.
  if (std::isalpha(static_cast<unsigned char>(key.ch)) && (ctrl || shift))
    key.ch = static_cast<char>(std::toupper(static_cast<unsigned char>(key.ch)) & (ctrl ? 0x1F : 0xFF));
  for (UINT m : modifiers) pv::win32::testing::keyEdge(m, true);
  pv::win32::testing::key(key.vk, key.ch, alt);
  heldModifiers() = modifiers;
  return true;
}

bool releaseHeldModifiers() {
  std::vector<UINT>& held = heldModifiers();
  if (held.empty()) return false;
  for (auto it = held.rbegin(); it != held.rend(); ++it) pv::win32::testing::keyEdge(*it, false);
  held.clear();
  return true;
}

std::string boxLine(const win32::automation::MessageBoxInfo& box) {
  auto quoted = [](const std::string& ansi) {
    std::string utf8 = pv::win32::ansiToUtf8(ansi), out = "\"";
    for (size_t i = 0; i < utf8.size(); ++i) {
      if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
      if (utf8[i] == '\r' || utf8[i] == '\n') out += "\\n";
      else out += utf8[i];
    }
    return out + "\"";
  };
  return "box " + quoted(box.caption) + " " + quoted(box.text);
}

}  // namespace pv::gui::uiscript
