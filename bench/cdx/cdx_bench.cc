// Benchmark of the CDX index engine on generated invoice rows (the application's three keys
// STR(ID_NR), LOWER(CUSTOMER) + INVOICE, LOWER(PRODUCT)): creating the three tags, walking a
// whole order key by key, random seeks, and appending records one by one (each append adds
// its three keys under one write lock, as in exclusive use). Keys come from memory; the peer
// (SQLite, run by bench/run-cdx.sh) reads the same rows from its own table.
//
// Usage: cdx_bench ROWS WORKDIR [CSV]   — with CSV, writes the rows for the peer and exits.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cdx_index.h"
#include "cdx_maint.h"
#include "cdx_nav.h"

using namespace pv::cdx;

namespace {

struct Rows {
  std::vector<std::string> k1, k2, k3;  // the three keys of each row
};

std::string lowerStr(std::string s) {
  for (auto& c : s) c = char(std::tolower(uint8_t(c)));
  return s;
}

Rows makeRows(uint32_t n) {
  static const char* const names[] = {"Mueller GmbH", "Schmidt AG", "Schneider KG", "Fischer OHG",
                                      "Weber & Co", "Meyer Handel", "Wagner Bau", "Becker Logistik"};
  static const char* const products[] = {"Schraube M8", "Mutter M8", "Unterlegscheibe", "Duebel 10",
                                         "Winkel 40", "Kabelbinder", "Klemme", "Dichtung"};
  std::mt19937 rng(42);
  Rows r;
  r.k1.reserve(n);
  r.k2.reserve(n);
  r.k3.reserve(n);
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t id = rng() % 10000000;
    char s[64];
    std::snprintf(s, sizeof s, "%10u", id);
    r.k1.push_back(s);
    std::string cust = std::string(names[rng() % 8]) + " " + std::to_string(rng() % 5000);
    cust.resize(30, ' ');
    std::snprintf(s, sizeof s, "R%09u", unsigned(rng() % 1000000000));
    r.k2.push_back(lowerStr(cust) + s);
    std::string prod = std::string(products[rng() % 8]) + " " + std::to_string(rng() % 100000);
    prod.resize(30, ' ');
    r.k3.push_back(lowerStr(prod));
  }
  return r;
}

double seconds(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

long peakRssMb() {
  rusage u;
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

void die(const CdxStatus& s, const char* what) {
  if (s.ok()) return;
  std::fprintf(stderr, "%s: %s\n", what, s.toString().c_str());
  std::exit(1);
}

// hold: key changes stay in memory until the file is closed, as the driver keeps them in
// exclusive use until a commit.
std::unique_ptr<CdxIndex> createFile(const std::string& path, bool hold = false) {
  std::unique_ptr<CdxPosixFile> f;
  die(CdxPosixFile::open(path, true, false, f), "open");
  std::unique_ptr<CdxIndex> x;
  CdxOpenOptions opt;
  opt.holdKeyChanges = hold;
  die(cdxIndexCreate(std::move(f), "PRODUCT", opt, x), "create");
  return x;
}

CdxTagSpec spec(const char* name, int len) {
  CdxTagSpec s;
  s.name = name;
  s.keyExpr = name;
  s.keyLen = len;
  return s;
}

CdxKeyFn keysOf(const std::vector<std::string>& v) {
  return [&v](uint32_t rec, CdxKey& k) {
    k.set(v[rec - 1].data(), int(v[rec - 1].size()), rec);
    return true;
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: cdx_bench ROWS WORKDIR [CSV]\n");
    return 2;
  }
  uint32_t n = uint32_t(std::stoul(argv[1]));
  std::string dir = argv[2];
  Rows rows = makeRows(n);
  if (argc > 3) {  // rows for the peer: k1|customer+invoice|product
    FILE* f = std::fopen(argv[3], "w");
    for (uint32_t i = 0; i < n; ++i)
      std::fprintf(f, "%s|%s|%s\n", rows.k1[i].c_str(), rows.k2[i].c_str(), rows.k3[i].c_str());
    std::fclose(f);
    return 0;
  }
  std::string path = dir + "/product.cdx";
  std::remove(path.c_str());
  auto x = createFile(path);

  auto t0 = std::chrono::steady_clock::now();
  CdxTag *t1, *t2, *t3;
  die(cdxIndexAddTag(*x, spec("EXCEL1", 10), n, keysOf(rows.k1), &t1), "tag 1");
  die(cdxIndexAddTag(*x, spec("EXCEL2", 40), n, keysOf(rows.k2), &t2), "tag 2");
  die(cdxIndexAddTag(*x, spec("EXCEL3", 30), n, keysOf(rows.k3), &t3), "tag 3");
  std::printf("create3 %u %.3f\n", n, seconds(t0));
  std::printf("create3_rss_mb %u %ld\n", n, peakRssMb());

  t0 = std::chrono::steady_clock::now();
  uint32_t walked = 0;
  die(cdxTagGoTop(*t2), "top");
  while (t2->cur.rec) {
    ++walked;
    die(cdxTagSkip(*t2, 1), "skip");
  }
  std::printf("walk %u %.3f\n", walked, seconds(t0));

  std::mt19937 rng(7);
  const uint32_t seeks = 100000;
  uint32_t hits = 0;
  t0 = std::chrono::steady_clock::now();
  for (uint32_t i = 0; i < seeks; ++i) {
    const std::string& k = rows.k1[rng() % n];
    bool found = false;
    die(cdxTagSeek(*t1, k.data(), int(k.size()), false, false, &found), "seek");
    hits += found;
  }
  std::printf("seek %u %.3f\n", hits, seconds(t0));

  // Appending records one by one to a table with the three tags, exclusive use; closing the
  // file writes the changes (no flush to disk, as SQLite's inserts run without one).
  std::string path2 = dir + "/append.cdx";
  std::remove(path2.c_str());
  auto y = createFile(path2, true);
  CdxTag *a1, *a2, *a3;
  die(cdxIndexAddTag(*y, spec("EXCEL1", 10), 0, {}, &a1), "tag");
  die(cdxIndexAddTag(*y, spec("EXCEL2", 40), 0, {}, &a2), "tag");
  die(cdxIndexAddTag(*y, spec("EXCEL3", 30), 0, {}, &a3), "tag");
  const uint32_t appends = std::min<uint32_t>(n, 100000);
  t0 = std::chrono::steady_clock::now();
  for (uint32_t r = 1; r <= appends; ++r) {
    die(pv_cdxIndexLockWrite(*y), "lock");
    die(cdxTagKeyAdd(*a1, CdxKey(rows.k1[r - 1].data(), 10, r)), "add");
    die(cdxTagKeyAdd(*a2, CdxKey(rows.k2[r - 1].data(), 40, r)), "add");
    die(cdxTagKeyAdd(*a3, CdxKey(rows.k3[r - 1].data(), 30, r)), "add");
    die(pv_cdxIndexUnLockWrite(*y), "unlock");
  }
  die(cdxIndexClose(y), "close");
  std::printf("append %u %.3f\n", appends, seconds(t0));
  std::remove(path.c_str());
  std::remove(path2.c_str());
  return 0;
}
