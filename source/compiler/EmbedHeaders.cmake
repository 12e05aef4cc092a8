# Writes OUT, a C++ source holding the text of every .ch file in DIR, for builtInHeader().
# Run as a script: cmake -DDIR=... -DOUT=... -P EmbedHeaders.cmake
file(GLOB headers ${DIR}/*.ch)
list(SORT headers)
set(body "// Generated from source/compiler/include by EmbedHeaders.cmake; do not edit.\n")
string(APPEND body "#include <cctype>\n#include <cstring>\n\n#include \"compiler/builtin_headers.h\"\n\n")
string(APPEND body "namespace pv {\n\nnamespace {\n\nstruct Header {\n  const char* name;\n  const char* text;\n};\n\n")
string(APPEND body "const Header kHeaders[] = {\n")
foreach(h IN LISTS headers)
  get_filename_component(name ${h} NAME)
  string(TOLOWER ${name} name)
  file(READ ${h} text)
  string(APPEND body "    {\"${name}\", R\"pvheader(${text})pvheader\"},\n")
endforeach()
string(APPEND body "};\n\n}  // namespace\n\n")
string(APPEND body [=[
const char* builtInHeader(const std::string& name) {
  size_t slash = name.find_last_of("/\\");
  std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
  for (char& c : base) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Header& h : kHeaders)
    if (base == h.name) return h.text;
  return nullptr;
}

}  // namespace pv
]=])
file(WRITE ${OUT}.tmp "${body}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
