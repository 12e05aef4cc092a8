// The code generator: names and expressions.
#include <cstring>

#include "compiler/codegen_internal.h"
#include "vm/symbol.h"

namespace pv {

namespace {


struct BinaryOp {
  const char* op;
  Pcode code;
};
const BinaryOp kBinary[] = {
    {"+", PV_P_PLUS},        {"-", PV_P_MINUS},          {"*", PV_P_MULT},
    {"/", PV_P_DIVIDE},      {"%", PV_P_MODULUS},        {"^", PV_P_POWER},
    {"=", PV_P_EQUAL},       {"==", PV_P_EXACTLYEQUAL},  {"!=", PV_P_NOTEQUAL},
    {"<", PV_P_LESS},        {"<=", PV_P_LESSEQUAL},     {">", PV_P_GREATER},
    {">=", PV_P_GREATEREQUAL}, {"$", PV_P_INSTRING},     {"&", PV_P_BITAND},
    {"|", PV_P_BITOR},       {"^^", PV_P_BITXOR},        {"<<", PV_P_BITSHIFTL},
    {">>", PV_P_BITSHIFTR},
};

Pcode binaryCode(const std::string& op) {
  for (const BinaryOp& b : kBinary)
    if (op == b.op) return b.code;
  return PV_P_NOOP;
}

bool fitsS16(int64_t v) { return v >= -32768 && v <= 32767; }
bool fitsLoc8(int v) { return v >= -128 && v <= 127; }

}  // namespace

// ---- names -----------------------------------------------------------------------------------

int Generator::addLocal(const std::string& name) {
  locals_.push_back(name);
  return static_cast<int>(locals_.size());
}

// The local number of `name` as seen from scope `scope` (0: the procedure, i: blocks_[i-1]), or
// 0. A block that reaches an outer local detaches it: the block's list gets the outer number and
// the block sees it as -k.
int Generator::localIn(size_t scope, const std::string& name) {
  if (scope == 0) {
    for (size_t i = locals_.size(); i-- > 0;)
      if (locals_[i] == name) return static_cast<int>(i) + 1;
    return 0;
  }
  BlockScope& b = blocks_[scope - 1];
  for (size_t i = 0; i < b.params.size(); ++i)
    if (b.params[i] == name) return static_cast<int>(i) + 1;
  int outer = localIn(scope - 1, name);
  if (outer == 0) return 0;
  for (size_t i = 0; i < b.detached.size(); ++i)
    if (b.detached[i] == outer) return -static_cast<int>(i) - 1;
  b.detached.push_back(static_cast<int16_t>(outer));
  return -static_cast<int>(b.detached.size());
}

int Generator::staticNumber(const std::string& name) {
  for (const StaticVar& s : statics_)
    if (s.name == name && current_ && s.proc == current_->name) return s.index;
  for (const StaticVar& s : statics_)
    if (s.name == name && s.proc.empty()) return s.index;
  return 0;
}

Resolved Generator::resolve(const std::string& name) {
  Resolved r;
  if ((r.index = localIn(blocks_.size(), name)) != 0) {
    r.kind = Resolved::Local;
  } else if ((r.index = staticNumber(name)) != 0) {
    r.kind = Resolved::Static;
    usesStatics_ = true;
  } else if (auto f = fields_.find(name); f != fields_.end()) {
    r.kind = f->second.empty() ? Resolved::Field : Resolved::AliasedField;
    r.alias = f->second;
  } else if (memvars_.count(name)) {
    r.kind = Resolved::Memvar;
  } else {
    r.kind = Resolved::Variable;
  }
  return r;
}

bool Generator::isField(const std::string& alias) const {
  return alias == "FIELD" || alias == "_FIELD" || alias == "FIEL" || alias == "_FIEL";
}

// ---- small emitters --------------------------------------------------------------------------

void Generator::callOp(Pcode shortOp, Pcode longOp, size_t argc) {
  if (argc > 0xFFFF) {
    error(current_ ? current_->pos : SourcePos{}, "too many arguments");
    argc = 0xFFFF;
  }
  if (argc <= 255) {
    code().op(shortOp);
    code().putU8(static_cast<uint8_t>(argc));
  } else {
    code().op(longOp);
    code().putU16(static_cast<uint16_t>(argc));
  }
}

void Generator::localOp(Pcode nearOp, Pcode wideOp, int local) {
  if (fitsLoc8(local)) {
    code().op(nearOp);
    code().putU8(static_cast<uint8_t>(static_cast<int8_t>(local)));
  } else {
    code().op(wideOp);
    code().putU16(static_cast<uint16_t>(static_cast<int16_t>(local)));
  }
}

void Generator::symOp(Pcode op, int sym) {
  code().op(op);
  code().putU16(static_cast<uint16_t>(sym));
}

void Generator::pushSymbol(int sym) {
  if (sym < 256) {
    code().op(PV_P_PUSHSYMNEAR);
    code().putU8(static_cast<uint8_t>(sym));
  } else {
    symOp(PV_P_PUSHSYM, sym);
  }
}

void Generator::message(const std::string& name) { nameOp(PV_P_MESSAGE, upperName(name)); }

void Generator::putPointer(const std::string& name) {
  const void* p = (*macroSymbols_)(name);
  uint64_t bits = reinterpret_cast<uintptr_t>(p);
  for (size_t i = 0; i < sizeof(void*); ++i) code().putU8(static_cast<uint8_t>(bits >> (8 * i)));
}

void Generator::pushFunction(const std::string& name) {
  if (macroSymbols_) {
    code().op(PV_P_MPUSHSYM);
    putPointer(name);
  } else {
    pushSymbol(syms_.function(name));
  }
}

void Generator::pushAliasSymbol(const std::string& alias) {
  if (macroSymbols_) {
    code().op(PV_P_MPUSHSYM);
    putPointer(alias);
  } else {
    pushSymbol(syms_.name(alias));
  }
}

// An opcode with a name operand: a symbol of the module, or in macro code the M form with the
// dynamic symbol's address (a macro has no module table; undeclared names are assigned as
// memory variables there, as no M form of POPVARIABLE exists).
void Generator::nameOp(Pcode op, const std::string& name) {
  if (!macroSymbols_) {
    int sym = syms_.name(name);
    if ((op == PV_P_PUSHALIASEDFIELD || op == PV_P_POPALIASEDFIELD) && sym < 256) {
      code().op(op == PV_P_PUSHALIASEDFIELD ? PV_P_PUSHALIASEDFIELDNEAR : PV_P_POPALIASEDFIELDNEAR);
      code().putU8(static_cast<uint8_t>(sym));
    } else {
      symOp(op, sym);
    }
    return;
  }
  static const std::pair<Pcode, Pcode> kMacroForms[] = {
      {PV_P_MESSAGE, PV_P_MMESSAGE},           {PV_P_PUSHFIELD, PV_P_MPUSHFIELD},
      {PV_P_POPFIELD, PV_P_MPOPFIELD},         {PV_P_PUSHMEMVAR, PV_P_MPUSHMEMVAR},
      {PV_P_POPMEMVAR, PV_P_MPOPMEMVAR},       {PV_P_PUSHVARIABLE, PV_P_MPUSHVARIABLE},
      {PV_P_POPVARIABLE, PV_P_MPOPMEMVAR},     {PV_P_PUSHMEMVARREF, PV_P_MPUSHMEMVARREF},
      {PV_P_PUSHALIASEDFIELD, PV_P_MPUSHALIASEDFIELD},
      {PV_P_POPALIASEDFIELD, PV_P_MPOPALIASEDFIELD},
      {PV_P_PUSHALIASEDVAR, PV_P_MPUSHALIASEDVAR}, {PV_P_POPALIASEDVAR, PV_P_MPOPALIASEDVAR}};
  for (const auto& [plain, macro] : kMacroForms) {
    if (plain != op) continue;
    code().op(macro);
    putPointer(name);
    return;
  }
  error({}, "not possible in a macro expression");
}

void Generator::pushLocal(int local) { localOp(PV_P_PUSHLOCALNEAR, PV_P_PUSHLOCAL, local); }

void Generator::pushInt(int64_t v) {
  Assembler& a = code();
  if (v == 0) {
    a.op(PV_P_ZERO);
  } else if (v == 1) {
    a.op(PV_P_ONE);
  } else if (v >= -128 && v <= 127) {
    a.op(PV_P_PUSHBYTE);
    a.putU8(static_cast<uint8_t>(static_cast<int8_t>(v)));
  } else if (fitsS16(v)) {
    a.op(PV_P_PUSHINT);
    a.putU16(static_cast<uint16_t>(static_cast<int16_t>(v)));
  } else if (v >= INT32_MIN && v <= INT32_MAX) {
    a.op(PV_P_PUSHLONG);
    a.putU32(static_cast<uint32_t>(static_cast<int32_t>(v)));
  } else {
    a.op(PV_P_PUSHLONGLONG);
    a.putU64(static_cast<uint64_t>(v));
  }
}

void Generator::pushNumber(const Expr& e) {
  if (e.isInt) {
    pushInt(e.ival);
    return;
  }
  code().op(PV_P_PUSHDOUBLE);
  code().putF64(e.dval);
  code().putU8(e.width);
  code().putU8(e.decimals);
}

void Generator::pushString(const std::string& s, const SourcePos& pos) {
  size_t n = s.size() + 1;
  if (n <= 255) {
    code().op(PV_P_PUSHSTRSHORT);
    code().putU8(static_cast<uint8_t>(n));
  } else if (n <= 0xFFFF) {
    code().op(PV_P_PUSHSTR);
    code().putU16(static_cast<uint16_t>(n));
  } else {
    error(pos, "string literal longer than 65534 bytes");
    code().op(PV_P_PUSHNIL);
    return;
  }
  code().putCStr(s);
}

// Self: in a code block of a method the block reaches Self through a hidden local of the method
// (so the block still knows it when evaluated elsewhere); inline methods name it as parameter 1.
void Generator::pushSelf() {
  if (int n = localIn(blocks_.size(), "SELF")) {
    pushLocal(n);
    return;
  }
  if (!blocks_.empty() && current_ && current_->isMethod) {
    selfLocal_ = addLocal("SELF");
    pushLocal(localIn(blocks_.size(), "SELF"));
    return;
  }
  code().op(PV_P_PUSHSELF);
}

// ---- expressions -----------------------------------------------------------------------------

void Generator::push(const Expr& e) {
  Assembler& a = code();
  switch (e.kind) {
    case ExprKind::Nil: a.op(PV_P_PUSHNIL); return;
    case ExprKind::Number: pushNumber(e); return;
    case ExprKind::String: pushString(e.text, e.pos); return;
    case ExprKind::Date:
      a.op(PV_P_PUSHDATE);
      a.putU32(static_cast<uint32_t>(e.ival));
      return;
    case ExprKind::Logical: a.op(e.ival ? PV_P_TRUE : PV_P_FALSE); return;
    case ExprKind::Self: pushSelf(); return;
    case ExprKind::Name: pushName(e); return;
    case ExprKind::Aliased: pushAliased(e); return;
    case ExprKind::AliasedExpr: pushAliasedExpr(e); return;
    case ExprKind::Macro:
      pushMacroText(e);
      code().op(PV_P_MACROPUSH);
      code().putU8(0);
      return;
    case ExprKind::Call: pushCall(e, false); return;
    case ExprKind::Send: pushSend(e); return;
    case ExprKind::MacroSend: error(e.pos, "macro message names are not supported"); return;
    case ExprKind::Index:
      push(*e.kids[0]);
      push(*e.kids[1]);
      code().op(PV_P_ARRAYPUSH);
      return;
    case ExprKind::Array:
    case ExprKind::Hash: {
      for (const ExprPtr& k : e.kids) push(*k);
      size_t n = e.kind == ExprKind::Hash ? e.kids.size() / 2 : e.kids.size();
      if (n > 0xFFFF) error(e.pos, "too many elements");
      code().op(e.kind == ExprKind::Hash ? PV_P_HASHGEN : PV_P_ARRAYGEN);
      code().putU16(static_cast<uint16_t>(n));
      return;
    }
    case ExprKind::Block: pushBlock(e); return;
    case ExprKind::IIf: {
      int otherwise = code().newLabel(), end = code().newLabel();
      branch(*e.kids[0], false, otherwise);
      push(*e.kids[1]);
      code().jump(JumpKind::Always, end);
      code().place(otherwise);
      push(*e.kids[2]);
      code().place(end);
      return;
    }
    case ExprKind::List:
      for (size_t i = 0; i + 1 < e.kids.size(); ++i) pushDiscard(*e.kids[i]);
      push(*e.kids.back());
      return;
    case ExprKind::Unary:
      push(*e.kids[0]);
      code().op(e.op == "-" ? PV_P_NEGATE : PV_P_NOT);
      return;
    case ExprKind::Binary: pushBinary(e); return;
    case ExprKind::Assign: assign(e, true); return;
    case ExprKind::PreInc:
    case ExprKind::PreDec:
    case ExprKind::PostInc:
    case ExprKind::PostDec: incDec(e, true); return;
    case ExprKind::Ref: pushRef(*e.kids[0]); return;
    case ExprKind::FuncRef:
      pushFunction(upperName(e.text));
      code().op(PV_P_FUNCPTR);
      return;
    case ExprKind::Super:
      message("SUPER");
      pushSelf();
      callOp(PV_P_SENDSHORT, PV_P_SEND, 0);
      return;
  }
}

// Evaluates `e` for its effect only.
void Generator::pushDiscard(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Assign: assign(e, false); return;
    case ExprKind::PreInc:
    case ExprKind::PreDec:
    case ExprKind::PostInc:
    case ExprKind::PostDec: incDec(e, false); return;
    case ExprKind::Call: pushCall(e, true); return;
    case ExprKind::List:
      for (const ExprPtr& k : e.kids) pushDiscard(*k);
      return;
    default:
      push(e);
      code().op(PV_P_POP);
  }
}

