#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace statvane {

inline constexpr const char* kNotSelected = "Not Selected";

// The general floating format: at most 15 significant digits, no trailing
// zeros or separator, "." as the decimal separator, and the exponent form
// (E, a minus sign only when negative, no leading zeros) for values of 1E15
// and more or below 0.00001.
std::string formatGeneral(long double value);

// A count's share of a total as a percentage in the general format; "" when
// the total is 0.
std::string percentText(std::int64_t count, std::int64_t total);

// The display text of one figure: an absent figure shows "Not Selected".
std::string figureText(std::int32_t value);
std::string figureText(std::optional<std::int32_t> value);
std::string figureText(std::optional<double> value);

} // namespace statvane
