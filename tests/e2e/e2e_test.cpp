// The real program on real files in a temporary folder: the echo and the
// file compared byte for byte, and every failure with what is left on disk.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "convert_bytes.h"
#include "e2e/process.h"

namespace fs = std::filesystem;

namespace stpconv::e2e {
namespace {

using namespace std::string_literals;
using stpconv::testing::convertBytes;

const std::string kPrompt = "INPUT THE FILE NAME TO CONVERT:" + consoleLineEnd();

// Everything in a folder, by name: file contents, link targets, folders.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (entry.is_symlink()) {
      entries[name] = "link to " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_directory()) {
      entries[name] = "folder";
    } else {
      entries[name] = readFile(entry.path());
    }
  }
  return entries;
}

// A CSV input of many lines of varied length, some unusable, CR LF ended.
std::string sampleCsv(std::size_t lines) {
  std::string text;
  for (std::size_t i = 0; i < lines; ++i) {
    text += "key" + std::to_string(i) + "," + std::string(i % 97, static_cast<char>('a' + i % 26));
    text += (i % 13 == 0) ? ",more\r\n" : (i % 17 == 0 ? "\n" : "\r\n");
    if (i % 31 == 0) text += "no separator\r\n";
  }
  return text;
}

TEST(Conversion, EachExampleGivesTheExpectedBytesInTheFileAndOnTheConsole) {
  for (const std::string name : {"events.ztp", "alarms.wtw", "settings.typ", "values.csv"}) {
    TempDir dir;
    const std::string stem = fs::path(name).stem().string();
    fs::copy_file(fs::path(EXAMPLES_DIR) / name, dir / name);
    const std::string expected = readFile(fs::path(EXPECTED_DIR) / (stem + ".stp"));
    ASSERT_FALSE(expected.empty());

    const RunResult r = runProgram({.arguments = {name}, .folder = dir.path()});
    EXPECT_EQ(0, r.exitStatus) << name;
    EXPECT_EQ(expected, r.output) << name;
    EXPECT_EQ(expected, readFile(dir / (stem + ".stp"))) << name;
  }
}

TEST(Conversion, OnlyTheFirstArgumentIsConvertedAndTheSuffixIsLowerCase) {
  TempDir dir;
  writeFile(dir / "A.CSV", "AB,CD\r\n");
  writeFile(dir / "b.csv", "EF,GH\r\n");
  const RunResult r = runProgram({.arguments = {"A.CSV", "b.csv"}, .folder = dir.path()});
  EXPECT_EQ(0, r.exitStatus);
  EXPECT_EQ("AB\tCD\r\n", r.output);
  EXPECT_EQ("AB\tCD\r\n", readFile(dir / "A.stp"));
  EXPECT_FALSE(fs::exists(dir / "b.stp"));
}

TEST(Conversion, ANameTypedAtThePromptIsConvertedWhateverItsLength) {
  TempDir dir;
  fs::path folder = dir.path();
  std::string name;
  for (int i = 0; i < 8; ++i) {  // a path of over 1600 bytes: no name buffer cuts it short
    const std::string part(200, static_cast<char>('a' + i));
    folder /= part;
    name += part + "/";
  }
  fs::create_directories(folder);
  writeFile(folder / "in.typ", "AB:CD\r\n");
  name += "in.typ";
  const RunResult r = runProgram({.folder = dir.path(), .stdinBytes = "\n  " + name + "\n"});
  EXPECT_EQ(0, r.exitStatus);
  EXPECT_EQ(kPrompt + "AB\tCD\r\n", r.output);
  EXPECT_EQ("AB\tCD\r\n", readFile(folder / "in.stp"));
}

struct FailureCase {
  std::string what;
  std::function<void(const TempDir&)> setUp;
  std::vector<std::string> arguments;
  std::string stdinBytes;
  std::string wantOutput;
};

