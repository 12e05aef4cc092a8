// The compiler's entry points.
#include "compiler/compiler.h"

#include "compiler/parser.h"

namespace pv {

namespace {

std::string implicitProcedureName(const std::string& fileName) {
  size_t slash = fileName.find_last_of("/\\");
  std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  size_t dot = base.find('.');
  if (dot != std::string::npos) base.resize(dot);
  return base.empty() ? "MAIN" : upperName(base);
}

}  // namespace

CompileResult compileSource(const std::string& fileName, const std::string& text,
                            const CompileOptions& options) {
  CompileResult result;
  Preprocessor pp(result.diags, options.includePaths, options.reader);
  pp.start(fileName, text);
  for (const auto& [name, value] : options.defines) pp.define(name, value);
  Parser parser(pp, result.diags);
  ModuleAst ast = parser.parseModule(implicitProcedureName(fileName));
  result.module = generateModule(ast, fileName, options.codegen, result.diags);
  result.ok = !result.diags.hasErrors();
  return result;
}

CompileResult compileFile(const std::string& path, const CompileOptions& options) {
  std::string text;
  if (!options.reader(path, text)) {
    CompileResult result;
    int file = result.diags.addFile(path);
    result.diags.error({file, 0, 0}, "cannot read source file");
    return result;
  }
  return compileSource(path, text, options);
}

ExprPtr parseExpression(const std::string& text, Diagnostics& diags) {
  Preprocessor pp(diags, {}, [](const std::string&, std::string&) { return false; });
  pp.start("(expression)", text);
  Parser parser(pp, diags);
  ExprPtr e = parser.parseExpressionOnly();
  return diags.hasErrors() ? nullptr : std::move(e);
}

}  // namespace pv
