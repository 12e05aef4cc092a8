// The checker of a DBFCDX area's index files against the table's records (CDXCHECK and the
// cdxcheck tool): the engine's structure check with the key of each record computed by the
// driver from the tag's key expression.
#include "cdx_check.h"
#include "rdd_cdx.h"

using namespace pv::cdx;

std::string pv_cdxCheckArea(PvArea* area, std::vector<std::string>* lines) {
  PvCdxArea* a = pv_cdxArea(area);
  if (!a) return "not a DBFCDX work area";
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return "pending record could not be written";
  uint32_t saved = a->positioned ? a->recno : 0;
  PvRddArgs count;
  pv_rddCall(a, PV_RDD_RECCOUNT, &count);
  std::string fault;
  for (auto& bag : a->bags) {
    CdxCheckOptions opt;
    opt.recCount = uint32_t(count.number);
    opt.keyOf = [a, &bag](const CdxTag& tag, uint32_t rec, CdxKey& out) {
      pv_rddCallN(a, PV_RDD_GOTO, long(rec));
      return pv_cdxCurrentKey(a, *bag, const_cast<CdxTag&>(tag), out);
    };
    CdxCheckReport report;
    CdxStatus st = cdxCheckIndex(*bag->index, report, opt);
    if (lines) {
      lines->push_back("index " + bag->path);
      lines->insert(lines->end(), report.lines.begin(), report.lines.end());
    }
    if (!st.ok()) {
      fault = bag->path + ": " + st.toString();
      break;
    }
  }
  pv_rddCallN(a, PV_RDD_GOTO, long(saved));
  return fault;
}
