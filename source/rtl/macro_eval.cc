// Expression texts evaluated through the machine's macro hooks.
#include "macro_eval.h"

#include <cctype>

#include "hooks.h"
#include "vm.h"

bool pv_rtlEvalText(const std::string& text, PV_ITEM dest) {
  pv_itemClear(dest);
  const PvMacroHooks* hooks = pv_vmMacroHooks();
  PvMacro* macro = hooks ? hooks->compile(text.data(), static_cast<PV_SIZE>(text.size())) : nullptr;
  if (!macro) return false;
  PV_SIZE top = pv_stackTopOffset();
  hooks->run(macro);
  hooks->remove(macro);
  if (pv_stackTopOffset() > top && !pv_vmRequestQuery()) pv_itemCopy(dest, pv_stackItemFromTop(-1));
  if (pv_stackTopOffset() > top) pv_stackRemove(top);
  return true;
}

std::string pv_rtlUpperTrim(const std::string& text) {
  size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  std::string out = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool pv_rtlIsPlainName(const std::string& text) {
  std::string name = pv_rtlUpperTrim(text);
  if (name.empty() || name.size() > 63 || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 128) && c != '_')
      return false;
  return true;
}
