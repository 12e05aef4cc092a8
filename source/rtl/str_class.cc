// Character classes and sound codes: ISALPHA, ISDIGIT, ISUPPER, ISLOWER and SOUNDEX.
#include <cctype>
#include <string>

#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// Whether the first character of the text parameter is in the class; false for an empty text
// and for any other value.
void firstCharIs(int (*test)(int)) {
  const char* s = pv_parc(1);
  pv_retl(s && pv_parclen(1) > 0 && test(static_cast<unsigned char>(s[0])) != 0);
}

int isAsciiAlpha(int c) { return c < 128 && std::isalpha(c); }
int isAsciiDigit(int c) { return c >= '0' && c <= '9'; }
int isAsciiUpper(int c) { return c >= 'A' && c <= 'Z'; }
int isAsciiLower(int c) { return c >= 'a' && c <= 'z'; }

// ISALPHA( cText ): whether the text begins with a letter.
void PV_FUN_ISALPHA() { firstCharIs(isAsciiAlpha); }
// ISDIGIT( cText ): whether the text begins with a digit.
void PV_FUN_ISDIGIT() { firstCharIs(isAsciiDigit); }
// ISUPPER( cText ): whether the text begins with an upper-case letter.
void PV_FUN_ISUPPER() { firstCharIs(isAsciiUpper); }
// ISLOWER( cText ): whether the text begins with a lower-case letter.
void PV_FUN_ISLOWER() { firstCharIs(isAsciiLower); }

// The sound group of an upper-case letter: '1'…'6', '0' for vowels and Y (which separate
// letters of one group), 'H' for H and W (which do not).
char soundGroup(char c) {
  static const char kGroups[] = "01230120022455012623010202";  // A … Z
  if (c == 'H' || c == 'W') return 'H';
  return kGroups[c - 'A'];
}

// SOUNDEX( cText ): the four-character sound code of a name: its first letter, then the
// groups of the following consonants, a group repeated next to itself written once. Other
// characters than letters are ignored; a text without letters gives "0000".
void PV_FUN_SOUNDEX() {
  const char* s = pv_parc(1);
  if (!s) return pv_rtlArgError(PV_SUB_SOUNDEX, "SOUNDEX");
  std::string code;
  char last = 0;
  for (PV_SIZE i = 0; i < pv_parclen(1) && code.size() < 4; ++i) {
    unsigned char u = static_cast<unsigned char>(s[i]);
    if (u >= 128 || !std::isalpha(u)) continue;
    char c = static_cast<char>(std::toupper(u));
    char group = soundGroup(c);
    if (code.empty()) code += c;
    else if (group != '0' && group != 'H' && group != last) code += group;
    if (group != 'H') last = group;
  }
  code.resize(4, '0');
  pv_retclen(code.data(), 4);
}

PvSymbol s_symbols[] = {
    pv_native("ISALPHA", PV_FUN_ISALPHA), pv_native("ISDIGIT", PV_FUN_ISDIGIT),
    pv_native("ISUPPER", PV_FUN_ISUPPER), pv_native("ISLOWER", PV_FUN_ISLOWER),
    pv_native("SOUNDEX", PV_FUN_SOUNDEX),
};
PvModuleRegistrar s_module("rtl/str_class", s_symbols);

}  // namespace
