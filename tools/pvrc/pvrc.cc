// pvrc SCRIPT.rc -o OUTPUT.cc: compiles the dialogs of a resource script into a C++ source
// that registers their templates when the program starts.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "rc_emit.h"
#include "rc_parser.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[2]) != "-o") {
    std::cerr << "usage: pvrc SCRIPT.rc -o OUTPUT.cc\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << argv[1] << ": cannot be read\n";
    return 1;
  }
  std::stringstream source;
  source << in.rdbuf();
  std::filesystem::path script(argv[1]);
  std::vector<pv::rc::DialogResource> resources;
  std::string error;
  if (!pv::rc::parseScript(source.str(), script.parent_path().string(), resources, error)) {
    std::cerr << argv[1] << ": " << error << "\n";
    return 1;
  }
  std::ofstream out(argv[3], std::ios::binary);
  out << pv::rc::emitSource(resources, script.filename().string());
  if (!out) {
    std::cerr << argv[3] << ": cannot be written\n";
    return 1;
  }
  return 0;
}
