// What the sources say about a language function: the file that registers it and the one-line
// purpose from its comment.
//
// The purpose comes from, in this order: a comment line "// NAME( arguments ): purpose" in the
// registering file (the text after the colon, up to the end of its first sentence, continued
// over the following comment lines); the comment right above "PV_FUN_NAME("; the first line
// of the file's header comment.
#pragma once

#include <map>
#include <string>
#include <vector>

struct FunctionNote {
  std::string file;       // relative to the source root
  std::string signature;  // "NAME( arguments )" when the comment gives one
  std::string purpose;
};

class SourceNotes {
 public:
  // Reads every C++ source under the given folders of `root`.
  SourceNotes(const std::string& root, const std::vector<std::string>& folders);
  FunctionNote lookup(const std::string& name) const;

 private:
  std::map<std::string, std::vector<std::string>> files_;  // relative path -> lines
};
