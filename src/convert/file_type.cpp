#include "convert/file_type.h"

namespace stpconv {
namespace {

// Upper-cases as the C locale does: only a-z change, whatever the user's locale.
char toUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::optional<FileType> typeOfExtension(std::string_view extension) {
  if (extension == "ZTP") return FileType::Ztp;
  if (extension == "WTW") return FileType::Wtw;
  if (extension == "TYP") return FileType::Typ;
  if (extension == "CSV") return FileType::Csv;
  return std::nullopt;
}

}  // namespace

FileTypeDetection detectFileType(std::string_view inputFileName) {
  FileTypeDetection detection;
  const std::size_t dot = inputFileName.rfind('.');
  if (dot == std::string_view::npos) return detection;
  detection.extensionLength = inputFileName.size() - dot;
  for (char c : inputFileName.substr(dot + 1)) detection.extension.push_back(toUpperAscii(c));
  detection.type = typeOfExtension(detection.extension);
  return detection;
}

std::string makeOutputName(std::string_view inputFileName, std::size_t extensionLength) {
  std::string outputName(inputFileName.substr(0, inputFileName.size() - extensionLength));
  outputName += ".stp";
  return outputName;
}

}  // namespace stpconv
