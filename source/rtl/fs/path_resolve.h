// File names as the language writes them, turned into paths that exist on this system.
//
// Programs build names with '\' (and sometimes '/'); both separate folders here. When a name
// does not exist as written, each component is looked up in its folder without regard to ASCII
// letter case, so "PRODUCT.DBF" finds "product.dbf". The first match in folder order wins.
#pragma once

#include <string>
#include <string_view>

namespace pv {

// Replaces every '\' with '/'.
std::string NormalizeSeparators(std::string_view path);

// The existing path that `path` names, component by component; components that match nothing
// (a file about to be created, a missing folder) are kept as written.
std::string ResolvePath(std::string_view path);

// Whether the folder part of `path` (after resolution) exists; "" counts as the current folder.
bool ParentFolderExists(std::string_view resolved_path);

}  // namespace pv
