// What one running spreadsheet application holds: its open workbooks, the active one, and the
// application switches.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "workbook.h"

namespace sheet {

struct AppState {
  std::vector<std::shared_ptr<Workbook>> workbooks;
  int activeWorkbook = -1;
  bool displayAlerts = true;
  bool visible = false;
  bool screenUpdating = true;
  std::string lastSavedPath;  // the file Visible := true shows on the desktop
  int bookCounter = 0;        // numbers new workbooks Book1, Book2, …

  std::shared_ptr<Workbook> Active() const {
    return activeWorkbook >= 0 && std::size_t(activeWorkbook) < workbooks.size()
               ? workbooks[activeWorkbook] : nullptr;
  }
  // Creates a workbook with `sheetCount` sheets and makes it active.
  std::shared_ptr<Workbook> AddWorkbook(int sheetCount);
  // Removes a workbook; the next one (or the previous) becomes active.
  void CloseWorkbook(const Workbook* wb);
};

}  // namespace sheet
