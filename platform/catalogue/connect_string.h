// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace tessaro::catalogue {

// The PWD entry of a DAO connect text (";PWD=secret;"): keys are case-blind, the value
// runs to the next ';' and keeps its letter case. No PWD entry gives "".
std::string connectPassword(std::string_view connect);

}  // namespace tessaro::catalogue
