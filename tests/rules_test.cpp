// The four formats, from input file bytes to output bytes. Every table is run
// through many ways of cutting the input into reads and blocks: the output
// must not depend on where a read or a block ends.
#include <gtest/gtest.h>

#include <string>

#include "convert_bytes.h"

namespace stpconv {
namespace {

using testing::convertBytes;
using namespace std::string_literals;

struct Case {
  std::string input, want;
};

void expectConversions(FileType type, std::initializer_list<Case> cases) {
  for (const auto& c : cases) {
    const std::string whole = convertBytes(type, c.input);
    EXPECT_EQ(c.want, whole) << "input: " << c.input;
    for (std::size_t chunk : {1, 2, 3, 5, 8}) {
      for (std::size_t block : {1, 3, 16}) {
        for (std::size_t batch : {1, 2, 3}) {  // a pair or the first line may end a batch
          EXPECT_EQ(whole, convertBytes(type, c.input, chunk, block, batch))
              << "chunk " << chunk << " block " << block << " batch " << batch;
        }
      }
    }
  }
}

TEST(TypConversion, KeyColonValueBecomesKeyTabValue) {
  expectConversions(FileType::Typ, {
      {"NAME:Value\r\n", "NAME\tValue\r\n"},
      {"AB:X:Y\r\n", "AB\tX:Y\r\n"},        // further colons stay in the value
      {"AB:\r\n", "AB\t\r\n"},
      {"AB:XY", "AB\tX\r\n"},              // last line without a line end loses a real byte
      {"AB:X\r\r\n", "AB\tX\r\r\n"},       // only the last character is dropped
      {"K:XY\r\n:AB:XY\r\nAB,XY\r\nABXY\r\n\r\n", ""},
      {"KEY::", "KEY\t\r\n"},
      {"KEY:", ""},
      {"AB:XY\n", "AB\tX\r\n"},            // bare LF line ends lose a byte of every value
      {" A : B \r\n", " A \t B \r\n"},     // spaces stay
      {"", ""},
      {"N1:\xE9\x1A\xFF\r\nN2:v\r\n", "N1\t\xE9\x1A\xFF\r\nN2\tv\r\n"},
      {"AB:C\0D\r\nEF:GH\r\n"s, "AB\t\r\nEF\tGH\r\n"},  // text ends at the NUL: C is the dropped last character
  });
}

TEST(CsvConversion, KeyCommaValueBecomesKeyTabValue) {
  expectConversions(FileType::Csv, {
      {"NAME,Value\r\nID,7\r\n", "NAME\tValue\r\nID\t7\r\n"},  // a header is a line like any other
      {"ID,7,8\r\n", "ID\t7,8\r\n"},
      {"AB,\r\n", "AB\t\r\n"},
      {"AB,XY", "AB\tX\r\n"},
      {"AB,X\r\r\n", "AB\tX\r\r\n"},
      {"1,2,3\r\n,AB,XY\r\nAB:XY\r\nABXY\r\n\r\n", ""},
      {"KEY,,", "KEY\t\r\n"},
      {"KEY,", ""},
      {"\"A,B\",XY\r\n", "\"A\tB\",XY\r\n"},  // no quoting: the first comma splits
      {"", ""},
  });
}

TEST(ZtpConversion, FirstLineIsTheEventMessageThenValueTabKey) {
  expectConversions(FileType::Ztp, {
      {"Pump 3 stopped\r\nTEMP,25\r\nLEVEL,HIGH,2\r\nID,\r\nX,7\r\n,AB,XY\r\nNOTE\r\n",
       "EVENT MESSAGE=\"Pump 3 stopped\"\r\n25\tTEMP\r\nHIGH,2\tLEVEL\r\n\tID\r\n"},
      {"", "EVENT MESSAGE=\"\"\r\n"},               // an empty file still has its first line
      {"\r\n", "EVENT MESSAGE=\"\"\r\n"},
      {"A,B,D\r\n", "EVENT MESSAGE=\"A,B,D\"\r\n"},  // the first line is never split
      {"say \"hi\"\r\n", "EVENT MESSAGE=\"say \"hi\"\"\r\n"},
      {"Hello", "EVENT MESSAGE=\"Hell\"\r\n"},
      {"M\r\nXY,7\r\nAB,", "EVENT MESSAGE=\"M\"\r\n7\tXY\r\n"},
      {"M\r\nKEY,42", "EVENT MESSAGE=\"M\"\r\n4\tKEY\r\n"},
      {"\xE9\r\n\xE8\xE8,\xFF\r\n", "EVENT MESSAGE=\"\xE9\"\r\n\xFF\t\xE8\xE8\r\n"},
  });
}

TEST(WtwConversion, PairsOfLinesBecomeSecondTabFirst) {
  expectConversions(FileType::Wtw, {
      {"ALARM HIGH\r\nTank 4\r\n\r\nRESET\r\n\r\n", "Tank 4\tALARM HIGH\r\n\tRESET\r\n"},
      {"ALPHA\r\nBETA\r\nGAMMA\r\n", "BETA\tALPHA\r\n\tGAMMA\r\n"},  // pairs with the empty last line
      {"ALPHA\r\nBETA\r\nGAMMA", "BETA\tALPHA\r\n"},                // a first line with no partner
      {"ALPHA\r\nBETA", "BET\tALPHA\r\n"},
      {"\r\nX1\r\nY1\r\n", "Y1\tX1\r\n"},                           // a passed-over line shifts the pairing
      {"A1\r\n\r\n\r\nB1\r\nD1\r\n", "\tA1\r\nD1\tB1\r\n"},  // an empty body completes a pair
      {"KEY\r\nA,B:D\r\n", "A,B:D\tKEY\r\n"},                       // the second line is never split
      {"\r\n\n\r\n", ""},
      {"", ""},
      {"\xE9\xE9\r\n\x80\x81\r\n", "\x80\x81\t\xE9\xE9\r\n"},
  });
}

}  // namespace
}  // namespace stpconv
