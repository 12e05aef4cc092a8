// State and helpers shared by the file functions: the FERROR code and folder listings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The Windows-style code of the last file function (0 after a success).
int pv_rtlFError();
void pv_rtlSetFError(int code);

// One entry of a folder listing.
struct PvDirEntry {
  std::string name;      // the name as it is on disk
  uint64_t size = 0;
  long julian = 0;       // modification date
  long millis = 0;       // modification time of day
  bool folder = false;
  bool readOnly = false;
  bool hidden = false;   // the name starts with '.'
};

// The attribute letters of an entry as the listings show them: "D" (folder) or "A", then "R"
// when it is read-only and "H" when it is hidden.
inline std::string pv_rtlAttributeText(const PvDirEntry& e) {
  std::string attr = e.folder ? "D" : "A";
  if (e.readOnly) attr += 'R';
  if (e.hidden) attr += 'H';
  return attr;
}

// The entries of the folder part of `spec` whose names match its mask ('*' and '?', letter
// case ignored; "*.*" matches every name); "." and ".." are left out. The folder part may use
// '\' or '/' and is found without regard to letter case.
std::vector<PvDirEntry> pv_rtlListFolder(const std::string& spec);
