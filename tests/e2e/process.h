// Running the real program in a temporary folder, with its console set up
// the way a test row needs it, and reading files back as bytes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace stpconv::e2e {

/// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

enum class Stdin { Bytes, Closed };
enum class Stdout { Capture, Closed, DevFull, DevNull, PipeClosedEarly, AppendToFile };

struct RunOptions {
  std::vector<std::string> arguments;
  std::filesystem::path folder;
  Stdin stdinMode = Stdin::Bytes;
  std::string stdinBytes;                      // given, then standard input ends
  Stdout stdoutMode = Stdout::Capture;
  std::size_t pipeBytesBeforeClose = 1;        // for PipeClosedEarly
  std::filesystem::path appendTo;               // for AppendToFile, as `>>` does
  std::optional<unsigned long> fileSizeLimit;  // RLIMIT_FSIZE, in bytes
  std::optional<mode_t> umask;
  bool asNobody = false;                        // drop root before running
  std::vector<std::string> environment;         // added to the program's environment
  std::chrono::seconds timeout{120};
};

struct RunResult {
  std::string output;  // what reached standard output (as far as it was read)
  int exitStatus = -1;  // -1 unless the program exited normally
  bool timedOut = false;
  long peakRssKiB = 0;  // the program's peak resident memory
};

/// True when the program under test is the Windows one (STPCONV_TEST_PROGRAM
/// names an .exe, run through STPCONV_TEST_EMULATOR): rows that cannot hold
/// there are skipped by name, with the reason.
bool testsWindowsProgram();
/// The line end that follows the prompt: the console's own.
std::string consoleLineEnd();

/// Runs the program under test; never waits longer than the timeout.
RunResult runProgram(const RunOptions& options);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

/// A console session on a real terminal: the program runs on a pty.
class TerminalSession {
 public:
  TerminalSession(const std::filesystem::path& folder, const std::vector<std::string>& arguments);
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  /// Reads the screen until `text` has appeared on it, or the timeout passes.
  bool waitForScreen(const std::string& text, std::chrono::milliseconds timeout);
  void type(const std::string& keys);
  /// Waits up to `timeout` for the program to end; its exit status, or nothing.
  std::optional<int> waitForExit(std::chrono::milliseconds timeout);
  [[nodiscard]] const std::string& screen() const { return screen_; }

 private:
  void readAvailable(std::chrono::milliseconds timeout);
  int master_ = -1;
  pid_t pid_ = -1;
  std::string screen_;
};

}  // namespace stpconv::e2e
