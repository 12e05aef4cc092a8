// The driver registry: registration by table function, inheritance of method tables, the
// default driver.
#include <cstring>
#include <map>

#include "rddapi.h"

namespace {

struct Registry {
  std::vector<std::unique_ptr<PvRddNode>> nodes;
  std::map<std::string, PvRddGetFuncTable> tableFunctions;
  std::string defaultDriver;
  bool defaultChosen = false;
};

Registry& registry() {
  static Registry r;
  return r;
}

std::string Upper(const char* text) {
  std::string s = text ? text : "";
  for (char& c : s) c = char(std::toupper(uint8_t(c)));
  return s;
}

}  // namespace

void pv_rddRegisterFuncTable(const char* name, PvRddGetFuncTable fn) {
  registry().tableFunctions[std::string(name) + "_GETFUNCTABLE"] = fn;
}

int pv_rddRegister(const char* name, uint16_t type) {
  std::string upper = Upper(name);
  if (upper.empty() || upper.size() > 32) return 3;
  if (pv_rddFindNode(upper.c_str())) return 1;
  auto it = registry().tableFunctions.find(upper + "_GETFUNCTABLE");
  if (it == registry().tableFunctions.end()) return 2;
  auto node = std::make_unique<PvRddNode>();
  node->name = upper;
  node->type = type;
  node->number = uint16_t(registry().nodes.size());
  uint16_t count = 0;
  if (it->second(&count, &node->table, &node->super, node->number, node.get()) != 0 ||
      count != PV_RDD_SLOTS) {
    return 3;
  }
  PvRddNode* raw = node.get();
  registry().nodes.push_back(std::move(node));
  PvRddArgs args;
  args.node = raw;
  raw->table.slot[PV_RDD_INIT](nullptr, &args);
  return 0;
}

int pv_rddInherit(PvRddFuncs* table, const PvRddFuncs* own, PvRddFuncs* super, const char* parent) {
  const PvRddFuncs* base = pv_rddDefaultMethods();
  if (parent && *parent) {
    PvRddNode* p = pv_rddFindNode(Upper(parent).c_str());
    if (!p) return PV_FAILURE;
    base = &p->table;
  }
  *table = *base;
  *super = *base;
  for (int i = 0; i < PV_RDD_SLOTS; ++i) {
    if (own->slot[i]) table->slot[i] = own->slot[i];
  }
  return PV_SUCCESS;
}

PvRddNode* pv_rddFindNode(const char* name, uint16_t* number) {
  for (auto& n : registry().nodes) {
    if (n->name == name) {
      if (number) *number = n->number;
      return n.get();
    }
  }
  return nullptr;
}

PvRddNode* pv_rddGetNode(uint16_t number) {
  return number < registry().nodes.size() ? registry().nodes[number].get() : nullptr;
}

std::vector<std::string> pv_rddList(uint16_t type) {
  std::vector<std::string> names;
  for (auto& n : registry().nodes) {
    if (type == 0 || n->type == type) names.push_back(n->name);
  }
  return names;
}

const char* pv_rddDefaultDrv(const char* name) {
  Registry& r = registry();
  if (name && *name) {
    std::string upper = Upper(name);
    if (!pv_rddFindNode(upper.c_str())) return nullptr;
    r.defaultDriver = upper;
    r.defaultChosen = true;
  } else if (!r.defaultChosen) {
    for (const char* candidate : {"DBFNTX", "DBFCDX", "DBFFPT", "DBF"}) {
      if (pv_rddFindNode(candidate)) {
        r.defaultDriver = candidate;
        r.defaultChosen = true;
        break;
      }
    }
  }
  return r.defaultDriver.c_str();
}

void pv_rddShutDown() {
  pv_rddCloseAll();
  for (auto& n : registry().nodes) {
    PvRddArgs args;
    args.node = n.get();
    n->table.slot[PV_RDD_EXIT](nullptr, &args);
  }
  registry().nodes.clear();
  registry().defaultDriver.clear();
  registry().defaultChosen = false;
}
