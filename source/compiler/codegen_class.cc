// Class declarations become class functions. For
//
//   CLASS TFoo FROM TBar
//     DATA cName INIT "x"
//     METHOD New( a ) CONSTRUCTOR
//     METHOD Size() INLINE Len( ::cName )
//   ENDCLASS
//
// the module gets (the static holds the class-building object once the class exists):
//
//   FUNCTION TFOO()
//     LOCAL oClass, oInstance
//     IF s_TFoo == NIL
//       oClass := PVCLASS():New( "TFoo", { TBAR():ClassH } )
//       oClass:AddData( "cName", "x", NIL, 1, .F. )
//       oClass:AddMethod( "New", @TFOO_NEW(), 17, .F. )
//       oClass:AddInline( "Size", {| Self | Len( Self:cName ) }, 1, .F. )
//       oClass:Create()
//       s_TFoo := oClass
//       oInstance := oClass:Instance()
//       IF __OBJHASMSG( oInstance, "INITCLASS" )
//         PV_EXECFROMARRAY( oInstance, "INITCLASS", PV_APARAMS() )
//       ENDIF
//     ELSE
//       oInstance := s_TFoo:Instance()
//     ENDIF
//     IF PCOUNT() > 0
//       RETURN s_TFoo:ConstructorCall( oInstance, PV_APARAMS() )
//     ENDIF
//     RETURN oInstance
#include "compiler/codegen.h"
#include "compiler/parser.h"
#include "compiler/token.h"

