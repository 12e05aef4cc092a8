// The C++ source pvrc writes: each dialog's template bytes and a start-up registration.
#pragma once

#include <string>
#include <vector>

#include "rc_parser.h"

namespace pv::rc {

std::string emitSource(const std::vector<DialogResource>& resources, const std::string& scriptName);

}  // namespace pv::rc