void Generator::branch(const Expr& cond, bool jumpIf, int label) {
  push(cond);
  code().jump(jumpIf ? JumpKind::IfTrue : JumpKind::IfFalse, label);
}

void Generator::pushName(const Expr& e) {
  std::string name = upperName(e.text);
  Resolved r = resolve(name);
  switch (r.kind) {
    case Resolved::Local: pushLocal(r.index); return;
    case Resolved::Static:
      code().op(PV_P_PUSHSTATIC);
      code().putU16(static_cast<uint16_t>(r.index));
      return;
    case Resolved::Field: nameOp(PV_P_PUSHFIELD, name); return;
    case Resolved::AliasedField:
      pushAliasSymbol(r.alias);
      nameOp(PV_P_PUSHALIASEDFIELD, name);
      return;
    case Resolved::Memvar: nameOp(PV_P_PUSHMEMVAR, name); return;
    default: nameOp(PV_P_PUSHVARIABLE, name); return;
  }
}

void Generator::pushAliasValue(const Expr& e) {
  if (!e.alias.empty())
    pushAliasSymbol(e.alias);
  else
    push(*e.kids[0]);
}

void Generator::pushAliased(const Expr& e) {
  std::string name = upperName(e.text);
  if (isField(e.alias)) {
    nameOp(PV_P_PUSHFIELD, name);
  } else if (e.alias == "M" || e.alias == "MEMVAR" || e.alias == "MEMV") {
    nameOp(PV_P_PUSHMEMVAR, name);
  } else {
    pushAliasValue(e);
    nameOp(e.alias.empty() ? PV_P_PUSHALIASEDVAR : PV_P_PUSHALIASEDFIELD, name);
  }
}

