#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace statvane {

// A port given as a number ("2525") or as a TCP service name ("smtp"); none
// when it is neither a port number nor a known service.
std::optional<std::uint16_t> servicePort(const std::string& port);

} // namespace statvane
