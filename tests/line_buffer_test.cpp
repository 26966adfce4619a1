#include "text/line_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "convert_bytes.h"
#include "text/text_line.h"

namespace stpconv {
namespace {

// The lines of `input`, fed in chunks of `chunkSize` bytes, joined as "a|b|c".
std::string linesOf(std::string_view input, std::size_t chunkSize, std::size_t blockSize) {
  LineBuffer buffer(blockSize);
  LineList lines;
  std::string joined;
  testing::feedInChunks(buffer, input, chunkSize, [&] {
    do {
      lines.clear();
      buffer.takeLines(lines);
      for (std::string_view line : lines) joined.append(line).append("|");
    } while (lines.full());
  });
  EXPECT_TRUE(buffer.finished());
  joined.pop_back();
  return joined;
}

TEST(LineBuffer, SplitsAtLfOnlyAndAlwaysYieldsALastLine) {
  using namespace std::string_literals;
  struct Case {
    std::string input, want;
  };
  const std::string long1023(1023, 'x');
  const Case cases[] = {
      {"", ""},                        // an empty file is one empty line
      {"\n", "|"},                     // two empty lines
      {"\r\n", "\r|"},                 // the CR stays with its line
      {"A\r\nB\r\n", "A\r|B\r|"},      // a final LF leaves an empty last line
      {"A\r\nB", "A\r|B"},
      {"A\n\nB\n", "A||B|"},
      {"A\0B\r\nC\n"s, "A|C|"},        // a NUL ends the line's text
      {"\0\0\0\n\0"s, "|"},
      {"\xE9\x1A\r\n", "\xE9\x1A\r|"},  // 0x1A is no end of file
      {"a\rb\rc", "a\rb\rc"},          // a lone CR ends nothing
      {long1023 + "\n", long1023 + "|"},
      {long1023 + "yy\nz", long1023 + "yy|z"},  // no length limit
  };
  for (const auto& c : cases) {
    // Every way of cutting the input into reads, through blocks smaller than its lines.
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{4096}}) {
      for (std::size_t block : {std::size_t{1}, std::size_t{4}, std::size_t{64}, LineBuffer::kDefaultBlockSize}) {
        EXPECT_EQ(c.want, linesOf(c.input, chunk, block)) << "chunk " << chunk << " block " << block;
      }
    }
  }
}

TEST(LineBuffer, LinesLongerThanTheBlockComeOutWhole) {
  std::string input;
  for (std::size_t length : {0, 1, 63, 64, 65, 127, 128, 129, 5000}) input += std::string(length, 'a') + "\n";
  std::string want = input;
  std::replace(want.begin(), want.end(), '\n', '|');
  EXPECT_EQ(want, linesOf(input, 64, 64));
  EXPECT_EQ(want, linesOf(input, 1000, 64));
}

TEST(LineBuffer, ABatchHoldsABoundedNumberOfLinesAndTheRestFollows) {
  const std::size_t count = 3 * LineList::kDefaultCapacity + 5;
  std::string input;
  for (std::size_t i = 0; i < count; ++i) input += std::to_string(i % 10) + "\n";
  LineBuffer buffer;
  const auto space = buffer.freeSpace();
  std::memcpy(space.data(), input.data(), input.size());
  buffer.commit(input.size());
  buffer.markEnd();
  LineList lines;
  std::size_t taken = 0;
  while (!buffer.finished()) {
    lines.clear();
    buffer.takeLines(lines);
    ASSERT_FALSE(lines.empty());
    for (std::string_view line : lines) {
      if (taken < count) {
        EXPECT_EQ(std::to_string(taken % 10), line) << taken;
      }
      ++taken;
    }
  }
  EXPECT_EQ(count + 1, taken);  // and the empty line after the last LF
  EXPECT_EQ("", lines[lines.size() - 1]);
}

TEST(TextLine, WidenLineStopsAtTheFirstNulAndLineBodyDropsOneCharacter) {
  using namespace std::string_literals;
  EXPECT_EQ("AB", widenLine("AB\0CD"s));
  EXPECT_EQ("", widenLine("\0"s));
  EXPECT_EQ("\xFF\x80", widenLine("\xFF\x80"));
  EXPECT_EQ("", lineBody(""));
  EXPECT_EQ("", lineBody("\r"));
  EXPECT_EQ("AB", lineBody("ABC"));
}

}  // namespace
}  // namespace stpconv
