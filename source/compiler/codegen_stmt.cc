// The code generator: statements.
#include "compiler/codegen_internal.h"

namespace pv {

void Generator::statements(const Block& body) {
  for (const StmtPtr& s : body) statement(*s);
}

// Line tracking: the first line of a procedure is a BASELINE, later lines within 255 of it are
// LINEOFFSETs, others LINE. Only lines of the module's own file are recorded.
void Generator::line(const SourcePos& pos) {
  if (!options_.lineNumbers || pos.file != 0 || pos.line <= 0 || !blocks_.empty()) return;
  if (pos.line == lastLine_) return;
  uint16_t n = static_cast<uint16_t>(pos.line > 0xFFFF ? 0xFFFF : pos.line);
  if (baseLine_ < 0) {
    code().op(PV_P_BASELINE);
    code().putU16(n);
    baseLine_ = n;
  } else if (n >= baseLine_ && n - baseLine_ <= 255) {
    code().op(PV_P_LINEOFFSET);
    code().putU8(static_cast<uint8_t>(n - baseLine_));
  } else {
    code().op(PV_P_LINE);
    code().putU16(n);
  }
  lastLine_ = pos.line;
}

void Generator::statement(const Stmt& s) {
  switch (s.kind) {
    case StmtKind::Static:
    case StmtKind::Memvar:
    case StmtKind::Field:
    case StmtKind::Request:
      declare(s);
      return;
    default:
      break;
  }
  if (s.kind != StmtKind::While) line(s.pos);  // a loop records its line at its top
  switch (s.kind) {
    case StmtKind::Expr: pushDiscard(*s.expr); return;
    case StmtKind::Return:
      if (s.expr) {
        push(*s.expr);
        code().op(PV_P_RETVALUE);
      }
      code().op(PV_P_ENDPROC);
      return;
    case StmtKind::If:
    case StmtKind::Case: ifStmt(s); return;
    case StmtKind::While: whileStmt(s); return;
    case StmtKind::For: forStmt(s); return;
    case StmtKind::ForEach: forEachStmt(s); return;
    case StmtKind::Switch: switchStmt(s); return;
    case StmtKind::Sequence: sequenceStmt(s); return;
    case StmtKind::Try: tryStmt(s); return;
    case StmtKind::With: withStmt(s); return;
    case StmtKind::Exit:
    case StmtKind::Loop: exitLoop(s); return;
    default: declare(s); return;
  }
}

void Generator::ifStmt(const Stmt& s) {
  int end = code().newLabel();
  for (size_t i = 0; i < s.conds.size(); ++i) {
    int next = code().newLabel();
    if (i > 0) line(s.conds[i]->pos);
    branch(*s.conds[i], false, next);
    statements(s.blocks[i]);
    bool more = i + 1 < s.conds.size() || s.blocks.size() > s.conds.size();
    if (more) code().jump(JumpKind::Always, end);
    code().place(next);
    lastLine_ = -1;
  }
  if (s.blocks.size() > s.conds.size()) statements(s.blocks.back());
  code().place(end);
  lastLine_ = -1;
}

void Generator::whileStmt(const Stmt& s) {
  int top = code().newLabel(), end = code().newLabel();
  code().place(top);
  lastLine_ = -1;
  line(s.pos);
  branch(*s.conds[0], false, end);
  loops_.push_back({LoopFrame::Loop, top, end});
  statements(s.blocks[0]);
  loops_.pop_back();
  code().jump(JumpKind::Always, top);
  code().place(end);
  lastLine_ = -1;
}

// FOR counter := start TO end [STEP step]: the end and step are evaluated at every test; FORTEST
// decides by the sign of the step.
void Generator::forStmt(const Stmt& s) {
  const Expr& counter = *s.expr;
  const Expr* step = s.exprs.size() > 2 ? s.exprs[2].get() : nullptr;
  push(*s.exprs[0]);
  store(counter);
  int test = code().newLabel(), top = code().newLabel(), next = code().newLabel(),
      end = code().newLabel();
  code().jump(JumpKind::Always, test);
  code().place(top);
  lastLine_ = -1;
  loops_.push_back({LoopFrame::Loop, next, end});
  statements(s.blocks[0]);
  loops_.pop_back();
  code().place(next);
  lastLine_ = -1;
  line(s.pos);
  auto add = std::make_unique<Expr>(ExprKind::Assign, s.pos);
  add->op = "+=";
  add->kids.push_back(cloneExpr(counter));
  if (step) {
    add->kids.push_back(cloneExpr(*step));
  } else {
    add->kids.push_back(std::make_unique<Expr>(ExprKind::Number, s.pos));
    add->kids.back()->ival = 1;
  }
  pushDiscard(*add);
  code().place(test);
  push(counter);
  push(*s.exprs[1]);
  if (step)
    push(*step);
  else
    code().op(PV_P_ONE);
  code().op(PV_P_FORTEST);
  code().jump(JumpKind::IfTrue, top);
  code().place(end);
  lastLine_ = -1;
}

// FOR EACH v IN x: @v x FOREACH; loop: ENUMERATE, JUMPFALSE end; body; JUMP loop; end: ENUMEND.
void Generator::forEachStmt(const Stmt& s) {
  pushRef(*s.expr);
  push(*s.exprs[0]);
  code().op(PV_P_FOREACH);
  int loop = code().newLabel(), end = code().newLabel();
  code().place(loop);
  code().op(PV_P_ENUMERATE);
  code().jump(JumpKind::IfFalse, end);
  loops_.push_back({LoopFrame::ForEach, loop, end});
  forEachVars_.push_back(s.expr->kind == ExprKind::Name ? upperName(s.expr->text) : "");
  statements(s.blocks[0]);
  forEachVars_.pop_back();
  loops_.pop_back();
  code().jump(JumpKind::Always, loop);
  code().place(end);
  code().op(PV_P_ENUMEND);
  lastLine_ = -1;
}

// SWITCH: the value stays on the stack through the SWITCHCASE tests; each match jumps to a stub
// that pops it and enters its body. Bodies fall through to the next one unless they EXIT.
void Generator::switchStmt(const Stmt& s) {
  push(*s.expr);
  size_t cases = s.exprs.size();
  std::vector<int> stub(cases), body(cases);
  std::set<int64_t> seen;
  for (size_t i = 0; i < cases; ++i) {
    const Expr& c = *s.exprs[i];
    int64_t value = 0;
    if (c.kind == ExprKind::Number && c.isInt && c.ival >= INT32_MIN && c.ival <= INT32_MAX) {
      value = c.ival;
    } else if (c.kind == ExprKind::String && c.text.size() == 1) {
      value = static_cast<unsigned char>(c.text[0]);
    } else {
      error(c.pos, "SWITCH CASE needs an integer or a one-character string constant");
    }
    if (!seen.insert(value).second) error(c.pos, "duplicate SWITCH CASE value");
    stub[i] = code().newLabel();
    body[i] = code().newLabel();
    code().op(PV_P_SWITCHCASE);
    code().putU32(static_cast<uint32_t>(static_cast<int32_t>(value)));
    code().jump(JumpKind::IfTrue, stub[i]);
  }
  int otherwise = code().newLabel(), end = code().newLabel();
  code().op(PV_P_POP);
  code().jump(JumpKind::Always, s.hasOtherwise ? otherwise : end);
  for (size_t i = 0; i < cases; ++i) {
    code().place(stub[i]);
    code().op(PV_P_POP);
    code().jump(JumpKind::Always, body[i]);
  }
  loops_.push_back({LoopFrame::Switch, -1, end});
  for (size_t i = 0; i < cases; ++i) {
    code().place(body[i]);
    lastLine_ = -1;
    statements(s.blocks[i]);
  }
  code().place(otherwise);
  if (s.hasOtherwise) statements(s.blocks.back());
  loops_.pop_back();
  code().place(end);
  lastLine_ = -1;
}

void Generator::sequenceStmt(const Stmt& s) {
  int recover = code().newLabel(), end = code().newLabel();
  code().jump24(PV_P_SEQBEGIN, recover);
  loops_.push_back({LoopFrame::Sequence, -1, -1});
  statements(s.blocks[0]);
  loops_.pop_back();
  code().jump24(PV_P_SEQEND, end);
  code().place(recover);
  lastLine_ = -1;
  code().op(PV_P_SEQRECOVER);
  if (s.expr)
    store(*s.expr);
  else
    code().op(PV_P_POP);
  if (s.hasRecover) statements(s.blocks[1]);
  code().place(end);
  lastLine_ = -1;
}

void Generator::tryStmt(const Stmt& s) {
  int catchAt = code().newLabel(), finallyAt = code().newLabel(), end = code().newLabel();
  code().jump24(PV_P_TRYBEGIN, s.hasCatch ? catchAt : finallyAt);
  loops_.push_back({LoopFrame::Sequence, -1, -1});
  statements(s.blocks[0]);
  code().jump24(PV_P_TRYEND, s.hasFinally ? finallyAt : end);
  if (s.hasCatch) {
    code().place(catchAt);
    lastLine_ = -1;
    code().jump24(PV_P_TRYRECOVER, s.hasFinally ? finallyAt : -1);
    if (s.expr)
      store(*s.expr);
    else
      code().op(PV_P_POP);
    statements(s.blocks[1]);
  }
  if (s.hasFinally) {
    code().place(finallyAt);
    lastLine_ = -1;
    code().op(PV_P_FINALLY);
    statements(s.blocks[2]);
    code().op(PV_P_ENDFINALLY);
  }
  loops_.pop_back();
  code().place(end);
  lastLine_ = -1;
}

void Generator::withStmt(const Stmt& s) {
  push(*s.expr);
  code().op(PV_P_WITHOBJECTSTART);
  loops_.push_back({LoopFrame::With, -1, -1});
  statements(s.blocks[0]);
  loops_.pop_back();
  code().op(PV_P_WITHOBJECTEND);
}

// EXIT and LOOP: WITH OBJECT blocks left on the way are closed; leaving a protected sequence
// this way is refused (its record would stay behind).
void Generator::exitLoop(const Stmt& s) {
  bool isExit = s.kind == StmtKind::Exit;
  const char* what = isExit ? "EXIT" : "LOOP";
  std::vector<Pcode> cleanup;
  for (size_t i = loops_.size(); i-- > 0;) {
    const LoopFrame& f = loops_[i];
    if (f.kind == LoopFrame::Sequence) {
      error(s.pos, std::string(what) + " out of BEGIN SEQUENCE or TRY is not allowed");
      return;
    }
    if (f.kind == LoopFrame::With) {
      cleanup.push_back(PV_P_WITHOBJECTEND);
      continue;
    }
    if (f.kind == LoopFrame::Switch && !isExit) continue;
    for (Pcode p : cleanup) code().op(p);
    code().jump(JumpKind::Always, isExit ? f.exitLabel : f.continueLabel);
    return;
  }
  error(s.pos, std::string(what) + " outside a loop");
}

void Generator::memvarDecl(const Stmt& s, const char* creator) {
  pushFunction(creator);
  code().op(PV_P_PUSHNIL);
  for (const VarDecl& d : s.decls) {
    pushString(upperName(d.name), d.pos);
    memvars_.insert(upperName(d.name));
  }
  callOp(PV_P_DOSHORT, PV_P_DO, s.decls.size());
  for (const VarDecl& d : s.decls) {
    if (!d.dims.empty()) {
      for (const ExprPtr& dim : d.dims) push(*dim);
      code().op(PV_P_ARRAYDIM);
      code().putU16(static_cast<uint16_t>(d.dims.size()));
    } else if (d.init) {
      push(*d.init);
    } else {
      continue;
    }
    nameOp(PV_P_POPMEMVAR, upperName(d.name));
  }
}

void Generator::declare(const Stmt& s) {
  switch (s.kind) {
    case StmtKind::Local:
      for (const VarDecl& d : s.decls) {
        std::string name = upperName(d.name);
        for (size_t i = 0; i < locals_.size(); ++i)
          if (locals_[i] == name) error(d.pos, "variable " + d.name + " declared twice");
        if (!d.dims.empty()) {
          for (const ExprPtr& dim : d.dims) push(*dim);
          code().op(PV_P_ARRAYDIM);
          code().putU16(static_cast<uint16_t>(d.dims.size()));
        } else if (d.init) {
          push(*d.init);
        }
        int local = addLocal(name);
        if (d.init || !d.dims.empty()) localOp(PV_P_POPLOCALNEAR, PV_P_POPLOCAL, local);
      }
      return;
    case StmtKind::Private: memvarDecl(s, "__MVPRIVATE"); return;
    case StmtKind::Public: memvarDecl(s, "__MVPUBLIC"); return;
    case StmtKind::Parameters:
      for (size_t i = 0; i < s.decls.size(); ++i) {
        std::string name = upperName(s.decls[i].name);
        memvars_.insert(name);
        symOp(PV_P_PARAMETER, syms_.name(name));
        code().putU8(static_cast<uint8_t>(i + 1 > 255 ? 255 : i + 1));
      }
      return;
    case StmtKind::Memvar:
      for (const VarDecl& d : s.decls) memvars_.insert(upperName(d.name));
      return;
    case StmtKind::Field:
      for (const VarDecl& d : s.decls) fields_[upperName(d.name)] = upperName(s.text);
      return;
    case StmtKind::Request:
      for (const VarDecl& d : s.decls) syms_.function(upperName(d.name));
      return;
    case StmtKind::Static:  // created and initialised by the module's static initialiser
      return;
    default:
      return;
  }
}

}  // namespace pv
