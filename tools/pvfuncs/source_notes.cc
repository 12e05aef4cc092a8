// Reading function notes from the sources (see source_notes.h).
#include "source_notes.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

bool isComment(const std::string& line) { return line.find_first_not_of(' ') != std::string::npos &&
                                                 line.compare(line.find_first_not_of(' '), 2, "//") == 0; }

std::string commentText(const std::string& line) {
  size_t at = line.find("//") + 2;
  size_t first = line.find_first_not_of(' ', at);
  return first == std::string::npos ? "" : line.substr(first);
}

// The comment text from line i on, joined over the following comment lines, cut after its first
// sentence.
std::string sentenceFrom(const std::vector<std::string>& lines, size_t i, std::string text) {
  for (size_t j = i + 1; j < lines.size() && isComment(lines[j]); ++j) {
    if (text.find(". ") != std::string::npos || (!text.empty() && text.back() == '.')) break;
    std::string more = commentText(lines[j]);
    if (more.find("( ") != std::string::npos && more.find("):") != std::string::npos) break;
    text += " " + more;
  }
  size_t stop = text.find(". ");
  if (stop != std::string::npos) text.resize(stop + 1);
  return text;
}

bool isSource(const fs::path& p) {
  std::string e = p.extension().string();
  return e == ".cc" || e == ".h";
}

}  // namespace

SourceNotes::SourceNotes(const std::string& root, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    fs::path dir = fs::path(root) / folder;
    if (!fs::exists(dir)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      if (!entry.is_regular_file() || !isSource(entry.path())) continue;
      std::ifstream in(entry.path());
      std::vector<std::string>& lines = files_[fs::relative(entry.path(), root).string()];
      for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
  }
}

namespace {

using Lines = std::vector<std::string>;

// Whether one of the lines registers `name` in a symbol table.
bool registers(const Lines& lines, const std::string& name) {
  const std::string quoted = "\"" + name + "\",";
  for (const std::string& line : lines)
    if (line.find(quoted) != std::string::npos &&
        (line.find("PV_FUN_") != std::string::npos || line.find("PV_FS_") != std::string::npos))
      return true;
  return false;
}

// From a comment line that begins "NAME( arguments ): purpose".
void fromSignatureLine(const Lines& lines, const std::string& name, FunctionNote* note) {
  for (size_t i = 0; i < lines.size() && note->purpose.empty(); ++i) {
    std::string text = isComment(lines[i]) ? commentText(lines[i]) : "";
    if (text.compare(0, name.size() + 1, name + "(") != 0) continue;
    size_t close = text.find(')');
    note->signature = text.substr(0, close + 1);
    bool colon = close != std::string::npos && text.compare(close + 1, 2, ": ") == 0;
    note->purpose = sentenceFrom(lines, i, colon ? text.substr(close + 3) : text);
  }
}

// From a comment line that names "NAME(" among others.
void fromMention(const Lines& lines, const std::string& name, FunctionNote* note) {
  for (size_t i = 0; i < lines.size() && note->purpose.empty(); ++i)
    if (isComment(lines[i]) && commentText(lines[i]).find(" " + name + "(") != std::string::npos)
      note->purpose = sentenceFrom(lines, i, commentText(lines[i]));
}

// From the comment right above the function's definition.
void fromDefinition(const Lines& lines, const std::string& name, FunctionNote* note) {
  for (size_t i = 1; i < lines.size() && note->purpose.empty(); ++i) {
    if (lines[i].find("PV_FUN_" + name + "()") == std::string::npos || !isComment(lines[i - 1])) continue;
    size_t top = i - 1;
    while (top > 0 && isComment(lines[top - 1])) --top;
    note->purpose = sentenceFrom(lines, top, commentText(lines[top]));
  }
}

}  // namespace

FunctionNote SourceNotes::lookup(const std::string& name) const {
  FunctionNote note;
  for (const auto& [file, lines] : files_) {
    if (!registers(lines, name)) continue;
    note.file = file;
    fromSignatureLine(lines, name, &note);
    fromMention(lines, name, &note);
    fromDefinition(lines, name, &note);
    if (note.purpose.empty() && !lines.empty() && isComment(lines[0]))
      note.purpose = sentenceFrom(lines, 0, commentText(lines[0]));
    break;
  }
  return note;
}