// alias->( expr ): PUSHALIAS, alias, POPALIAS, expr, SWAPALIAS (selects the saved area again and
// leaves the value).
void Generator::pushAliasedExpr(const Expr& e) {
  code().op(PV_P_PUSHALIAS);
  pushAliasValue(e);
  code().op(PV_P_POPALIAS);
  push(*e.kids.back());
  code().op(PV_P_SWAPALIAS);
}

void Generator::pushMacroText(const Expr& e) {
  if (!e.text.empty()) {
    Expr name(ExprKind::Name, e.pos);
    name.text = e.text;
    pushName(name);
  } else {
    push(*e.kids[0]);
  }
}

void Generator::pushArgs(const Expr& e, size_t first) {
  for (size_t i = first; i < e.kids.size(); ++i) {
    if (e.kids[i])
      push(*e.kids[i]);
    else
      code().op(PV_P_PUSHNIL);
  }
}

void Generator::pushCall(const Expr& e, bool discard) {
  const Expr& callee = *e.kids[0];
  if (callee.kind == ExprKind::Name) {
    pushFunction(upperName(callee.text));
  } else {
    pushMacroText(callee);
    code().op(PV_P_MACROSYMBOL);
  }
  code().op(PV_P_PUSHNIL);
  pushArgs(e, 1);
  size_t argc = e.kids.size() - 1;
  if (discard)
    callOp(PV_P_DOSHORT, PV_P_DO, argc);
  else
    callOp(PV_P_FUNCTIONSHORT, PV_P_FUNCTION, argc);
}

