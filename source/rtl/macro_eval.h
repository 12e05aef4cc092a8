// Expression texts evaluated by the language functions (TYPE and the get/set block makers)
// through the macro compiler the machine was given.
#pragma once

#include <string>

#include "item.h"

// Compiles `text` and runs it in the running frame; its value goes into `dest`. False, with
// nothing run, when no compiler is linked in or the text does not compile. A run that an error
// abandons leaves `dest` NIL and the machine's break request set.
bool pv_rtlEvalText(const std::string& text, PV_ITEM dest);

// Whether `text` (blanks around it allowed) is a plain name: a letter or '_', then letters,
// digits and '_'. Such a name may be written into an expression text without changing it.
bool pv_rtlIsPlainName(const std::string& text);

// The text with its blanks around cut and letters upper-cased.
std::string pv_rtlUpperTrim(const std::string& text);
