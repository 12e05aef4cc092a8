// mkproduct: writes a deterministic invoice table.
//
//   mkproduct OUT.DBF N [--seed S] [--ldid 0xNN]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "product_generator.h"

int main(int argc, char** argv) {
  pv::tools::ProductOptions o;
  std::string out;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if ((a == "--seed" || a == "--ldid") && i + 1 < argc) {
      unsigned long long v = std::strtoull(argv[++i], nullptr, 0);
      if (a == "--seed") o.seed = v;
      else o.code_page_mark = uint8_t(v);
    } else if (positional == 0) {
      out = a, ++positional;
    } else if (positional == 1) {
      char* end = nullptr;
      long long n = std::strtoll(a.c_str(), &end, 10);
      if (*end || n < 0 || n > 0xFFFFFFFFll) {
        std::fprintf(stderr, "mkproduct: N out of range\n");
        return 2;
      }
      o.records = uint32_t(n), ++positional;
    } else {
      positional = 3;
    }
  }
  if (positional != 2) {
    std::fprintf(stderr, "usage: mkproduct OUT.DBF N [--seed S] [--ldid 0xNN]\n");
    return 2;
  }
  std::string error;
  if (!pv::tools::WriteProductTable(out, o, &error)) {
    std::fprintf(stderr, "mkproduct: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