void Generator::pushReceiver(const Expr* receiver) {
  if (!receiver)
    code().op(PV_P_PUSHWITH);
  else
    push(*receiver);
}

void Generator::pushSend(const Expr& e) {
  const Expr* receiver = e.kids[0].get();
  if (upperName(e.text) == "__ENUMINDEX" && e.kids.size() == 1 && receiver &&
      receiver->kind == ExprKind::Name && !forEachVars_.empty() &&
      forEachVars_.back() == upperName(receiver->text)) {
    code().op(PV_P_ENUMINDEX);
    return;
  }
  message(e.text);
  pushReceiver(receiver);
  pushArgs(e, 1);
  callOp(PV_P_SENDSHORT, PV_P_SEND, e.kids.size() - 1);
}

void Generator::pushBlock(const Expr& e) {
  BlockScope scope;
  for (const std::string& p : e.params) {
    std::string name = upperName(p);
    for (const std::string& q : scope.params)
      if (q == name) error(e.pos, "code block parameter " + p + " declared twice");
    scope.params.push_back(name);
  }
  blocks_.push_back(std::move(scope));
  for (size_t i = 0; i + 1 < e.kids.size(); ++i) pushDiscard(*e.kids[i]);
  push(*e.kids.back());
  code().op(PV_P_ENDBLOCK);
  BlockScope done = std::move(blocks_.back());
  blocks_.pop_back();
  code().block(std::move(done.code), static_cast<uint16_t>(done.params.size()),
               std::move(done.detached), macroSymbols_ != nullptr);
}

