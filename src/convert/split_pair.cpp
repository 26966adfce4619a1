#include "convert/split_pair.h"

namespace stpconv {

std::optional<Pair> splitPair(std::string_view line, char separator) {
  const std::size_t p = line.find(separator);
  if (p == std::string_view::npos || p < 2 || p + 1 == line.size()) return std::nullopt;
  // p + 2 <= size here, so the value may be empty but never runs past the line.
  return Pair{line.substr(0, p), line.substr(p + 1, line.size() - p - 2)};
}

}  // namespace stpconv
