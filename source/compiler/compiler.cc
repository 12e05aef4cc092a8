// The compiler's entry points.
#include "compiler/compiler.h"

#include <cstdlib>

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

// The include folders: the options' first, then those of PV_INCLUDE (separated by ':').
std::vector<std::string> includeFolders(const CompileOptions& options) {
  std::vector<std::string> dirs = options.includePaths;
  const char* env = std::getenv("PV_INCLUDE");
  for (std::string rest = env ? env : ""; !rest.empty();) {
    size_t colon = rest.find(':');
    if (colon) dirs.push_back(rest.substr(0, colon));
    rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
  }
  return dirs;
}

void startPreprocessor(Preprocessor& pp, const std::string& fileName, const std::string& text,
                       const CompileOptions& options) {
  pp.start(fileName, text);
  for (const auto& [name, value] : options.defines) pp.define(name, value);
  if (options.standardHeader) pp.includeFirst("std.ch");
}

}  // namespace

CompileResult compileSource(const std::string& fileName, const std::string& text,
                            const CompileOptions& options) {
  CompileResult result;
  Preprocessor pp(result.diags, includeFolders(options), options.reader);
  startPreprocessor(pp, fileName, text, options);
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

std::string preprocessSource(const std::string& fileName, const std::string& text,
                             const CompileOptions& options, Diagnostics& diags) {
  Preprocessor pp(diags, includeFolders(options), options.reader);
  startPreprocessor(pp, fileName, text, options);
  std::string out;
  std::vector<Token> statement;
  int line = 1;
  for (Token t = pp.next(); t.kind != Tok::End; t = pp.next()) {
    if (t.kind != Tok::Eol) {
      statement.push_back(std::move(t));
      continue;
    }
    if (statement.empty()) continue;
    const SourcePos& at = statement.front().pos;
    if (at.file == 0)
      for (; line < at.line; ++line) out += '\n';
    out += tokensText(statement) + '\n';
    ++line;
    statement.clear();
  }
  return out;
}

ExprPtr parseExpression(const std::string& text, Diagnostics& diags) {
  Preprocessor pp(diags, {}, [](const std::string&, std::string&) { return false; });
  pp.start("(expression)", text);
  Parser parser(pp, diags);
  ExprPtr e = parser.parseExpressionOnly();
  return diags.hasErrors() ? nullptr : std::move(e);
}

}  // namespace pv