void Generator::pushBinary(const Expr& e) {
  if (e.op == ".AND." || e.op == ".OR.") {  // short-circuit: the left value decides or is dropped
    int end = code().newLabel();
    push(*e.kids[0]);
    code().op(PV_P_DUPLICATE);
    code().jump(e.op == ".AND." ? JumpKind::IfFalse : JumpKind::IfTrue, end);
    code().op(PV_P_POP);
    push(*e.kids[1]);
    code().place(end);
    return;
  }
  push(*e.kids[0]);
  const Expr& right = *e.kids[1];
  if ((e.op == "+" || e.op == "-") && right.kind == ExprKind::Number && right.isInt &&
      fitsS16(right.ival) && right.ival != 0 && fitsS16(-right.ival)) {
    code().op(PV_P_ADDINT);
    code().putU16(static_cast<uint16_t>(static_cast<int16_t>(e.op == "+" ? right.ival : -right.ival)));
    return;
  }
  push(right);
  code().op(binaryCode(e.op));
}

void Generator::pushRef(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Name: {
      std::string name = upperName(e.text);
      Resolved r = resolve(name);
      if (r.kind == Resolved::Local) {
        code().op(PV_P_PUSHLOCALREF);
        code().putU16(static_cast<uint16_t>(static_cast<int16_t>(r.index)));
      } else if (r.kind == Resolved::Static) {
        code().op(PV_P_PUSHSTATICREF);
        code().putU16(static_cast<uint16_t>(r.index));
      } else if (r.kind == Resolved::Memvar || r.kind == Resolved::Variable) {
        nameOp(PV_P_PUSHMEMVARREF, name);
      } else {
        error(e.pos, "a reference to field " + e.text + " is not possible");
      }
      return;
    }
    case ExprKind::Aliased:
      if (e.alias == "M" || e.alias == "MEMVAR" || e.alias == "MEMV")
        nameOp(PV_P_PUSHMEMVARREF, upperName(e.text));
      else
        error(e.pos, "a reference to field " + e.text + " is not possible");
      return;
    case ExprKind::Index:
      push(*e.kids[0]);
      push(*e.kids[1]);
      code().op(PV_P_ARRAYPUSHREF);
      return;
    case ExprKind::Send:
      message(e.text);
      pushReceiver(e.kids[0].get());
      code().op(PV_P_IVARREF);
      return;
    case ExprKind::Macro:
      pushMacroText(e);
      code().op(PV_P_PUSHMACROREF);
      return;
    default:
      error(e.pos, "invalid target of @");
  }
}

