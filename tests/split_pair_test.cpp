#include "convert/split_pair.h"

#include <gtest/gtest.h>

#include <string>

namespace stpconv {
namespace {

std::string pairOf(std::string_view line, char separator) {  // "-" means no pair
  const auto p = splitPair(line, separator);
  return p ? std::string(p->pairKey) + "|" + std::string(p->pairValue) : "-";
}

TEST(SplitPair, FirstSeparatorDecidesAndLastCharacterIsDropped) {
  struct Case {
    std::string_view line, want;
  };
  const Case cases[] = {
      {"AB:CD\r", "AB|CD"},
      {"KEY:A:B\r", "KEY|A:B"},  // later separators stay in the value
      {"AB:\r", "AB|"},          // separator second-to-last: empty value
      {"AB:XY", "AB|X"},         // no CR: a real character is dropped
      {"AB:X\r\r", "AB|X\r"},    // only the last character goes
      {"ABC:", "-"},             // separator is the last character
      {"A:BC\r", "-"},           // one character before it
      {":AB:CD\r", "-"},         // first one at index 0; the later one is not tried
      {"ABCD\r", "-"},
      {"\r", "-"},
      {"", "-"},
      {"A B:\t\"x\r", "A B|\t\"x"},  // nothing is trimmed
      {"\xE9\xFF:\x80\x1A\r", "\xE9\xFF|\x80\x1A"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, pairOf(c.line, ':')) << c.line;
}

TEST(SplitPair, OnlyTheGivenSeparatorCounts) {
  EXPECT_EQ("-", pairOf("AB,XY\r", ':'));
  EXPECT_EQ("AB:X|Y", pairOf("AB:X,YZ", ','));
}

}  // namespace
}  // namespace stpconv
