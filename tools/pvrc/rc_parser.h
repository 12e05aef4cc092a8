// The dialog part of resource scripts: DIALOG and DIALOGEX statements with STYLE, EXSTYLE,
// CAPTION, FONT, CLASS, MENU and LANGUAGE, and the controls CONTROL, PUSHBUTTON,
// DEFPUSHBUTTON, LTEXT, CTEXT, RTEXT, LISTBOX, GROUPBOX, the check and radio boxes, EDITTEXT,
// COMBOBOX and SCROLLBAR; #define, #include "file" (for its #defines) and style expressions
// with |, +, - and NOT. Anything else is reported with its line.
#pragma once

#include <string>
#include <vector>

#include "win32/dialog_template.h"

namespace pv::rc {

struct DialogResource {
  std::string name;  // empty when the resource has a number
  WORD id = 0;
  WORD language = 0;
  pv::win32::DialogTemplate dialog;
};

// `folder` is where #include "file" looks. False with `error` ("line N: ...") on a bad script.
bool parseScript(const std::string& source, const std::string& folder, std::vector<DialogResource>& out,
                 std::string& error);

}  // namespace pv::rc
