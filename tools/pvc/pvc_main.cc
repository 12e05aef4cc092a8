// pvc: the module compiler's command line.
//
//   pvc [options] FILE.prg...
//     -o OUT        output file (one input only); default: FILE.prg.cc beside the input
//     -I DIR        add an include folder for #include
//     -D NAME[=V]   define a macro
//     --no-first    no "first" procedure (library modules)
//     --list        print the symbol table and bytecode listing instead of writing C++
//     -P            print the preprocessed source (what the commands became) instead
//     --no-std      do not read the standard header std.ch first
//     --depfile F   with -o: write a make-style dependency file (the source and its includes)
//
// Only the first file's first procedure is the start candidate. Exit code 1 when any file has
// errors; every error is listed as file(line:col): error: message.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "compiler/cpp_writer.h"
#include "compiler/disassembler.h"

namespace {

int usage() {
  std::cerr << "usage: pvc [-o out.cc] [-I dir] [-D name[=value]] [--no-first] [--list] [-P] "
               "[--no-std] file.prg...\n";
  return 2;
}

// -P: the preprocessed text on standard output, errors on standard error.
int printPreprocessed(const std::string& file, const pv::CompileOptions& options) {
  pv::Diagnostics diags;
  std::string text;
  if (!options.reader(file, text)) {
    std::cerr << file << ": cannot read source file\n";
    return 1;
  }
  std::cout << pv::preprocessSource(file, text, options, diags);
  if (!diags.hasErrors()) return 0;
  std::cerr << diags.text();
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  pv::CompileOptions options;
  std::vector<std::string> files;
  std::string output;
  std::string depfile;
  bool list = false;
  bool preprocessOnly = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (arg.size() > 2 && arg[0] == '-' && arg[1] != '-') return arg.substr(2);
      if (i + 1 >= argc) return {};
      return argv[++i];
    };
    if (arg == "--list") {
      list = true;
    } else if (arg == "-P") {
      preprocessOnly = true;
    } else if (arg == "--no-std") {
      options.standardHeader = false;
    } else if (arg == "--depfile") {
      if (i + 1 >= argc) return usage();
      depfile = argv[++i];
    } else if (arg == "--no-first") {
      options.codegen.markFirst = false;
    } else if (arg.rfind("-o", 0) == 0) {
      output = value();
    } else if (arg.rfind("-I", 0) == 0) {
      options.includePaths.push_back(value());
    } else if (arg.rfind("-D", 0) == 0) {
      std::string def = value();
      size_t eq = def.find('=');
      options.defines.emplace_back(def.substr(0, eq),
                                   eq == std::string::npos ? "1" : def.substr(eq + 1));
    } else if (!arg.empty() && arg[0] == '-') {
      return usage();
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty() || (!output.empty() && files.size() > 1) || (!depfile.empty() && output.empty()))
    return usage();
  int status = 0;
  for (const std::string& file : files) {
    if (preprocessOnly) {
      status = std::max(status, printPreprocessed(file, options));
      continue;
    }
    pv::CompileResult r = pv::compileFile(file, options);
    options.codegen.markFirst = false;  // only the main file has the start candidate
    if (!r.ok) {
      std::cerr << r.diags.text();
      status = 1;
      continue;
    }
    if (list) {
      std::cout << pv::listModule(r.module);
      continue;
    }
    std::string out = output.empty() ? file + ".cc" : output;
    std::ofstream os(out, std::ios::binary);
    os << pv::writeModuleCpp(r.module);
    if (!os) {
      std::cerr << out << ": cannot write\n";
      status = 1;
    }
    if (!depfile.empty()) {
      std::ofstream dep(depfile);
      dep << out << ":";
      for (const std::string& f : r.diags.files())
        if (f.empty() || f[0] != '<') dep << " " << f;  // not the built-in headers
      dep << "\n";
    }
  }
  return status;
}
