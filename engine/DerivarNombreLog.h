// The error log's path for an input path.
#pragma once

#include <string>
#include <string_view>

namespace motor {

// Same folder and name, extension ".log".
std::string DerivarNombreLog(std::string_view entrada);

} // namespace motor
