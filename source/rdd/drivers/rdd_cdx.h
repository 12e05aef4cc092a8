// The DBFCDX driver: DBFFPT tables with CDX compound index files. The work-area record keeps
// the area's open index files (the production file first), the controlling order and the
// executable key and FOR expressions of every tag; the language functions of orders call the
// driver's order slots with a PvOrderInfo record.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cdx_index.h"
#include "rdd_dbf.h"

struct PvMacro;

// The executable form of a tag's key and FOR condition.
struct PvCdxExpr {
  PvMacro* macro = nullptr;  // compiled text, or null
  PV_ITEM block = nullptr;   // grip item of a code block given by the caller, or null
  int field = 0;             // 1-based field number of a single-field key, else 0
};

struct PvCdxTagExec {
  PvCdxExpr key;
  PvCdxExpr cond;   // empty when the tag has no FOR condition
  bool hasCond = false;
  PV_ITEM scopeBlock[2] = {nullptr, nullptr};  // grip items of scopes given as code blocks
};

// One open CDX file of an area.
struct PvCdxBag {
  std::unique_ptr<pv::cdx::CdxIndex> index;
  std::string path;
  bool temporary = false;
  std::map<const pv::cdx::CdxTag*, PvCdxTagExec> exec;
  // Executables compiled while the file loads, by tag name, until bound to their tags.
  std::vector<std::pair<std::string, PvCdxTagExec>> pendingExec;
  // Loaded again while the area's record was hot: its tags may hold the record's entries as
  // another handle built them from the file, not the keys taken when it went hot.
  bool loadedWhileHot = false;
};

// Pending settings of ORDCONDSET for the next order create.
struct PvCdxCondition {
  std::string forText;
  PV_ITEM forBlock = nullptr;  // grip item or null
  bool all = false, descending = false, additive = false, custom = false, temporary = false;
};

struct PvCdxArea : PvDbfArea {
  std::vector<std::unique_ptr<PvCdxBag>> bags;
  int order = 0;  // controlling order, 0 = natural order
  bool production = false;  // bags[0] is the production index
  std::unique_ptr<PvCdxCondition> condition;
  // Keys of the current record taken when it went hot (rec 0: no key), by file and tag name
  // (names survive a reload of a file whose tags another handle changed).
  struct HotKey {
    const PvCdxBag* bag;
    std::string tag;
    pv::cdx::CdxKey key;
  };
  std::vector<HotKey> hotKeys;
  // A shared table's record as it was in the file when it went hot (for an appended record,
  // the blank record the append wrote): another handle may build a tag from it meanwhile.
  std::vector<uint8_t> hotRecord;
};

void pv_cdxRegisterDriver();
// Evaluates the scopes of a tag that were given as code blocks again and sets their keys.
void pv_cdxRefreshScopes(PvCdxBag& bag, pv::cdx::CdxTag& tag);
// The tag of order n (1-based over all bags of the area), or null.
pv::cdx::CdxTag* pv_cdxAreaTag(PvCdxArea* a, int n, PvCdxBag** bag = nullptr);
// The key of the area's current record in a tag; false when it has none (FOR false, or a
// value of another type than the tag's).
bool pv_cdxCurrentKey(PvCdxArea* a, PvCdxBag& bag, pv::cdx::CdxTag& tag, pv::cdx::CdxKey& out);
// The area record of the DBFCDX driver, or null when the area is served by another driver.
PvCdxArea* pv_cdxArea(PvArea* area);
// Checks every index file of a DBFCDX area completely against its table (structure, and one
// key per record equal to the key expression's value in every tag without FOR condition).
// Returns "" when all is well, else the first fault; lines (may be null) receive what was
// checked.
std::string pv_cdxCheckArea(PvArea* area, std::vector<std::string>* lines);
