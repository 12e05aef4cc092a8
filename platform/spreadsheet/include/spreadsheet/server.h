// The spreadsheet application's Automation server, ProgID "Excel.Application": an in-process
// class whose objects keep workbooks in memory and write them as BIFF8 (.xls) or Open XML
// (.xlsx) files at SaveAs.
//
// The runtime calls pv_spreadsheetRegister() once at start-up (before or after OleInitialize);
// afterwards CLSIDFromProgID(u"Excel.Application") and CoCreateInstance create applications.
#pragma once

#include <string>

#include "com/types.h"

namespace sheet {

// {00024500-0000-0000-C000-000000000046}, the class id scripts know for this ProgID.
constexpr com::CLSID CLSID_SpreadsheetApplication = {0x00024500, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Replaces how `Visible := .T.` shows the last saved workbook (tests record the call).
// nullptr restores the default, which starts the desktop's default program for the file
// without waiting, unless the environment variable PV_NO_DESKTOP is set or no desktop
// session (DISPLAY / WAYLAND_DISPLAY) runs.
using DesktopOpener = void (*)(const std::string& path);
void SetDesktopOpener(DesktopOpener opener);

}  // namespace sheet

// Registers "Excel.Application" in the class registry. Safe to call more than once.
com::HRESULT pv_spreadsheetRegister();
