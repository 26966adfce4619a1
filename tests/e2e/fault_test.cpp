// Faults from outside: permissions, unreadable files, and hostile content.
// Every row runs the real program and checks what it printed, its status and
// what is on disk afterwards.
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

#include "convert_bytes.h"
#include "e2e/process.h"

namespace fs = std::filesystem;

namespace stpconv::e2e {
namespace {

using namespace std::string_literals;
using stpconv::testing::convertBytes;

constexpr std::pair<FileType, const char*> kTypes[] = {
    {FileType::Ztp, "in.ztp"}, {FileType::Wtw, "in.wtw"}, {FileType::Typ, "in.typ"}, {FileType::Csv, "in.csv"}};

TEST(Faults, AnUnprivilegedUserIsRefusedCleanly) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to drop to an unprivileged user";
  if (testsWindowsProgram()) GTEST_SKIP() << "wine will not run for a user who does not own its prefix";
  struct Case {
    std::string what;
    fs::perms inputMode, outputMode, folderMode;
    bool outputExists;
    std::string wantOutput;
  };
  const auto rw = fs::perms(0644);
  const Case cases[] = {
      {"input unreadable", fs::perms::none, rw, fs::perms(0777), false, "FAILED TO OPEN FILE: a.csv"},
      {"output read-only", rw, fs::perms(0444), fs::perms(0777), true, "FAILED TO CREATE FILE : a.stp"},
      {"folder read-only", rw, rw, fs::perms(0555), false, "FAILED TO CREATE FILE : a.stp"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    writeFile(dir / "a.csv", "AB,CD\r\n");
    fs::permissions(dir / "a.csv", c.inputMode);
    if (c.outputExists) {
      writeFile(dir / "a.stp", "old");
      fs::permissions(dir / "a.stp", c.outputMode);
    }
    fs::permissions(dir.path(), c.folderMode);
    const RunResult r = runProgram({.arguments = {"a.csv"}, .folder = dir.path(), .asNobody = true});
    fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(0, r.exitStatus) << c.what;
    EXPECT_EQ(c.wantOutput, r.output) << c.what;
    EXPECT_EQ(c.outputExists, fs::exists(dir / "a.stp")) << c.what;
    if (c.outputExists) {
      EXPECT_EQ("old", readFile(dir / "a.stp")) << c.what;
    }
  }
}

TEST(Faults, AFileThatOpensButCannotBeReadIsReportedAsUnopenable) {
  TempDir dir;
  fs::create_symlink("/proc/self/mem", dir / "mem.csv");  // opens, then every read at offset 0 fails
  const RunResult r = runProgram({.arguments = {"mem.csv"}, .folder = dir.path()});
  EXPECT_EQ(0, r.exitStatus);
  EXPECT_EQ("FAILED TO OPEN FILE: mem.csv", r.output);
  EXPECT_FALSE(fs::exists(dir / "mem.stp"));
}

std::string randomBytes(std::size_t size) {
  std::mt19937_64 random(20261211);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  return bytes;
}

TEST(Faults, HostileContentConvertsExactlyInEveryFormat) {
  struct Case {
    std::string what;
    std::string input;
  };
  std::vector<Case> cases = {
      {"a 100 MiB line", "AB," + std::string(100u << 20, 'v') + "\r\nCD,x\r\n"},
      {"a million NUL bytes", "AB,x\r\n" + std::string(1000000, '\0') + "\r\nCD,y\r\n"},
      {"random binary", randomBytes(4u << 20)},
      {"ten million empty lines", std::string(10000000, '\n')},
      {"CR without LF everywhere", [] {
         std::string s;
         for (int i = 0; i < 200000; ++i) s += "AB,CD\r";
         return s;
       }()},
  };
  // Line ends at every offset around the read block's end.
  constexpr std::size_t kBlock = 256 * 1024;
  for (std::size_t length = kBlock - 20; length <= kBlock + 20; ++length) {
    cases.push_back({"first line of " + std::to_string(length) + " bytes",
                     "AB," + std::string(length - 4, 'x') + "\r\nCD,1\r\nEF,2\r\nGH"});
  }
  for (const auto& c : cases) {
    for (const auto& [type, name] : kTypes) {
      TempDir dir;
      writeFile(dir / name, c.input);
      const std::string expected = convertBytes(type, c.input);
      const RunResult r = runProgram({.arguments = {name}, .folder = dir.path()});
      EXPECT_FALSE(r.timedOut) << c.what << " " << name;
      EXPECT_EQ(0, r.exitStatus) << c.what << " " << name;
      EXPECT_TRUE(expected == r.output) << c.what << " " << name;
      EXPECT_TRUE(expected == readFile(dir / "in.stp")) << c.what << " " << name;
    }
  }
}

}  // namespace
}  // namespace stpconv::e2e