TEST(Failures, AreReportedWithStatusZeroAndLeaveEveryFileAsItWas) {
  const FailureCase cases[] = {
      {"missing input", [](const TempDir&) {}, {"missing.ztp"}, "", "FAILED TO OPEN FILE: missing.ztp"},
      {"input is a folder", [](const TempDir& d) { fs::create_directory(d / "d.csv"); }, {"d.csv"}, "",
       "FAILED TO OPEN FILE: d.csv"},
      {"unknown extension", [](const TempDir& d) { writeFile(d / "data.txt", "AB,CD\r\n"); }, {"data.txt"}, "",
       "FAILED TO RECOGNIZE FILE TYPE: TXT"},
      {"no extension", [](const TempDir& d) { writeFile(d / "data", "AB,CD\r\n"); }, {"data"}, "",
       "FAILED TO RECOGNIZE FILE TYPE: "},
      {"last dot in a folder name",
       [](const TempDir& d) {
         fs::create_directory(d / "old.dir");
         writeFile(d / "old.dir" / "data", "AB,CD\r\n");
       },
       {"old.dir/data"}, "", "FAILED TO RECOGNIZE FILE TYPE: DIR/DATA"},
      {"output name is a folder",
       [](const TempDir& d) {
         writeFile(d / "a.csv", "AB,CD\r\n");
         fs::create_directory(d / "a.stp");
       },
       {"a.csv"}, "", "FAILED TO CREATE FILE : a.stp"},
      {"no name typed", [](const TempDir&) {}, {}, "", kPrompt + "FAILED TO OPEN FILE: "},
      {"only blank lines typed", [](const TempDir&) {}, {}, " \n\t\r\n", kPrompt + "FAILED TO OPEN FILE: "},
      {"typed name is one word", [](const TempDir&) {}, {}, "   missing.ztp extra\n",
       kPrompt + "FAILED TO OPEN FILE: missing.ztp"},
      // Cut at the NUL, this name would open "abc" and then write over it.
      {"typed name holds a NUL", [](const TempDir& d) { writeFile(d / "abc", "AB,CD\r\n"); }, {}, "abc\0.csv\n"s,
       kPrompt + "FAILED TO OPEN FILE: abc\0.csv"s},
  };
  for (const auto& c : cases) {
    TempDir dir;
    c.setUp(dir);
    const auto before = snapshot(dir.path());
    const RunResult r = runProgram({.arguments = c.arguments, .folder = dir.path(), .stdinBytes = c.stdinBytes});
    EXPECT_FALSE(r.timedOut) << c.what;
    EXPECT_EQ(0, r.exitStatus) << c.what;
    EXPECT_EQ(c.wantOutput, r.output) << c.what;
    EXPECT_EQ(before, snapshot(dir.path())) << c.what;
  }
}

