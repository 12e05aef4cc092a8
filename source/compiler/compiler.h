// The compiler's entry points: a whole module from source text or a file, and a single
// expression (the front end shared by key expressions and the macro operator).
//
// Example:
//   pv::CompileOptions options;
//   pv::CompileResult r = pv::compileFile("app/main.prg", options);
//   if (!r.ok) std::cerr << r.diags.text();
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "compiler/ast.h"
#include "compiler/codegen.h"
#include "compiler/compiled_module.h"
#include "compiler/diagnostics.h"
#include "compiler/preprocessor.h"

namespace pv {

struct CompileOptions {
  std::vector<std::string> includePaths;  // searched after the including file's folder
  bool standardHeader = true;             // read std.ch (the standard commands) first
  std::vector<std::pair<std::string, std::string>> defines;  // -D name=value
  CodegenOptions codegen;
  FileReader reader = readFileFromDisk;
};

struct CompileResult {
  bool ok = false;  // no errors; `module` is complete
  CompiledModule module;
  Diagnostics diags;
};

// Compiles source text; `fileName` names the module (and the file in messages and #include).
CompileResult compileSource(const std::string& fileName, const std::string& text,
                            const CompileOptions& options);
// Reads and compiles a file; an unreadable file is an error of the result.
CompileResult compileFile(const std::string& path, const CompileOptions& options);

// The source after preprocessing: one statement a line, each on the line it started on in the
// main file where that can be kept. Errors go to `diags`.
std::string preprocessSource(const std::string& fileName, const std::string& text,
                             const CompileOptions& options, Diagnostics& diags);

// Parses one expression (no preprocessing beyond what the lexer does). Null on a syntax error,
// with the messages in `diags`.
ExprPtr parseExpression(const std::string& text, Diagnostics& diags);

}  // namespace pv
