// Regular-expression matching over PCRE2, with the last compiled pattern kept for reuse.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "pvregex.h"

#include <pcre2.h>

#include <string>

namespace {

struct Cache {
  std::string pattern;
  bool whole = false;
  pcre2_code* code = nullptr;
  ~Cache() {
    if (code) pcre2_code_free(code);
  }
};

Cache g_cache;

}  // namespace

int pv_regexMatch(const char* pattern, PV_SIZE patternLen, const char* text, PV_SIZE textLen,
                  bool whole) {
  std::string key(pattern, static_cast<size_t>(patternLen));
  if (!g_cache.code || g_cache.pattern != key || g_cache.whole != whole) {
    if (g_cache.code) pcre2_code_free(g_cache.code);
    int err;
    PCRE2_SIZE offset;
    g_cache.code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), static_cast<size_t>(patternLen),
                                 whole ? PCRE2_ANCHORED | PCRE2_ENDANCHORED : 0, &err, &offset, nullptr);
    g_cache.pattern = key;
    g_cache.whole = whole;
    if (!g_cache.code) return -1;
  }
  pcre2_match_data* md = pcre2_match_data_create_from_pattern(g_cache.code, nullptr);
  int rc = pcre2_match(g_cache.code, reinterpret_cast<PCRE2_SPTR>(text), static_cast<size_t>(textLen), 0, 0, md, nullptr);
  pcre2_match_data_free(md);
  return rc >= 0 ? 1 : 0;
}