TEST(Failures, ClosedStandardInputWithNoArgumentEndsAtOnce) {
  TempDir dir;
  const RunResult r = runProgram({.folder = dir.path(), .stdinMode = Stdin::Closed});
  EXPECT_EQ(0, r.exitStatus);
  EXPECT_EQ(kPrompt + "FAILED TO OPEN FILE: ", r.output);
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(Console, ABrokenStandardOutputNeverCostsTheFile) {
  const std::string input = sampleCsv(60000);  // several read blocks
  const std::string expected = convertBytes(FileType::Csv, input);
  ASSERT_GT(expected.size(), std::size_t{1} << 20);
  for (const Stdout mode : {Stdout::Closed, Stdout::DevFull, Stdout::PipeClosedEarly}) {
    TempDir dir;
    writeFile(dir / "big.csv", input);
    const RunResult r = runProgram({.arguments = {"big.csv"}, .folder = dir.path(), .stdoutMode = mode});
    EXPECT_EQ(0, r.exitStatus) << static_cast<int>(mode);
    EXPECT_EQ(expected, readFile(dir / "big.stp")) << static_cast<int>(mode);
  }
}

TEST(Console, EchoingIntoTheInputFileIsSkippedSoTheRunEnds) {
  if (testsWindowsProgram()) {
    GTEST_SKIP() << "wine cannot identify a standard output inherited from Linux "
                    "(GetFileInformationByHandle fails), so the check cannot be seen to work here";
  }
  TempDir dir;
  const std::string input = sampleCsv(20000);
  writeFile(dir / "in.csv", input);
  const RunResult r = runProgram({.arguments = {"in.csv"}, .folder = dir.path(),
                                  .stdoutMode = Stdout::AppendToFile, .appendTo = dir / "in.csv",
                                  .timeout = std::chrono::seconds(30)});
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(0, r.exitStatus);
  EXPECT_EQ(input, readFile(dir / "in.csv"));
  EXPECT_EQ(convertBytes(FileType::Csv, input), readFile(dir / "in.stp"));
}

TEST(OutputFile, ADiskFullIsReported) {
  TempDir dir;
  writeFile(dir / "a.csv", sampleCsv(20000));
  fs::create_symlink("/dev/full", dir / "a.stp");
  const RunResult r = runProgram({.arguments = {"a.csv"}, .folder = dir.path()});
  EXPECT_EQ(0, r.exitStatus);
  EXPECT_TRUE(r.output.ends_with("\r\nFAILED TO WRITE FILE : a.stp")) << r.output.substr(r.output.size() - 60);
}

TEST(OutputFile, AFileSizeLimitIsReported) {
  if (testsWindowsProgram()) GTEST_SKIP() << "Windows has no file size limit for a process";
  TempDir dir;
  writeFile(dir / "a.csv", sampleCsv(20000));
  const RunResult r = runProgram({.arguments = {"a.csv"}, .folder = dir.path(), .fileSizeLimit = 1000});
  EXPECT_EQ(0, r.exitStatus);
  EXPECT_TRUE(r.output.ends_with("\r\nFAILED TO WRITE FILE : a.stp")) << r.output.substr(r.output.size() - 60);
  EXPECT_EQ(1000u, fs::file_size(dir / "a.stp"));
}

TEST(OutputFile, AnExistingFileIsReplacedWhole) {
  TempDir dir;
  writeFile(dir / "a.typ", "AB:CD\r\n");
  writeFile(dir / "a.stp", std::string(5000, 'x'));
  EXPECT_EQ(0, runProgram({.arguments = {"a.typ"}, .folder = dir.path()}).exitStatus);
  EXPECT_EQ("AB\tCD\r\n", readFile(dir / "a.stp"));
}

TEST(OutputFile, ANewFileFollowsTheUmask) {
  if (testsWindowsProgram()) GTEST_SKIP() << "Windows files have no POSIX mode bits";
  TempDir dir;
  writeFile(dir / "b.typ", "AB:CD\r\n");
  EXPECT_EQ(0, runProgram({.arguments = {"b.typ"}, .folder = dir.path(), .umask = 027}).exitStatus);
  EXPECT_EQ(fs::perms(0640), fs::status(dir / "b.stp").permissions() & fs::perms::mask);
}

TEST(OutputFile, AnOutputNameLinkedToTheInputStillConvertsRight) {
  const std::string input = sampleCsv(30000);  // more than one read block
  const std::string expected = convertBytes(FileType::Csv, input);
  for (const bool hardLink : {true, false}) {
    TempDir dir;
    writeFile(dir / "a.csv", input);
    if (hardLink) {
      fs::create_hard_link(dir / "a.csv", dir / "a.stp");
    } else {
      fs::create_symlink("a.csv", dir / "a.stp");
    }
    const RunResult r = runProgram({.arguments = {"a.csv"}, .folder = dir.path()});
    EXPECT_EQ(0, r.exitStatus) << hardLink;
    EXPECT_EQ(expected, r.output) << hardLink;
    EXPECT_EQ(expected, readFile(dir / "a.stp")) << hardLink;
    EXPECT_EQ(hardLink ? 2u : 1u, fs::hard_link_count(dir / "a.csv"));
    EXPECT_EQ(std::vector<fs::path>{}, [&] {  // no scratch file left behind
      std::vector<fs::path> extra;
      for (const auto& e : fs::directory_iterator(dir.path()))
        if (e.path().filename() != "a.csv" && e.path().filename() != "a.stp") extra.push_back(e.path());
      return extra;
    }());
  }
}

TEST(Input, LinesOfAnyLengthAcrossReadBlocksComeOutExact) {
  std::string input;
  for (std::size_t length = 0; input.size() < 3 * 256 * 1024; ++length) {  // line ends at every block offset nearby
    input += "k" + std::to_string(length) + ",:" + std::string(length % 700, static_cast<char>(0x80 + length % 128));
    input += "\r\n";
  }
  input += "LONG:" + std::string(3 << 20, 'v') + "\r\n";  // far longer than a block
  input += "N1:" + "\0\0\0"s + "\r\nN2:\x1A\r\n" + std::string(100000, '\0') + "\n";
  input += "no line end:x";
  for (const auto& [type, name] : {std::pair{FileType::Typ, "in.typ"}, {FileType::Ztp, "in.ztp"},
                                   {FileType::Wtw, "in.wtw"}, {FileType::Csv, "in.csv"}}) {
    TempDir dir;
    writeFile(dir / name, input);
    const std::string expected = convertBytes(type, input, 4096, 4096);
    ASSERT_GT(expected.size(), std::size_t{100000}) << name;
    const RunResult r = runProgram({.arguments = {name}, .folder = dir.path()});
    EXPECT_EQ(0, r.exitStatus) << name;
    EXPECT_TRUE(expected == r.output) << name;
    EXPECT_TRUE(expected == readFile(dir / "in.stp")) << name;
  }
}

TEST(Input, AReadErrorIsReportedNotTakenForTheEndOfTheFile) {
  if (testsWindowsProgram()) GTEST_SKIP() << "the failing read is preloaded into a native program only";
  const std::string input = sampleCsv(30000);
  const std::string preload = "LD_PRELOAD="s + FAIL_READ_LIBRARY;
  // A sanitized build wants its runtime loaded first; the preloaded reads come before it here.
  const std::string kAsanAllowsPreload = "ASAN_OPTIONS=verify_asan_link_order=0";
  {  // in the middle of the file
    TempDir dir;
    writeFile(dir / "a.csv", input);
    const RunResult r = runProgram({.arguments = {"a.csv"}, .folder = dir.path(),
                                    .environment = {preload, kAsanAllowsPreload, "FAIL_READ_AFTER=300000"}});
    EXPECT_EQ(0, r.exitStatus);
    EXPECT_TRUE(r.output.ends_with("\r\nFAILED TO READ FILE: a.csv"));
    EXPECT_EQ(input, readFile(dir / "a.csv"));
  }
  {  // at the very first read: the file cannot be read at all
    TempDir dir;
    writeFile(dir / "a.csv", input);
    const RunResult r = runProgram({.arguments = {"a.csv"}, .folder = dir.path(),
                                    .environment = {preload, kAsanAllowsPreload, "FAIL_READ_AFTER=0"}});
    EXPECT_EQ(0, r.exitStatus);
    EXPECT_EQ("FAILED TO OPEN FILE: a.csv", r.output);
    EXPECT_FALSE(fs::exists(dir / "a.stp"));
  }
}

}  // namespace
}  // namespace stpconv::e2e
