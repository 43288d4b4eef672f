#pragma once
// The few pieces of JSON the commands write: strings and numbers.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fzl::tool {

/// S as a JSON string; bytes that are not UTF-8 become U+FFFD.
[[nodiscard]] std::string JsonString(std::string_view S);
/// The shortest text that reads back as the same double; null for infinities and NaN.
[[nodiscard]] std::string JsonNumber(double Value);
/// [[x,y],...]
[[nodiscard]] std::string JsonPoints(const std::vector<std::pair<double, double>>& Points);

}  // namespace fzl::tool
