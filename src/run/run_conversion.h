// The whole life of one conversion.
#pragma once

#include <span>
#include <string>

namespace stpconv {

/// Converts the file named by the first argument, or by the name typed at
/// the prompt when there is none. Failures are reported on the console and
/// followed by the closing wait. Always yields the exit status 0.
[[nodiscard]] int runConversion(std::span<const std::string> arguments);

}  // namespace stpconv
