// An input of more than 4 GiB, made at run time: it converts right and the
// program's memory does not grow with it (no 32-bit sizes, offsets or counts).
#include <gtest/gtest.h>

#include <fstream>

#include "convert_bytes.h"
#include "e2e/process.h"

namespace stpconv::e2e {
namespace {

TEST(LargeFile, Over4GiBConvertsRightInConstantMemory) {
  // One MiB of whole lines, repeated: the output is the pattern's output, repeated.
  std::string pattern;
  for (int i = 0; pattern.size() < (1u << 20) - 64; ++i) {
    pattern += "KEY" + std::to_string(i) + "," + std::string(static_cast<std::size_t>(i % 50), 'v') + "\r\n";
  }
  const std::string patternOutput = stpconv::testing::convertBytes(FileType::Csv, pattern);
  ASSERT_FALSE(patternOutput.empty());
  const std::size_t repeats = ((std::size_t{17} << 28) / pattern.size()) + 1;  // over 4.25 GiB

  TempDir dir;
  {
    std::ofstream input(dir / "big.csv", std::ios::binary);
    for (std::size_t i = 0; i < repeats; ++i) input.write(pattern.data(), static_cast<std::streamsize>(pattern.size()));
    input << "TAIL,end";
    ASSERT_TRUE(input.flush());
  }
  ASSERT_GT(std::filesystem::file_size(dir / "big.csv"), std::uintmax_t{1} << 32);

  const RunResult r = runProgram({.arguments = {"big.csv"}, .folder = dir.path(), .stdoutMode = Stdout::DevNull,
                                  .timeout = std::chrono::seconds(900)});
  ASSERT_EQ(0, r.exitStatus);
  if (!testsWindowsProgram()) {  // under wine the peak is the emulator's, not the program's
    EXPECT_LT(r.peakRssKiB, 16 * 1024) << "peak memory grew with the input";
  }
  std::filesystem::remove(dir / "big.csv");

  std::ifstream output(dir / "big.stp", std::ios::binary);
  std::string chunk(patternOutput.size(), '\0');
  for (std::size_t i = 0; i < repeats; ++i) {
    output.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    ASSERT_TRUE(output && chunk == patternOutput) << "at repeat " << i;
  }
  std::string tail((std::istreambuf_iterator<char>(output)), std::istreambuf_iterator<char>());
  EXPECT_EQ("TAIL\ten\r\n", tail);
}

}  // namespace
}  // namespace stpconv::e2e
