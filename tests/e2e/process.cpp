#include "process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace stpconv::e2e {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what + ": " + std::strerror(errno)); }

std::string environmentOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

// The program under test, preceded by its emulator when it has one.
const std::vector<std::string>& programCommand() {
  static const std::vector<std::string> command = [] {
    std::vector<std::string> words;
    const std::string emulator = environmentOr("STPCONV_TEST_EMULATOR", "");
    if (!emulator.empty()) words.push_back(emulator);
    words.push_back(environmentOr("STPCONV_TEST_PROGRAM", STPCONV_BINARY));
    return words;
  }();
  return command;
}

// Runs in the child after fork: exec, after building the argument list.
[[noreturn]] void execProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnv) {
  std::vector<char*> argv;
  for (const auto& word : programCommand()) argv.push_back(const_cast<char*>(word.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (char** e = environ; *e != nullptr; ++e) envp.push_back(*e);
  for (const auto& e : extraEnv) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  ::signal(SIGPIPE, SIG_DFL);  // the test ignores it; the program must decide for itself
  ::execve(argv[0], argv.data(), envp.data());
  ::_exit(127);
}

int waitForChild(pid_t pid, Clock::time_point deadline, bool& timedOut, long& peakRssKiB) {
  for (;;) {
    int status = 0;
    rusage usage{};
    const pid_t r = ::wait4(pid, &status, WNOHANG, &usage);
    if (r == pid) {
      peakRssKiB = usage.ru_maxrss;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (r < 0 && errno != EINTR) return -1;
    if (Clock::now() > deadline) {
      timedOut = true;
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

bool testsWindowsProgram() { return programCommand().back().ends_with(".exe"); }

std::string consoleLineEnd() { return testsWindowsProgram() ? "\r\n" : "\n"; }

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "stpconv-e2e-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) fail("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

RunResult runProgram(const RunOptions& options) {
  std::signal(SIGPIPE, SIG_IGN);
  (void)programCommand();  // built before fork: the child only execs
  int in[2] = {-1, -1};
  int out[2] = {-1, -1};
  if (options.stdinMode == Stdin::Bytes && ::pipe2(in, O_CLOEXEC) != 0) fail("pipe");
  const bool piped = options.stdoutMode == Stdout::Capture || options.stdoutMode == Stdout::PipeClosedEarly;
  if (piped && ::pipe2(out, O_CLOEXEC) != 0) fail("pipe");

  const pid_t pid = ::fork();
  if (pid < 0) fail("fork");
  if (pid == 0) {
    if (!options.folder.empty() && ::chdir(options.folder.c_str()) != 0) ::_exit(126);
    if (options.stdinMode == Stdin::Closed) ::close(0); else ::dup2(in[0], 0);
    switch (options.stdoutMode) {
      case Stdout::Closed: ::close(1); break;
      case Stdout::DevFull:
      case Stdout::DevNull: {
        const int device = ::open(options.stdoutMode == Stdout::DevFull ? "/dev/full" : "/dev/null", O_WRONLY);
        ::dup2(device, 1);
        break;
      }
      case Stdout::AppendToFile: {
        const int file = ::open(options.appendTo.c_str(), O_WRONLY | O_APPEND);
        ::dup2(file, 1);
        break;
      }
      default: ::dup2(out[1], 1);
    }
    if (options.fileSizeLimit) {
      const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (options.umask) ::umask(*options.umask);
    if (options.asNobody && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(125);
    }
    execProgram(options.arguments, options.environment);
  }

  RunResult result;
  const auto deadline = Clock::now() + options.timeout;
  if (in[0] >= 0) ::close(in[0]);
  if (out[1] >= 0) ::close(out[1]);
  std::string_view toWrite = options.stdinBytes;
  int inFd = in[1];
  int outFd = out[0];
  if (inFd >= 0 && toWrite.empty()) { ::close(inFd); inFd = -1; }
  while ((inFd >= 0 || outFd >= 0) && Clock::now() < deadline) {
    pollfd fds[2] = {{inFd, POLLOUT, 0}, {outFd, POLLIN, 0}};
    if (::poll(fds, 2, 100) < 0 && errno != EINTR) fail("poll");
    if (inFd >= 0 && fds[0].revents != 0) {
      const ssize_t n = ::write(inFd, toWrite.data(), toWrite.size());
      if (n > 0) toWrite.remove_prefix(static_cast<std::size_t>(n));
      if (n < 0 || toWrite.empty()) { ::close(inFd); inFd = -1; }
    }
    if (outFd >= 0 && fds[1].revents != 0) {
      char block[65536];
      std::size_t want = sizeof block;
      if (options.stdoutMode == Stdout::PipeClosedEarly) want = options.pipeBytesBeforeClose - result.output.size();
      const ssize_t n = ::read(outFd, block, want);
      if (n > 0) result.output.append(block, static_cast<std::size_t>(n));
      const bool enough = options.stdoutMode == Stdout::PipeClosedEarly &&
                          result.output.size() >= options.pipeBytesBeforeClose;
      if (n <= 0 || enough) { ::close(outFd); outFd = -1; }
    }
  }
  if (inFd >= 0) ::close(inFd);
  if (outFd >= 0) ::close(outFd);
  result.exitStatus = waitForChild(pid, deadline, result.timedOut, result.peakRssKiB);
  return result;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

TerminalSession::TerminalSession(const std::filesystem::path& folder, const std::vector<std::string>& arguments) {
  pid_ = ::forkpty(&master_, nullptr, nullptr, nullptr);
  if (pid_ < 0) fail("forkpty");
  if (pid_ == 0) {
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    execProgram(arguments, {});
  }
}

TerminalSession::~TerminalSession() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (master_ >= 0) ::close(master_);
}

void TerminalSession::readAvailable(std::chrono::milliseconds timeout) {
  pollfd request{master_, POLLIN, 0};
  if (::poll(&request, 1, static_cast<int>(timeout.count())) <= 0) return;
  char block[4096];
  const ssize_t n = ::read(master_, block, sizeof block);
  if (n > 0) screen_.append(block, static_cast<std::size_t>(n));
}

bool TerminalSession::waitForScreen(const std::string& text, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (screen_.find(text) == std::string::npos) {
    if (Clock::now() > deadline) return false;
    readAvailable(std::chrono::milliseconds(20));
  }
  return true;
}

void TerminalSession::type(const std::string& keys) {
  if (::write(master_, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) fail("write to terminal");
}

std::optional<int> TerminalSession::waitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    readAvailable(std::chrono::milliseconds(10));  // keep the terminal drained
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
    }
    if (Clock::now() > deadline) return std::nullopt;
  }
}

}  // namespace stpconv::e2e