// Pops the value on the stack into `target` (not a send; see assign()).
void Generator::store(const Expr& target) {
  switch (target.kind) {
    case ExprKind::Name: {
      std::string name = upperName(target.text);
      Resolved r = resolve(name);
      switch (r.kind) {
        case Resolved::Local: localOp(PV_P_POPLOCALNEAR, PV_P_POPLOCAL, r.index); return;
        case Resolved::Static:
          code().op(PV_P_POPSTATIC);
          code().putU16(static_cast<uint16_t>(r.index));
          return;
        case Resolved::Field: nameOp(PV_P_POPFIELD, name); return;
        case Resolved::AliasedField:
          pushAliasSymbol(r.alias);
          nameOp(PV_P_POPALIASEDFIELD, name);
          return;
        case Resolved::Memvar: nameOp(PV_P_POPMEMVAR, name); return;
        default: nameOp(PV_P_POPVARIABLE, name); return;
      }
    }
    case ExprKind::Aliased: {
      std::string name = upperName(target.text);
      if (isField(target.alias)) {
        nameOp(PV_P_POPFIELD, name);
      } else if (target.alias == "M" || target.alias == "MEMVAR" || target.alias == "MEMV") {
        nameOp(PV_P_POPMEMVAR, name);
      } else {
        pushAliasValue(target);
        nameOp(target.alias.empty() ? PV_P_POPALIASEDVAR : PV_P_POPALIASEDFIELD, name);
      }
      return;
    }
    case ExprKind::Index:
      push(*target.kids[0]);
      push(*target.kids[1]);
      code().op(PV_P_ARRAYPOP);
      return;
    case ExprKind::Macro:
      pushMacroText(target);
      code().op(PV_P_MACROPOP);
      code().putU8(0);
      return;
    default:
      error(target.pos, "invalid assignment target");
  }
}

