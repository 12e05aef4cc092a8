// Opening and creating tables in work areas.
#include <cstring>

#include "errors.h"
#include "rddapi.h"

namespace {

// "PRODUCT" for "data\product.dbf".
std::string AliasFromFile(const std::string& file) {
  size_t slash = file.find_last_of("/\\:");
  std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
  size_t dot = base.find('.');
  if (dot != std::string::npos) base.resize(dot);
  for (char& c : base) c = char(std::toupper(uint8_t(c)));
  return base;
}

const char* DriverOrDefault(const char* driver) {
  return driver && *driver ? driver : pv_rddDefaultDrv(nullptr);
}

std::string Upper(const char* text) {
  std::string s(text);
  for (char& c : s) c = char(std::toupper(uint8_t(c)));
  return s;
}

}  // namespace

int pv_rddOpenTable(const char* file, const char* driver, uint16_t area, const char* alias,
                    bool shared, bool readOnly) {
  if (area) {
    pv_rddSelectWorkAreaNumber(area);
    pv_rddReleaseCurrentArea();
  } else {
    pv_rddSelectFirstAvailable();
  }
  pv_rddSetNetErr(false);
  std::string name = Upper(DriverOrDefault(driver));
  if (pv_rddInsertAreaNode(name.c_str()) != PV_SUCCESS) {
    pv_errRT_DBCMD(PV_EG_ARG, 1015, nullptr, "DBUSEAREA");
    return PV_FAILURE;
  }
  if (!file || !*file) {
    pv_rddReleaseCurrentArea();
    pv_errRT_DBCMD(PV_EG_ARG, 1005, nullptr, "DBUSEAREA");
    return PV_FAILURE;
  }
  PvOpenInfo info;
  info.area = uint16_t(pv_rddGetCurrentWorkAreaNumber());
  info.file = file;
  info.alias = alias && *alias ? alias : AliasFromFile(file);
  info.shared = shared;
  info.readOnly = readOnly;
  PvRddArgs args;
  args.ptr = &info;
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (pv_rddCall(a, PV_RDD_OPEN, &args) != PV_SUCCESS) {
    pv_rddReleaseCurrentArea();
    return PV_FAILURE;
  }
  return PV_SUCCESS;
}

int pv_rddCreateTable(const char* file, const char* driver, uint16_t area, const char* alias,
                      bool keepOpen, PV_ITEM structure) {
  if (!file || !*file) {
    pv_errRT_DBCMD(PV_EG_ARG, 1014, nullptr, "DBCREATE");
    return PV_FAILURE;
  }
  int previous = pv_rddGetCurrentWorkAreaNumber();
  if (area) {
    pv_rddSelectWorkAreaNumber(area);
    pv_rddReleaseCurrentArea();
  } else {
    pv_rddSelectFirstAvailable();
  }
  std::string name = Upper(DriverOrDefault(driver));
  if (pv_rddInsertAreaNode(name.c_str()) != PV_SUCCESS) {
    pv_rddSelectWorkAreaNumber(previous);
    pv_errRT_DBCMD(PV_EG_ARG, 1015, nullptr, "DBCREATE");
    return PV_FAILURE;
  }
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  PvRddArgs fields;
  fields.item = structure;
  PvOpenInfo info;
  info.area = a->areaNum;
  info.file = file;
  info.alias = alias && *alias ? alias : AliasFromFile(file);
  PvRddArgs args;
  args.ptr = &info;
  int r = pv_rddCall(a, PV_RDD_CREATEFIELDS, &fields);
  if (r == PV_SUCCESS) r = pv_rddCall(a, PV_RDD_CREATE, &args);
  if (r != PV_SUCCESS || !keepOpen) {
    pv_rddReleaseCurrentArea();
    pv_rddSelectWorkAreaNumber(previous);
  }
  return r;
}
