// Choosing the conversion rule from the input file's name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace stpconv {

enum class FileType { Ztp = 0, Wtw = 1, Typ = 2, Csv = 3 };

struct FileTypeDetection {
  std::optional<FileType> type;     // none when the extension names no type
  std::string extension;            // the bytes after the last '.', upper-cased
  std::size_t extensionLength = 0;  // bytes from the last '.' to the end, dot included
};

/// Takes the type from the extension of `inputFileName`, in any letter case.
/// Only the name decides; directory separators are ordinary bytes.
[[nodiscard]] FileTypeDetection detectFileType(std::string_view inputFileName);

/// The output file's name: `inputFileName` without its last
/// `extensionLength` bytes, followed by ".stp".
[[nodiscard]] std::string makeOutputName(std::string_view inputFileName, std::size_t extensionLength);

}  // namespace stpconv
