// The code generator: the module, its symbol table, procedures and the static initialiser.
#include <algorithm>

#include "compiler/codegen_internal.h"
#include "vm/symbol.h"

namespace pv {

namespace {

const char kInitStatics[] = "(_INITSTATICS)";


std::string baseName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

uint32_t scopeOf(ProcKind kind) {
  const uint32_t own = PV_FS_LOCAL | PV_FS_PCODEFUNC;
  switch (kind) {
    case ProcKind::Function: return own | PV_FS_PUBLIC;
    case ProcKind::StaticFunction:
    case ProcKind::Method: return own | PV_FS_STATIC;
    case ProcKind::Init: return own | PV_FS_STATIC | PV_FS_INIT;
    case ProcKind::Exit: return own | PV_FS_STATIC | PV_FS_EXIT;
  }
  return own;
}

}  // namespace

// ---- symbol table ----------------------------------------------------------------------------

int SymbolTableBuilder::define(const std::string& name, uint32_t scope) {
  auto it = byName_.find(name);
  if (it != byName_.end()) {  // referenced before: the entry becomes the definition
    ModuleSymbol& s = symbols_[static_cast<size_t>(it->second)];
    s.scope = scope | (s.scope & PV_FS_MESSAGENAME);
    return it->second;
  }
  symbols_.push_back({name, scope, -1});
  return byName_[name] = static_cast<int>(symbols_.size()) - 1;
}

int SymbolTableBuilder::function(const std::string& name) {
  auto it = byName_.find(name);
  if (it != byName_.end()) {
    ModuleSymbol& s = symbols_[static_cast<size_t>(it->second)];
    if (!(s.scope & PV_FS_LOCAL)) s.scope |= PV_FS_PUBLIC;
    return it->second;
  }
  symbols_.push_back({name, PV_FS_PUBLIC, -1});
  return byName_[name] = static_cast<int>(symbols_.size()) - 1;
}

int SymbolTableBuilder::name(const std::string& name) {
  auto it = byName_.find(name);
  if (it != byName_.end()) {
    ModuleSymbol& s = symbols_[static_cast<size_t>(it->second)];
    if (!(s.scope & PV_FS_LOCAL) || (s.scope & PV_FS_PUBLIC)) {
      s.scope |= PV_FS_MESSAGENAME;
      return it->second;
    }
    auto use = nameUse_.find(name);
    if (use != nameUse_.end()) return use->second;
    symbols_.push_back({name, PV_FS_MESSAGENAME, -1});
    return nameUse_[name] = static_cast<int>(symbols_.size()) - 1;
  }
  symbols_.push_back({name, PV_FS_MESSAGENAME, -1});
  return byName_[name] = static_cast<int>(symbols_.size()) - 1;
}

// ---- module ----------------------------------------------------------------------------------

CompiledModule generateModule(ModuleAst& ast, const std::string& moduleName,
                              const CodegenOptions& options, Diagnostics& diags) {
  Generator gen(moduleName, options, diags);
  return gen.run(ast);
}

CompiledModule Generator::run(ModuleAst& ast) {
  mod_.name = baseName(moduleName_);
  std::set<std::string> methodBodies;
  for (const Procedure& p : ast.procs)
    if (p.isMethod) methodBodies.insert(p.name);
  std::set<std::string> classes;
  for (ClassDecl& cls : ast.classes) {
    classes.insert(upperName(cls.name));
    std::string holder = "(CLASS)" + upperName(cls.name);
    statics_.push_back({holder, "", static_cast<int>(statics_.size()) + 1, nullptr});
    ast.procs.push_back(classFunction(cls, holder, diags_, methodBodies));
  }
  for (const auto& [field, alias] : ast.fileFields) fileFields_[upperName(field)] = upperName(alias);
  for (const std::string& m : ast.fileMemvars) fileMemvars_.insert(upperName(m));
  declareProcedures(ast);
  collectStatics(ast);
  for (const Procedure& p : ast.procs)
    if (p.isMethod && !classes.count(p.className))
      error(p.pos, "METHOD " + p.display + ": class " + p.className + " is not declared in this module");
  for (const std::string& r : ast.fileRequests) syms_.function(upperName(r));
  for (size_t i = 0; i < ast.procs.size(); ++i) compileProcedure(ast.procs[i], static_cast<int>(i));
  if (initSymbol_ >= 0) compileStaticInit(static_cast<int>(ast.procs.size()));
  mod_.symbols = syms_.symbols();
  if (mod_.symbols.size() > 0xFFFF) error({}, "more than 65535 names in one module");
  return std::move(mod_);
}

void Generator::declareProcedures(ModuleAst& ast) {
  bool firstGiven = !options_.markFirst;
  std::set<std::string> seen;
  for (size_t i = 0; i < ast.procs.size(); ++i) {
    const Procedure& p = ast.procs[i];
    if (!seen.insert(p.name).second) error(p.pos, "procedure " + p.display + " defined twice");
    uint32_t scope = scopeOf(p.kind);
    if (!firstGiven && (p.kind == ProcKind::Function || p.kind == ProcKind::StaticFunction)) {
      scope |= PV_FS_FIRST;
      firstGiven = true;
    }
    int sym = syms_.define(p.name, scope);
    syms_.symbols()[static_cast<size_t>(sym)].proc = static_cast<int>(i);
    mod_.procs.push_back({p.name, sym, {}});
  }
}

void Generator::collectStatics(ModuleAst& ast) {
  for (const VarDecl& d : ast.fileStatics)
    statics_.push_back({upperName(d.name), "", static_cast<int>(statics_.size()) + 1, &d});
  for (const Procedure& p : ast.procs) collectStaticsIn(p.body, p.name);
  if (statics_.empty()) return;
  if (statics_.size() > 0xFFFF) error({}, "too many STATIC variables");
  initSymbol_ = syms_.define(kInitStatics, PV_FS_INITEXIT | PV_FS_LOCAL | PV_FS_PCODEFUNC);
  syms_.symbols()[static_cast<size_t>(initSymbol_)].proc = static_cast<int>(ast.procs.size());
  mod_.procs.push_back({kInitStatics, initSymbol_, {}});
}

void Generator::collectStaticsIn(const Block& body, const std::string& proc) {
  for (const StmtPtr& s : body) {
    if (s->kind == StmtKind::Static)
      for (const VarDecl& d : s->decls)
        statics_.push_back({upperName(d.name), proc, static_cast<int>(statics_.size()) + 1, &d});
    for (const Block& b : s->blocks) collectStaticsIn(b, proc);
  }
}

// FRAME, SFRAME, MODULENAME and LOCALNAME, put in front of the body once the body is known.
Assembler Generator::prologue(const Procedure& proc) {
  Assembler a;
  size_t params = proc.params.size();
  size_t locals = locals_.size() - params;
  if (params > 255) error(proc.pos, "more than 255 parameters");
  if (locals_.size() > 32767) error(proc.pos, "more than 32767 local variables");
  if (locals > 255) {
    a.op(PV_P_LARGEFRAME);
    a.putU16(static_cast<uint16_t>(std::min<size_t>(locals, 0xFFFF)));
  } else {
    a.op(PV_P_FRAME);
    a.putU8(static_cast<uint8_t>(locals));
  }
  a.putU8(static_cast<uint8_t>(params));
  if (usesStatics_ && initSymbol_ >= 0) {
    a.op(PV_P_SFRAME);
    a.putU16(static_cast<uint16_t>(initSymbol_));
  }
  if (options_.debugNames) {
    a.op(PV_P_MODULENAME);
    a.putCStr(mod_.name + ":" + proc.name);
    for (size_t i = 0; i < locals_.size() && i < 0xFFFF; ++i) {
      a.op(PV_P_LOCALNAME);
      a.putU16(static_cast<uint16_t>(i + 1));
      a.putCStr(locals_[i]);
    }
  }
  if (selfLocal_) {
    a.op(PV_P_PUSHSELF);
    if (selfLocal_ <= 127) {
      a.op(PV_P_POPLOCALNEAR);
      a.putU8(static_cast<uint8_t>(selfLocal_));
    } else {
      a.op(PV_P_POPLOCAL);
      a.putU16(static_cast<uint16_t>(selfLocal_));
    }
  }
  return a;
}

void Generator::finish(const Assembler& code, int procIndex, const SourcePos& pos) {
  std::string message;
  if (!code.assemble(mod_.procs[static_cast<size_t>(procIndex)].code, message)) error(pos, message);
}

void Generator::compileProcedure(const Procedure& proc, int procIndex) {
  current_ = &proc;
  proc_ = Assembler();
  locals_.clear();
  for (const std::string& p : proc.params) locals_.push_back(upperName(p));
  fields_ = fileFields_;
  memvars_ = fileMemvars_;
  blocks_.clear();
  loops_.clear();
  usesStatics_ = false;
  selfLocal_ = 0;
  baseLine_ = lastLine_ = -1;
  for (size_t i = 0; i < locals_.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (locals_[i] == locals_[j]) error(proc.pos, "parameter " + proc.params[i] + " declared twice");
  statements(proc.body);
  proc_.op(PV_P_ENDPROC);
  Assembler all = std::move(proc_);
  all.prepend(prologue(proc));
  finish(all, procIndex, proc.pos);
  current_ = nullptr;
}

void Generator::compileStaticInit(int procIndex) {
  Procedure init;
  init.name = kInitStatics;
  current_ = &init;
  proc_ = Assembler();
  locals_.clear();
  blocks_.clear();
  fields_ = fileFields_;
  memvars_ = fileMemvars_;
  baseLine_ = lastLine_ = -1;
  proc_.op(PV_P_FRAME);
  proc_.putU8(0);
  proc_.putU8(0);
  proc_.op(PV_P_STATICS);
  proc_.putU16(static_cast<uint16_t>(initSymbol_));
  proc_.putU16(static_cast<uint16_t>(statics_.size()));
  if (options_.debugNames) {
    proc_.op(PV_P_MODULENAME);
    proc_.putCStr(mod_.name + ":" + kInitStatics);
  }
  for (const StaticVar& s : statics_) {
    if (options_.debugNames) {
      proc_.op(PV_P_STATICNAME);
      proc_.putU8(s.proc.empty() ? 1 : 0);
      proc_.putU16(static_cast<uint16_t>(s.index));
      proc_.putCStr(s.name);
    }
    if (!s.decl || (!s.decl->init && s.decl->dims.empty())) continue;
    init.name = s.proc.empty() ? kInitStatics : s.proc;  // the owner's statics are visible
    line(s.decl->pos);
    if (!s.decl->dims.empty()) {
      for (const ExprPtr& d : s.decl->dims) push(*d);
      proc_.op(PV_P_ARRAYDIM);
      proc_.putU16(static_cast<uint16_t>(s.decl->dims.size()));
    } else {
      push(*s.decl->init);
    }
    proc_.op(PV_P_POPSTATIC);
    proc_.putU16(static_cast<uint16_t>(s.index));
  }
  proc_.op(PV_P_ENDPROC);
  finish(proc_, procIndex, {});
  current_ = nullptr;
}

}  // namespace pv
