// What UI script steps do to the program's windows: finding top-level windows by title and
// buttons by caption, and real input (mouse clicks and keys) through the Win32 layer.
#pragma once

#include <string>

#include "win32/automation.h"
#include "win32/types.h"

namespace pv::gui::uiscript {

std::string windowTitle(HWND hwnd);
// The topmost visible top-level window whose title contains `part`, or null.
HWND findVisibleTopLevel(const std::string& part);
// Whether any top-level window (shown or not) has `part` in its title.
bool anyTopLevelTitled(const std::string& part);
// A child button whose caption, without '&', equals `caption` (case-insensitive), or null.
HWND findButton(HWND parent, const std::string& caption);

// A press and release of the left button at a point of the window's client area, or at its centre.
void clickAt(HWND hwnd, int x, int y);
void clickCentre(HWND hwnd);
// A key press and release by name (Enter, Escape, Tab, Up, F1, ... or one character), with
// modifiers before it joined by "+" (ctrl+home, shift+tab, alt+f4, ctrl+shift+end); false for a
// name it does not know. Ctrl and Shift stay down until releaseHeldModifiers().
bool pressKey(const std::string& name);
// Lets the modifiers of the last key come up; false when none was held.
bool releaseHeldModifiers();

// `box "CAPTION" "TEXT"` with the text in UTF-8 and line breaks written as \n.
std::string boxLine(const win32::automation::MessageBoxInfo& box);

}  // namespace pv::gui::uiscript
