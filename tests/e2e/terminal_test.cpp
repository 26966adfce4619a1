// The console as a person sees it, on a real terminal.
#include <gtest/gtest.h>

#include "e2e/process.h"

namespace stpconv::e2e {
namespace {

using std::chrono::milliseconds;
constexpr milliseconds kPatience{10000};
constexpr milliseconds kStillWaiting{300};

class Terminal : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testsWindowsProgram()) GTEST_SKIP() << "a pty is no Windows console; its keys reach wine, not the program";
  }
};

TEST_F(Terminal, AfterAFailureWithANameFromTheCommandLineTheToolWaitsForEnter) {
  TempDir dir;
  TerminalSession session(dir.path(), {"missing.csv"});
  ASSERT_TRUE(session.waitForScreen("FAILED TO OPEN FILE: missing.csv", kPatience)) << session.screen();
  EXPECT_FALSE(session.waitForExit(kStillWaiting));
  session.type("anything");  // what is typed before Enter is ignored
  EXPECT_FALSE(session.waitForExit(kStillWaiting));
  session.type("\r");
  EXPECT_EQ(0, session.waitForExit(kPatience));
}

TEST_F(Terminal, ASuccessfulRunEndsWithoutWaiting) {
  TempDir dir;
  writeFile(dir / "a.csv", "AB,CD\r\n");
  TerminalSession session(dir.path(), {"a.csv"});
  EXPECT_EQ(0, session.waitForExit(kPatience));
  EXPECT_EQ("AB\tCD\r\n", readFile(dir / "a.stp"));
}

TEST_F(Terminal, ThePromptReadsTheNameAndAFailureAfterItEndsAtOnce) {
  TempDir dir;
  writeFile(dir / "a.csv", "AB,CD\r\n");
  {
    TerminalSession session(dir.path(), {});
    ASSERT_TRUE(session.waitForScreen("INPUT THE FILE NAME TO CONVERT:\r\n", kPatience)) << session.screen();
    session.type("a.csv\r");
    EXPECT_EQ(0, session.waitForExit(kPatience));
    EXPECT_EQ("AB\tCD\r\n", readFile(dir / "a.stp"));
  }
  {
    TerminalSession session(dir.path(), {});
    ASSERT_TRUE(session.waitForScreen("CONVERT:", kPatience));
    session.type("missing.ztp\r");
    ASSERT_TRUE(session.waitForScreen("FAILED TO OPEN FILE: missing.ztp", kPatience)) << session.screen();
    EXPECT_EQ(0, session.waitForExit(kPatience));  // the Enter of the typed name ends the wait
  }
}

}  // namespace
}  // namespace stpconv::e2e