void Generator::assign(const Expr& e, bool keep) {
  const Expr& target = *e.kids[0];
  const Expr& value = *e.kids[1];
  std::string binop = e.op == ":=" ? "" : e.op.substr(0, e.op.size() - 1);
  if (target.kind == ExprKind::Send) {  // o:x := v sends _X with one argument
    message("_" + target.text);
    pushReceiver(target.kids[0].get());
    if (!binop.empty()) {
      message(target.text);
      pushReceiver(target.kids[0].get());
      callOp(PV_P_SENDSHORT, PV_P_SEND, 0);
      push(value);
      code().op(binaryCode(binop));
    } else {
      push(value);
    }
    callOp(PV_P_SENDSHORT, PV_P_SEND, 1);
    if (!keep) code().op(PV_P_POP);
    return;
  }
  Resolved r;
  if (target.kind == ExprKind::Name) r = resolve(upperName(target.text));
  bool local8 = target.kind == ExprKind::Name && r.kind == Resolved::Local && fitsLoc8(r.index);
  if (!keep && local8 && binop.empty() && value.kind == ExprKind::Number && value.isInt &&
      fitsS16(value.ival)) {
    code().op(PV_P_LOCALSETINT);
    code().putU8(static_cast<uint8_t>(static_cast<int8_t>(r.index)));
    code().putU16(static_cast<uint16_t>(static_cast<int16_t>(value.ival)));
    return;
  }
  if (!keep && local8 && binop.empty() && value.kind == ExprKind::String &&
      value.text.size() < 0xFFFF) {
    code().op(PV_P_LOCALSETSTR);
    code().putU8(static_cast<uint8_t>(static_cast<int8_t>(r.index)));
    code().putU16(static_cast<uint16_t>(value.text.size() + 1));
    code().putCStr(value.text);
    return;
  }
  if (!keep && local8 && binop == "+") {
    if (value.kind == ExprKind::Number && value.isInt && fitsS16(value.ival)) {
      code().op(PV_P_LOCALADDINT);
      code().putU8(static_cast<uint8_t>(static_cast<int8_t>(r.index)));
      code().putU16(static_cast<uint16_t>(static_cast<int16_t>(value.ival)));
    } else {
      push(value);
      code().op(PV_P_LOCALADD);
      code().putU8(static_cast<uint8_t>(static_cast<int8_t>(r.index)));
    }
    return;
  }
  if (!keep && binop == "+" && target.kind == ExprKind::Index) {
    push(value);
    push(*target.kids[0]);
    push(*target.kids[1]);
    code().op(PV_P_ARRAYPOPPLUS);
    return;
  }
  if (!binop.empty()) {  // the target's parts are evaluated again to store
    push(target);
    push(value);
    code().op(binaryCode(binop));
  } else {
    push(value);
  }
  if (keep) code().op(PV_P_DUPLICATE);
  store(target);
}

void Generator::incDec(const Expr& e, bool keep) {
  const Expr& target = *e.kids[0];
  bool inc = e.kind == ExprKind::PreInc || e.kind == ExprKind::PostInc;
  bool post = e.kind == ExprKind::PostInc || e.kind == ExprKind::PostDec;
  Pcode step = inc ? PV_P_INC : PV_P_DEC;
  if (target.kind == ExprKind::Send) {
    message("_" + target.text);
    pushReceiver(target.kids[0].get());
    message(target.text);
    pushReceiver(target.kids[0].get());
    callOp(PV_P_SENDSHORT, PV_P_SEND, 0);
    code().op(step);
    callOp(PV_P_SENDSHORT, PV_P_SEND, 1);
    if (!keep) code().op(PV_P_POP);
    if (keep && post) code().op(inc ? PV_P_DEC : PV_P_INC);
    return;
  }
  if (target.kind == ExprKind::Name) {
    Resolved r = resolve(upperName(target.text));
    if (r.kind == Resolved::Local && fitsLoc8(r.index)) {
      uint8_t local = static_cast<uint8_t>(static_cast<int8_t>(r.index));
      if (keep && post) pushLocal(r.index);
      code().op(!keep || post ? (inc ? PV_P_LOCALINC : PV_P_LOCALDEC)
                              : (inc ? PV_P_LOCALINCPUSH : PV_P_LOCALDECPUSH));
      code().putU8(local);
      return;
    }
  }
  push(target);
  if (keep && post) code().op(PV_P_DUPLICATE);
  code().op(step);
  if (keep && !post) code().op(PV_P_DUPLICATE);
  store(target);
}

}  // namespace pv
