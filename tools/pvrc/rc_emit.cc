// Writing the generated registration source.
#include "rc_emit.h"

#include <cstdio>

namespace pv::rc {

std::string emitSource(const std::vector<DialogResource>& resources, const std::string& scriptName) {
  std::string out = "// Dialog templates compiled by pvrc from " + scriptName + ". Generated; do not edit.\n";
  out += "#include \"win32/resources.h\"\n\nnamespace {\n\n";
  for (size_t i = 0; i < resources.size(); ++i) {
    std::vector<unsigned char> bytes = pv::win32::writeDialogTemplate(resources[i].dialog);
    out += "const unsigned char kDialog" + std::to_string(i) + "[] = {";
    for (size_t k = 0; k < bytes.size(); ++k) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%s0x%02X,", k % 16 ? " " : "\n    ", bytes[k]);
      out += hex;
    }
    out += "\n};\n\n";
  }
  out += "const bool kRegistered = [] {\n";
  for (size_t i = 0; i < resources.size(); ++i) {
    const DialogResource& r = resources[i];
    std::string name = r.name.empty() ? "nullptr" : "\"" + r.name + "\"";
    out += "  pv::win32::registerDialogResource(" + name + ", " + std::to_string(r.id) + ", " +
           std::to_string(r.language) + ", kDialog" + std::to_string(i) + ", sizeof kDialog" + std::to_string(i) +
           ");\n";
  }
  out += "  return true;\n}();\n\n}  // namespace\n";
  return out;
}

}  // namespace pv::rc
