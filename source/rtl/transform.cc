// TRANSFORM( xValue, cPicture ): a value formatted by a picture.
//
// A picture is "@<functions> <template>" or a template alone. Functions: ! upper case,
// B left-justified, C " CR" after positive numbers, X " DB" after negative numbers,
// ( negative numbers in parentheses, Z blanks for zero, E European (point and comma swapped,
// dates day first), R literal template characters inserted into text, D dates in SET
// DATEFORMAT. Number templates: 9 # * $ digit positions (* and $ also fill the leading
// positions), "." the decimal point, "," a separator shown only between digits, anything else
// literal ("9,999,999 bytes"). Text templates: A N X 9 # copy a character, ! copies it in upper
// case, others are literal. Logical templates: L (T/F) or Y (Y/N).
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "dates.h"
#include "num_round.h"
#include "registrar.h"
#include "rtl_args.h"
#include "set.h"
#include "vm.h"

namespace {

struct Picture {
  std::string functions;  // upper-case function letters
  std::string templ;
  bool has(char f) const { return functions.find(f) != std::string::npos; }
};

Picture parsePicture(const char* text, size_t len) {
  Picture p;
  size_t i = 0;
  if (len && text[0] == '@') {
    for (i = 1; i < len && text[i] != ' '; ++i)
      p.functions += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    if (i < len) ++i;  // the blank that ends the functions
  }
  p.templ.assign(text + i, len - i);
  return p;
}

bool isDigitPos(char c) { return c == '9' || c == '#' || c == '*' || c == '$'; }

// Fills the template with |value|; false on overflow.
bool fillNumber(const std::string& t, double value, bool sign, std::string* out) {
  size_t point = t.find('.');
  size_t intEnd = point == std::string::npos ? t.size() : point;
  int decimals = 0, intSlots = 0;
  for (size_t i = 0; i < t.size(); ++i)
    if (isDigitPos(t[i])) (i < intEnd ? intSlots : decimals)++;
  double rounded = pv_rtlRound(std::fabs(value), decimals);
  if (!std::isfinite(rounded)) return false;
  std::string digits(static_cast<size_t>(std::snprintf(nullptr, 0, "%.*f", decimals, rounded)) + 1, '\0');
  std::snprintf(digits.data(), digits.size(), "%.*f", decimals, rounded);
  digits.pop_back();
  std::string ip = digits.substr(0, digits.find('.'));
  std::string fp = decimals ? digits.substr(digits.find('.') + 1) : "";
  if (ip == "0" && decimals && intSlots == 0) ip.clear();
  if (static_cast<int>(ip.size() + (sign ? 1 : 0)) > intSlots) return false;
  *out = t;
  // Integer part, right to left.
  size_t left = ip.size();
  bool signDone = !sign;
  // A template that starts with * or $ fills the unused leading positions with it.
  size_t firstSlot = t.find_first_of("9#*$");
  char fillChar = firstSlot != std::string::npos && (t[firstSlot] == '*' || t[firstSlot] == '$') ? t[firstSlot] : ' ';
  for (size_t i = intEnd; i-- > 0;) {
    char c = t[i];
    if (!isDigitPos(c) && c != ',') continue;
    if (c == ',' && left > 0) continue;  // separator between digits stays
    if (isDigitPos(c) && left > 0) (*out)[i] = ip[--left];
    else if (!signDone) (*out)[i] = '-', signDone = true;
    else (*out)[i] = fillChar;
  }
  // Decimal part, left to right.
  size_t k = 0;
  for (size_t i = intEnd + 1; i < t.size(); ++i)
    if (isDigitPos(t[i])) (*out)[i] = fp[k++];
  return true;
}

void overflow(const std::string& t, std::string* out) {
  *out = t;
  for (char& c : *out)
    if (isDigitPos(c) || c == '.' || c == ',') c = '*';
}

std::string formatNumber(PV_ITEM n, const Picture& p) {
  double value = pv_itemGetND(n);
  bool negative = value < 0;
  bool markSign = negative && (p.has('(') || p.has('X'));
  std::string out;
  if (p.templ.empty()) {
    char* s = pv_itemStr(n, nullptr, nullptr);
    out = s ? s : "";
    if (s) pv_xfree(s);
    size_t minus = out.find('-');
    if (markSign && minus != std::string::npos) out[minus] = ' ';
  } else if (!fillNumber(p.templ, value, negative && !markSign, &out)) {
    overflow(p.templ, &out);
  }
  if (p.has('Z') && value == 0) return std::string(out.size(), ' ');
  if (p.has('E'))
    for (char& c : out) c = c == '.' ? ',' : c == ',' ? '.' : c;
  if (negative && p.has('(')) {
    size_t first = out.find_first_not_of(' ');
    if (first != std::string::npos && first > 0) out[first - 1] = '(';
    else out.insert(out.begin(), '(');
    out += ')';
  }
  if (p.has('C') && value > 0) out += " CR";
  if (p.has('X') && negative) out += " DB";
  if (p.has('B')) {
    size_t first = out.find_first_not_of(' ');
    if (first != std::string::npos && first > 0) out = out.substr(first) + std::string(first, ' ');
  }
  return out;
}

std::string formatText(const char* s, size_t len, const Picture& p) {
  auto upper = [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
  bool allUpper = p.has('!');
  if (p.templ.empty()) {
    std::string out(s, len);
    if (allUpper)
      for (char& c : out) c = upper(c);
    return out;
  }
  std::string out;
  size_t k = 0;
  for (char t : p.templ) {
    bool slot = std::strchr("ANX9#!LY", t) != nullptr;
    if (!slot && p.has('R')) {
      out += t;
      continue;
    }
    char c = k < len ? s[k] : ' ';
    ++k;
    if (!slot) c = t;
    else if (t == '!' || allUpper) c = upper(c);
    out += c;
  }
  return out;
}

std::string formatDate(PV_ITEM d, const Picture& p) {
  std::string picture = pv_setDateFormat();
  if (p.has('E')) picture = pv_setCentury() ? "DD/MM/YYYY" : "DD/MM/YY";
  std::string out(picture.size() + 1, '\0');
  pv_dateFormat(out.data(), pv_itemGetDL(d), picture.c_str());
  out.pop_back();
  return out;
}

std::string formatLogical(bool v, const Picture& p) {
  char t = p.templ.empty() ? 'L' : static_cast<char>(std::toupper(static_cast<unsigned char>(p.templ[0])));
  if (t == 'Y') return v ? "Y" : "N";
  return v ? "T" : "F";
}

void PV_FUN_TRANSFORM() {
  PV_ITEM value = pv_param(1, PV_IT_ANY);
  PV_ITEM picItem = pv_param(2, PV_IT_STRING);
  if (!value || !pv_rtlOptional(2, PV_IT_STRING)) return pv_rtlArgError(PV_SUB_TRANSFORM, "TRANSFORM");
  Picture p = picItem ? parsePicture(pv_itemGetCPtr(picItem), static_cast<size_t>(pv_itemGetCLen(picItem)))
                      : Picture{};
  std::string out;
  if (PV_IS_STRING(value))
    out = formatText(pv_itemGetCPtr(value), static_cast<size_t>(pv_itemGetCLen(value)), p);
  else if (PV_IS_NUMERIC(value)) out = formatNumber(value, p);
  else if (PV_IS_DATE(value)) out = formatDate(value, p);
  else if (PV_IS_LOGICAL(value)) out = formatLogical(pv_itemGetL(value), p);
  else return pv_rtlArgError(PV_SUB_TRANSFORM, "TRANSFORM");
  pv_retclen(out.data(), static_cast<PV_SIZE>(out.size()));
}

PvSymbol s_symbols[] = {pv_native("TRANSFORM", PV_FUN_TRANSFORM)};
PvModuleRegistrar s_module("rtl/transform", s_symbols);

}  // namespace
