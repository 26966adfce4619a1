// Output lines in the byte form in which they leave the tool.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace stpconv {

/// Converted lines, in order, already in their byte form: the LF that ends
/// each line is stored as CR LF, and every other character as its own byte.
/// The file and the console echo both receive exactly these bytes.
class EncodedLines {
 public:
  /// Appends one line made of `pieces` followed by the line end. No piece
  /// holds an LF: pieces come from input lines, which are split at LF.
  void appendLine(std::initializer_list<std::string_view> pieces) {
    for (std::string_view piece : pieces) bytes_.append(piece);
    bytes_.append(kLineEnd);
  }
  void clear() { bytes_.clear(); }
  [[nodiscard]] bool empty() const { return bytes_.empty(); }
  [[nodiscard]] std::string_view bytes() const { return bytes_; }

  static constexpr std::string_view kLineEnd = "\r\n";

 private:
  std::string bytes_;
};

}  // namespace stpconv
