#include "convert/file_type.h"

#include <gtest/gtest.h>

namespace stpconv {
namespace {

TEST(DetectFileType, ExtensionInAnyCaseChoosesTheType) {
  struct Case {
    std::string_view name;
    std::optional<FileType> type;
    std::string_view extension;
    std::size_t extensionLength;
  };
  const Case cases[] = {
      {"data.csv", FileType::Csv, "CSV", 4},
      {"Data.Typ", FileType::Typ, "TYP", 4},
      {"a.b.wtw", FileType::Wtw, "WTW", 4},
      {"LOG.ZTP", FileType::Ztp, "ZTP", 4},
      {".csv", FileType::Csv, "CSV", 4},
      {"data.csv.bak", std::nullopt, "BAK", 4},
      {"data.cs", std::nullopt, "CS", 3},
      {"data.csvx", std::nullopt, "CSVX", 5},
      {"data.", std::nullopt, "", 1},
      {"data", std::nullopt, "", 0},
      {"old.dir/data", std::nullopt, "DIR/DATA", 9},     // separators are ordinary bytes
      {"old.dir\\data", std::nullopt, "DIR\\DATA", 9},
      {"x.\xE9t\xE9", std::nullopt, "\xE9T\xE9", 4},  // only a-z change case
  };
  for (const auto& c : cases) {
    const FileTypeDetection d = detectFileType(c.name);
    EXPECT_EQ(c.type, d.type) << c.name;
    EXPECT_EQ(c.extension, d.extension) << c.name;
    EXPECT_EQ(c.extensionLength, d.extensionLength) << c.name;
  }
}

TEST(MakeOutputName, ReplacesTheExtensionWithLowerCaseStp) {
  struct Case {
    std::string_view input, output;
  };
  const Case cases[] = {
      {"report.csv", "report.stp"}, {"LOG.ZTP", "LOG.stp"}, {"a.b.TyP", "a.b.stp"},
      {".wtw", ".stp"},             {"../data.old/in.Csv", "../data.old/in.stp"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.output, makeOutputName(c.input, detectFileType(c.input).extensionLength)) << c.input;
  }
}

}  // namespace
}  // namespace stpconv
