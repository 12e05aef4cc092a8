// Dialog templates: the DLGTEMPLATE and DLGTEMPLATEEX byte layouts that dialog resources and
// in-memory dialogs use, read with bounds checks and written back. All values are little-endian;
// every item starts on a 4-byte boundary counted from the template's first byte.
//
// DLGTEMPLATE (standard)                      DLGTEMPLATEEX (extended)
//   0  4  style (WS_*, DS_*)                    0  2  dlgVer = 1
//   4  4  extended style                        2  2  signature = 0xFFFF
//   8  2  number of items                       4  4  help id
//  10  2  x  (dialog units)                     8  4  extended style
//  12  2  y                                    12  4  style
//  14  2  cx                                   16  2  number of items
//  16  2  cy                                   18  8  x, y, cx, cy
//  18  .  menu, class, title (sz_Or_Ord)       26  .  menu, class, title (sz_Or_Ord)
//   .  .  DS_SETFONT: WORD point size,          .  .  DS_SETFONT or DS_SHELLFONT: WORD point size,
//         UTF-16 face name, zero-terminated            WORD weight, BYTE italic, BYTE charset, face
//
// DLGITEMTEMPLATE                             DLGITEMTEMPLATEEX
//   0  4  style                                 0  4  help id
//   4  4  extended style                        4  4  extended style
//   8  8  x, y, cx, cy                          8  4  style
//  16  2  id                                   12  8  x, y, cx, cy
//  18  .  class, title (sz_Or_Ord)             20  4  id
//   .  2  creation data size: 0, or the size   24  .  class, title (sz_Or_Ord)
//         of the data including this WORD       .  2  number of creation-data bytes that follow
//
// sz_Or_Ord: a WORD 0 (none), 0xFFFF followed by a WORD ordinal, or a zero-terminated UTF-16
// string. Item class ordinals: 0x80 BUTTON, 0x81 EDIT, 0x82 STATIC, 0x83 LISTBOX, 0x84 SCROLLBAR,
// 0x85 COMBOBOX.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "win32/types.h"

namespace pv::win32 {

struct DialogItem {
  DWORD helpId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  std::string className;    // ANSI; predefined classes by their names ("BUTTON", ...)
  WORD classOrdinal = 0;    // the ordinal when the class was given as one
  std::string title;        // ANSI
  WORD titleOrdinal = 0;    // a resource id given instead of a title
  std::vector<unsigned char> creationData;
};

struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string menu;
  WORD menuOrdinal = 0;
  std::string className;
  WORD classOrdinal = 0;
  std::string title;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::string face;
  std::vector<DialogItem> items;
};

// Reads a template of at most `size` bytes. On bad or truncated bytes returns false and, when
// `error` is given, says what was wrong and where.
bool parseDialogTemplate(const void* data, size_t size, DialogTemplate& out, std::string* error = nullptr);

// Writes a template in the standard or extended layout (out.extended); DS_SETFONT in the style
// decides whether the font fields are written.
std::vector<unsigned char> writeDialogTemplate(const DialogTemplate& t);

// The predefined class for an item class ordinal, or "" for an unknown one; and the reverse.
const char* predefinedClassName(WORD ordinal);
WORD predefinedClassOrdinal(const std::string& name);

}  // namespace pv::win32
