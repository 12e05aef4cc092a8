// Workbooks of the application: adding and closing.
#include "app_state.h"

#include <algorithm>

namespace sheet {

std::shared_ptr<Workbook> AppState::AddWorkbook(int sheetCount) {
  auto wb = std::make_shared<Workbook>();
  wb->name = u"Book";
  for (char c : std::to_string(++bookCounter)) wb->name.push_back(char16_t(c));
  for (int i = 0; i < sheetCount; ++i) wb->AddSheet(i, wb->FreshSheetName());
  workbooks.push_back(wb);
  activeWorkbook = int(workbooks.size()) - 1;
  return wb;
}

void AppState::CloseWorkbook(const Workbook* wb) {
  for (std::size_t i = 0; i < workbooks.size(); ++i) {
    if (workbooks[i].get() != wb) continue;
    workbooks[i]->closed = true;
    for (auto& ws : workbooks[i]->sheets) ws->deleted = true;
    workbooks.erase(workbooks.begin() + i);
    if (workbooks.empty()) activeWorkbook = -1;
    else if (activeWorkbook >= int(workbooks.size()) || activeWorkbook > int(i)) activeWorkbook = std::max(0, activeWorkbook - 1);
    return;
  }
}

}  // namespace sheet
