// The UI script language: one step a line, `#` starts a comment, words separated by blanks,
// a word in double quotes may hold blanks. See the README ("Driving dialogs with a UI script").
#pragma once

#include <string>
#include <vector>

namespace pv::gui::uiscript {

struct Step {
  int line = 0;
  std::string source;               // the line as written, without comment and outer blanks
  std::string verb;                 // lower case
  std::vector<std::string> words;   // the arguments, quotes removed
  std::string rest;                 // everything after the verb, as written
};

// Splits a script into steps; a line with an unknown verb or missing arguments gives false and
// "line N: ..." in `error`.
bool parseScript(const std::string& text, std::vector<Step>& steps, std::string& error);

// A text argument followed by an optional number of seconds ("wait TEXT [SECONDS]"): the text
// is every word but a trailing number.
void textAndSeconds(const Step& step, std::string& text, double& seconds, double defaultSeconds);

}  // namespace pv::gui::uiscript
