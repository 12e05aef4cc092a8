// The macro compiler: text compiled at run time (the & operator, key and FOR expressions) to
// bytecode that names functions, messages, fields and variables by dynamic-symbol address (the
// M... opcodes) instead of a module symbol table.
//
// Macro code is the expression's code followed by ENDPROC; it has no FRAME and runs in the
// frame of whoever runs it:
//   Value      -> the expression's value is left on the stack
//   Assign     value -> ; the value on the stack is stored into the expression (a variable,
//              aliased name, element or macro)
//   Reference  -> a reference to the variable the expression names
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pv {

enum class MacroMode : uint8_t { Value, Assign, Reference };

// Returns the dynamic symbol of an upper-case name, creating it when needed.
using MacroSymbolFn = std::function<const void*(const std::string& upperName)>;

// Compiles `text`. On a syntax error (or a form a macro cannot hold) returns false with the
// message in `error` and leaves `code` empty. Never throws, whatever the text.
bool compileMacro(const std::string& text, MacroMode mode, const MacroSymbolFn& symbols,
                  std::vector<uint8_t>& code, std::string* error = nullptr);

}  // namespace pv
