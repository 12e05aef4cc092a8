// The parser: class declarations.
//
// classdecl -> [CREATE] CLASS name [FROM|INHERIT parent {, parent}] [STATIC] EOL
//              { member EOL } (ENDCLASS | END [CLASS])
// member    -> (DATA|VAR) name {, name} [INIT expr] [AS type]
//            | (CLASSDATA|CLASSVAR) name {, name} [INIT expr] [AS type]
//            | METHOD name [(params)] [CONSTRUCTOR] [INLINE expr | VIRTUAL]
//            | ERROR HANDLER name [(params)] | DESTRUCTOR name [(params)]
//            | OPERATOR "op" [ARG name] INLINE expr
//            | (EXPORTED|EXPORT|VISIBLE|PROTECTED|HIDDEN) ":"
#include "compiler/parser.h"

namespace pv {

void Parser::classDecl(ModuleAst& mod) {
  if (peek().upper == "CREATE") take();
  Token first = take();  // CLASS
  ClassDecl cls;
  cls.pos = first.pos;
  cls.name = expectIdent("a class name");
  if (kwAt(0, "FROM") || kwAt(0, "INHERIT")) {
    take();
    do {
      cls.parents.push_back(expectIdent("a parent class name"));
    } while (accept(","));
  }
  if (kwAt(0, "STATIC")) {
    take();
    cls.isStatic = true;
  }
  expectEol();
  currentClass_ = upperName(cls.name);
  for (;;) {
    while (peek().kind == Tok::Eol) take();
    if (peek().kind == Tok::End || (!kwAt(0, "METHOD") && startsProcedure())) {
      diags_.error(first.pos, "CLASS " + cls.name + " without ENDCLASS");
      break;
    }
    if (kwAt(0, "ENDCLASS") || (peek().upper == "END" && !peek(1).is(":="))) {
      take();
      while (!atEol()) take();
      take();
      break;
    }
    try {
      classMember(cls);
    } catch (const Error&) {
      skipLine();
    }
  }
  mod.classes.push_back(std::move(cls));
}

void Parser::classMember(ClassDecl& cls) {
  Token first = take();
  ClassMember m;
  m.pos = first.pos;
  if (first.kind == Tok::Ident && peek().is(":") &&
      (kw(first, "EXPORTED") || first.upper == "EXPORT" || kw(first, "VISIBLE") ||
       kw(first, "PROTECTED") || kw(first, "HIDDEN"))) {
    take();
    expectEol();
    return;
  }
  auto typeAndScope = [&]() {
    for (;;) {
      if (kwAt(0, "INIT")) {
        take();
        m.init = expr();
      } else if (kwAt(0, "AS")) {
        take();
        m.type = expectIdent("a type name");
        while (peek().kind == Tok::Ident && (kwAt(0, "OF") || kwAt(0, "CLASS"))) {
          take();
          expectIdent("a class name");
        }
      } else if (kwAt(0, "EXPORTED") || kwAt(0, "PROTECTED") || kwAt(0, "HIDDEN") ||
                 kwAt(0, "READONLY") || kwAt(0, "PERSISTENT") || kwAt(0, "SHARED")) {
        take();
      } else {
        return;
      }
    }
  };
  bool data = first.upper == "DATA" || first.upper == "VAR";
  bool classData = first.upper == "CLASSDATA" || first.upper == "CLASSVAR";
  if (data || classData) {
    std::vector<std::pair<std::string, SourcePos>> names;
    do {
      SourcePos p = peek().pos;
      names.emplace_back(expectIdent("an instance variable name"), p);
    } while (accept(","));
    typeAndScope();
    expectEol();
    for (auto& [name, p] : names) {
      ClassMember d;
      d.kind = classData ? ClassMember::ClassData : ClassMember::Data;
      d.name = name;
      d.pos = p;
      d.type = m.type;
      if (m.init) d.init = cloneExpr(*m.init);
      cls.members.push_back(std::move(d));
    }
    return;
  }
  if (kw(first, "METHOD")) {
    m.kind = ClassMember::Method;
    m.name = expectIdent("a method name");
    m.params = paramList(false);
    while (!atEol()) {
      if (kwAt(0, "CONSTRUCTOR")) {
        take();
        m.constructor = true;
      } else if (kwAt(0, "INLINE")) {
        take();
        m.kind = ClassMember::Inline;
        m.inlineExpr = expr();
      } else if (kwAt(0, "VIRTUAL") || kwAt(0, "DEFERRED")) {
        take();
        m.kind = ClassMember::Virtual;
      } else if (kwAt(0, "AS")) {
        take();
        expectIdent("a type name");
      } else if (kwAt(0, "EXPORTED") || kwAt(0, "PROTECTED") || kwAt(0, "HIDDEN") ||
                 kwAt(0, "SETGET")) {
        take();
      } else {
        failHere("expected CONSTRUCTOR, INLINE or VIRTUAL");
      }
    }
    expectEol();
    cls.members.push_back(std::move(m));
    return;
  }
  if ((kw(first, "ERROR") && kwAt(0, "HANDLER")) || kw(first, "DESTRUCTOR")) {
    m.kind = kw(first, "DESTRUCTOR") ? ClassMember::Destructor : ClassMember::ErrorHandler;
    if (m.kind == ClassMember::ErrorHandler) take();
    m.name = expectIdent("a method name");
    m.params = paramList(false);
    expectEol();
    cls.members.push_back(std::move(m));
    return;
  }
  if (kw(first, "OPERATOR")) {
    m.kind = ClassMember::Operator;
    if (peek().kind != Tok::String) failHere("expected the operator as a string");
    m.name = take().text;
    if (kwAt(0, "ARG")) {
      take();
      do {
        m.params.push_back(expectIdent("an argument name"));
      } while (accept(","));
    }
    if (!kwAt(0, "INLINE")) failHere("expected INLINE");
    take();
    m.inlineExpr = expr();
    expectEol();
    cls.members.push_back(std::move(m));
    return;
  }
  fail(first.pos, "unexpected '" + first.text + "' in class " + cls.name);
}

}  // namespace pv
