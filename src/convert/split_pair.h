// The split of a line into a key and a value at a separator.
#pragma once

#include <optional>
#include <string_view>

namespace stpconv {

struct Pair {
  std::string_view pairKey;
  std::string_view pairValue;
};

/// Splits `line` at the first `separator`. There is a pair only when at least
/// two characters stand before it and it is not the line's last character;
/// later separators are never tried. The value ends before the line's last
/// character, which is dropped whatever it is.
[[nodiscard]] std::optional<Pair> splitPair(std::string_view line, char separator);

}  // namespace stpconv
