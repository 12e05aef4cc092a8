// Table storage benchmarks on invoice tables (the PRODUCT.DBF layout):
//
//   dbf_bench scan FILE              read every record, decoding all six fields
//   dbf_bench append-exclusive FILE N  create FILE and append N records in exclusive use
//   dbf_bench append-shared FILE N     the same in shared use, each record under its own lock
//
// Prints one line: "<what> <records> records: <seconds> s".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dbf/dbf_codec.h"
#include "dbf/dbf_table.h"

namespace {

using namespace pv;
using namespace pv::dbf;
using Clock = std::chrono::steady_clock;

const std::vector<FieldSpec> kProductFields = {
    {"ID_NR", "N", 8, 0, 0},   {"CUSTOMER", "C", 30, 0, 0}, {"PRODUCT", "C", 20, 0, 0},
    {"INVOICE", "C", 10, 0, 0}, {"VALUE", "N", 10, 2, 0},   {"INV_DATE", "D", 8, 0, 0}};

int Fail(const Status& st) {
  std::fprintf(stderr, "dbf_bench: %s\n", st.toString().c_str());
  return 1;
}

void Report(const char* what, uint32_t n, Clock::time_point start) {
  double s = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%s %u records: %.3f s\n", what, n, s);
}

int Scan(const std::string& path) {
  auto start = Clock::now();
  std::unique_ptr<DbfTable> t;
  Status st = DbfTable::Open(path, {.read_only = true}, &t);
  if (!st.ok()) return Fail(st);
  const auto& f = t->fields();
  std::vector<uint8_t> rec(t->recordLength());
  double sum = 0;
  size_t text_bytes = 0;
  int64_t days = 0;
  std::string customer, product, invoice;
  for (uint32_t n = 1; n <= t->recordCount(); ++n) {
    st = t->readRecord(n, rec.data());
    if (!st.ok()) return Fail(st);
    double id = 0, value = 0;
    GetNumber(f[0], rec.data(), &id);
    customer = GetText(f[1], rec.data(), nullptr);
    product = GetText(f[2], rec.data(), nullptr);
    invoice = GetText(f[3], rec.data(), nullptr);
    GetNumber(f[4], rec.data(), &value);
    days += GetDate(f[5], rec.data());
    sum += id + value;
    text_bytes += customer.size() + product.size() + invoice.size();
  }
  Report("scan", t->recordCount(), start);
  std::fprintf(stderr, "checksum %.2f %zu %lld\n", sum, text_bytes, (long long)days);
  return 0;
}

// Fills `rec` with invoice line `i`.
void FillRecord(DbfTable& t, uint32_t i, uint8_t* rec) {
  const auto& f = t.fields();
  t.blankRecord(rec);
  PutNumber(f[0], rec, 10000 + i / 3);
  PutText(f[1], rec, "M\x81ller GmbH", nullptr);
  PutText(f[2], rec, "Program 07", nullptr);
  PutText(f[3], rec, "R240000123", nullptr);
  PutNumber(f[4], rec, (i % 250000) / 100.0);
  PutDate(f[5], rec, JulianFromYmd(2024, 1 + int(i % 12), 1 + int(i % 28)));
}

int Append(const std::string& path, uint32_t n, bool shared) {
  std::unique_ptr<DbfTable> t;
  Status st = DbfTable::Create(path, kProductFields, {}, &t);
  if (!st.ok()) return Fail(st);
  if (shared) {
    t.reset();
    st = DbfTable::Open(path, {.shared = true}, &t);
    if (!st.ok()) return Fail(st);
  }
  auto start = Clock::now();
  std::vector<uint8_t> rec(t->recordLength());
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t recno = 0;
    t->blankRecord(rec.data());
    st = t->append(rec.data(), &recno);  // in shared use the new record stays locked
    if (st.ok()) {
      FillRecord(*t, i, rec.data());
      st = t->writeRecord(recno, rec.data());
    }
    if (st.ok() && shared) st = t->unlockRecord(recno);
    if (!st.ok()) return Fail(st);
  }
  st = t->close();
  if (!st.ok()) return Fail(st);
  Report(shared ? "append-shared" : "append-exclusive", n, start);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "scan" && argc == 3) return Scan(argv[2]);
  if ((mode == "append-exclusive" || mode == "append-shared") && argc == 4) {
    return Append(argv[2], uint32_t(std::strtoul(argv[3], nullptr, 10)), mode == "append-shared");
  }
  std::fprintf(stderr, "usage: dbf_bench scan FILE | append-exclusive FILE N | append-shared FILE N\n");
  return 2;
}