namespace pv {

namespace {

constexpr int kScopeExported = 1;
constexpr int kScopeConstructor = 16;


ExprPtr name(const SourcePos& pos, const std::string& text) {
  auto e = std::make_unique<Expr>(ExprKind::Name, pos);
  e->text = text;
  return e;
}

ExprPtr number(const SourcePos& pos, int64_t n) {
  auto e = std::make_unique<Expr>(ExprKind::Number, pos);
  e->ival = n;
  e->dval = static_cast<double>(n);
  return e;
}

ExprPtr orNil(ExprPtr e, const SourcePos& pos) {
  return e ? std::move(e) : std::make_unique<Expr>(ExprKind::Nil, pos);
}

ExprPtr send(const SourcePos& pos, ExprPtr receiver, const std::string& msg,
             std::vector<ExprPtr> args = {}) {
  auto e = std::make_unique<Expr>(ExprKind::Send, pos);
  e->text = msg;
  e->kids.push_back(std::move(receiver));
  for (ExprPtr& a : args) e->kids.push_back(std::move(a));
  return e;
}

ExprPtr assign(const SourcePos& pos, const std::string& target, ExprPtr value) {
  auto e = std::make_unique<Expr>(ExprKind::Assign, pos);
  e->op = ":=";
  e->kids.push_back(name(pos, target));
  e->kids.push_back(std::move(value));
  return e;
}

ExprPtr funcRef(const SourcePos& pos, const std::string& fn) {
  auto e = std::make_unique<Expr>(ExprKind::FuncRef, pos);
  e->text = fn;
  return e;
}

StmtPtr exprStmt(ExprPtr e) {
  auto s = std::make_unique<Stmt>(StmtKind::Expr, e->pos);
  s->expr = std::move(e);
  return s;
}

StmtPtr ifStmt(ExprPtr cond, Block then, Block otherwise = {}) {
  auto s = std::make_unique<Stmt>(StmtKind::If, cond->pos);
  s->conds.push_back(std::move(cond));
  s->blocks.push_back(std::move(then));
  if (!otherwise.empty()) s->blocks.push_back(std::move(otherwise));
  return s;
}

StmtPtr returnStmt(ExprPtr value) {
  auto s = std::make_unique<Stmt>(StmtKind::Return, value->pos);
  s->expr = std::move(value);
  return s;
}

ExprPtr binary(const SourcePos& pos, const char* op, ExprPtr a, ExprPtr b) {
  auto e = std::make_unique<Expr>(ExprKind::Binary, pos);
  e->op = op;
  e->kids.push_back(std::move(a));
  e->kids.push_back(std::move(b));
  return e;
}

ExprPtr inlineBlock(ClassMember& m) {
  auto block = std::make_unique<Expr>(ExprKind::Block, m.pos);
  block->params.push_back("Self");
  for (const std::string& p : m.params) block->params.push_back(p);
  block->kids.push_back(std::move(m.inlineExpr));
  return block;
}

// The oClass:Add...() call for one member, or null when the member is in error.
ExprPtr memberCall(ClassMember& m, const std::string& cls, Diagnostics& diags,
                   const std::set<std::string>& bodies) {
  const SourcePos& pos = m.pos;
  std::vector<ExprPtr> args;
  auto methodRef = [&]() -> ExprPtr {
    std::string fn = upperName(cls) + "_" + upperName(m.name);
    if (!bodies.count(fn)) {
      diags.error(pos, "METHOD " + m.name + " of class " + cls + " has no implementation");
      return nullptr;
    }
    return funcRef(pos, fn);
  };
  switch (m.kind) {
    case ClassMember::Data:
    case ClassMember::ClassData:
      args.push_back(makeString(pos, m.name));
      args.push_back(orNil(std::move(m.init), pos));
      args.push_back(m.type.empty() ? orNil(nullptr, pos) : makeString(pos, m.type));
      args.push_back(number(pos, kScopeExported));
      args.push_back(makeLogical(pos, false));
      return send(pos, name(pos, "oClass"),
                  m.kind == ClassMember::Data ? "AddData" : "AddClassData", std::move(args));
    case ClassMember::Method: {
      ExprPtr ref = methodRef();
      if (!ref) return nullptr;
      args.push_back(makeString(pos, m.name));
      args.push_back(std::move(ref));
      args.push_back(number(pos, kScopeExported | (m.constructor ? kScopeConstructor : 0)));
      args.push_back(makeLogical(pos, false));
      return send(pos, name(pos, "oClass"), "AddMethod", std::move(args));
    }
    case ClassMember::Inline:
    case ClassMember::Operator:
      args.push_back(makeString(pos, m.name));
      args.push_back(inlineBlock(m));
      args.push_back(number(pos, kScopeExported));
      args.push_back(makeLogical(pos, false));
      return send(pos, name(pos, "oClass"), "AddInline", std::move(args));
    case ClassMember::Virtual:
      args.push_back(makeString(pos, m.name));
      return send(pos, name(pos, "oClass"), "AddVirtual", std::move(args));
    case ClassMember::ErrorHandler:
    case ClassMember::Destructor: {
      ExprPtr ref = methodRef();
      if (!ref) return nullptr;
      args.push_back(std::move(ref));
      return send(pos, name(pos, "oClass"),
                  m.kind == ClassMember::Destructor ? "SetDestructor" : "SetOnError",
                  std::move(args));
    }
  }
  return nullptr;
}

}  // namespace

Procedure classFunction(ClassDecl& cls, const std::string& holder, Diagnostics& diags,
                        const std::set<std::string>& methodBodies) {
  const SourcePos pos = cls.pos;
  Procedure proc;
  proc.name = upperName(cls.name);
  proc.display = cls.name;
  proc.pos = pos;
  proc.kind = cls.isStatic ? ProcKind::StaticFunction : ProcKind::Function;

  auto locals = std::make_unique<Stmt>(StmtKind::Local, pos);
  locals->decls.resize(2);
  locals->decls[0].name = "oClass";
  locals->decls[1].name = "oInstance";
  proc.body.push_back(std::move(locals));

  Block build;
  auto parents = std::make_unique<Expr>(ExprKind::Array, pos);
  for (const std::string& p : cls.parents)
    parents->kids.push_back(send(pos, makeCall(pos, upperName(p), {}), "ClassH"));
  std::vector<ExprPtr> newArgs;
  newArgs.push_back(makeString(pos, cls.name));
  newArgs.push_back(std::move(parents));
  build.push_back(exprStmt(
      assign(pos, "oClass", send(pos, makeCall(pos, "PVCLASS", {}), "New", std::move(newArgs)))));
  std::set<std::string> seen;
  for (ClassMember& m : cls.members) {
    if (m.kind != ClassMember::Destructor && !seen.insert(upperName(m.name)).second)
      diags.error(m.pos, "message " + m.name + " declared twice in class " + cls.name);
    ExprPtr byName;
    if (m.kind == ClassMember::ErrorHandler) {  // answers by name too
      ClassMember asMethod;
      asMethod.kind = ClassMember::Method;
      asMethod.name = m.name;
      asMethod.pos = m.pos;
      byName = memberCall(asMethod, cls.name, diags, methodBodies);
      if (!byName) continue;  // the missing body is reported once
      build.push_back(exprStmt(std::move(byName)));
    }
    if (ExprPtr call = memberCall(m, cls.name, diags, methodBodies))
      build.push_back(exprStmt(std::move(call)));
  }
  build.push_back(exprStmt(send(pos, name(pos, "oClass"), "Create")));
  build.push_back(exprStmt(assign(pos, holder, name(pos, "oClass"))));
  build.push_back(exprStmt(assign(pos, "oInstance", send(pos, name(pos, "oClass"), "Instance"))));
  {
    std::vector<ExprPtr> has;
    has.push_back(name(pos, "oInstance"));
    has.push_back(makeString(pos, "INITCLASS"));
    std::vector<ExprPtr> exec;
    exec.push_back(name(pos, "oInstance"));
    exec.push_back(makeString(pos, "INITCLASS"));
    exec.push_back(makeCall(pos, "PV_APARAMS", {}));
    Block then;
    then.push_back(exprStmt(makeCall(pos, "PV_EXECFROMARRAY", std::move(exec))));
    build.push_back(ifStmt(makeCall(pos, "__OBJHASMSG", std::move(has)), std::move(then)));
  }
  Block later;
  later.push_back(exprStmt(assign(pos, "oInstance", send(pos, name(pos, holder), "Instance"))));
  proc.body.push_back(ifStmt(binary(pos, "==", name(pos, holder), orNil(nullptr, pos)),
                             std::move(build), std::move(later)));

  std::vector<ExprPtr> ctor;
  ctor.push_back(name(pos, "oInstance"));
  ctor.push_back(makeCall(pos, "PV_APARAMS", {}));
  Block withArgs;
  withArgs.push_back(returnStmt(send(pos, name(pos, holder), "ConstructorCall", std::move(ctor))));
  proc.body.push_back(ifStmt(binary(pos, ">", makeCall(pos, "PCOUNT", {}), number(pos, 0)),
                             std::move(withArgs)));
  proc.body.push_back(returnStmt(name(pos, "oInstance")));
  return proc;
}

}  // namespace pv
