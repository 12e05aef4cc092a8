// Reading UI scripts into steps, with the argument checks each verb needs.
#include "uiscript_parse.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace pv::gui::uiscript {

namespace {

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::vector<std::string> splitWords(const std::string& s) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i >= s.size()) break;
    std::string word;
    if (s[i] == '"') {
      size_t close = s.find('"', i + 1);
      if (close == std::string::npos) close = s.size();
      word = s.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) word += s[i++];
    }
    words.push_back(word);
  }
  return words;
}

bool isNumber(const std::string& s) {
  if (s.empty()) return false;
  char* end = nullptr;
  std::strtod(s.c_str(), &end);
  return end && *end == '\0';
}

// Each verb with the least and most number of words it takes (-1: any) and whether its
// arguments must be numbers.
struct Shape {
  int least, most;
  bool numeric;
};

const std::map<std::string, Shape>& shapes() {
  static const std::map<std::string, Shape> s = {
      {"wait", {1, -1, false}},   {"closed", {1, -1, false}}, {"done", {1, -1, false}},
      {"click", {1, 1, true}},    {"press", {1, -1, false}},  {"key", {1, 1, false}},
      {"header", {2, 2, true}},   {"cell", {3, 3, true}},     {"box", {1, 1, false}},
      {"grab", {1, 1, false}},    {"sleep", {1, 1, true}},    {"echo", {0, -1, false}},
  };
  return s;
}

std::string checkStep(const Step& st) {
  auto it = shapes().find(st.verb);
  if (it == shapes().end()) return "unknown step \"" + st.verb + "\"";
  const Shape& shape = it->second;
  int n = static_cast<int>(st.words.size());
  if (n < shape.least || (shape.most >= 0 && n > shape.most)) return "wrong number of arguments for " + st.verb;
  if (shape.numeric)
    for (const std::string& w : st.words)
      if (!isNumber(w)) return st.verb + ": \"" + w + "\" is not a number";
  return "";
}

}  // namespace

bool parseScript(const std::string& text, std::vector<Step>& steps, std::string& error) {
  std::istringstream in(text);
  std::string raw;
  int line = 0;
  while (std::getline(in, raw)) {
    ++line;
    std::string s = trim(raw);
    if (s.empty() || s[0] == '#') continue;
    Step st;
    st.line = line;
    st.source = s;
    size_t space = s.find_first_of(" \t");
    st.verb = s.substr(0, space);
    for (char& c : st.verb) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    st.rest = space == std::string::npos ? "" : trim(s.substr(space));
    st.words = splitWords(st.rest);
    std::string problem = checkStep(st);
    if (!problem.empty()) {
      error = "line " + std::to_string(line) + ": " + problem;
      return false;
    }
    steps.push_back(std::move(st));
  }
  return true;
}

void textAndSeconds(const Step& step, std::string& text, double& seconds, double defaultSeconds) {
  std::vector<std::string> words = step.words;
  seconds = defaultSeconds;
  if (words.size() > 1 && isNumber(words.back())) {
    seconds = std::strtod(words.back().c_str(), nullptr);
    words.pop_back();
  }
  text.clear();
  for (const std::string& w : words) text += (text.empty() ? "" : " ") + w;
}

}  // namespace pv::gui::uiscript
