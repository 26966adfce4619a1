// POSIX system calls: every call that can fail is checked, and EINTR is retried.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "run/platform.h"

namespace stpconv::platform {
namespace {

// A name with a NUL in it would reach the system cut short and so name
// another file; such a name can be neither opened nor created.
bool isUsableName(const std::string& name) { return name.find('\0') == std::string::npos; }

template <typename Call>
auto retryInterrupted(Call call) {
  for (;;) {
    auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

int openName(const std::string& name, int flags, mode_t mode = 0) {
  if (!isUsableName(name)) return -1;
  return retryInterrupted([&] { return ::open(name.c_str(), flags | O_CLOEXEC, mode); });
}

// A non-blocking descriptor handed to us may refuse a write for a moment;
// wait until it can take more instead of losing the bytes.
bool waitUntilWritable(int fd) {
  pollfd request{fd, POLLOUT, 0};
  return retryInterrupted([&] { return ::poll(&request, 1, -1); }) > 0;
}

}  // namespace

const std::string_view kConsoleLineEnd = "\n";

void prepareProcess() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      // The lowest free descriptor is the one just found closed.
      (void)::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
  }
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

int openForReading(const std::string& name) { return openName(name, O_RDONLY); }

int createForWriting(const std::string& name) { return openName(name, O_WRONLY | O_CREAT | O_TRUNC, 0666); }

int openForRewriting(const std::string& name) { return openName(name, O_WRONLY); }

int createScratchFileBeside(const std::string& name) {
  if (!isUsableName(name)) return -1;
  const std::size_t slash = name.rfind('/');
  std::string pattern = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
  pattern += ".stpconv-XXXXXX";
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(pattern.c_str());  // nameless from now on; gone when closed
  return fd;
}

long long readSome(int fd, std::span<char> space) {
  return retryInterrupted([&] { return ::read(fd, space.data(), space.size()); });
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      if ((errno == EAGAIN || errno == EWOULDBLOCK) && waitUntilWritable(fd)) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool rewindAndEmpty(int from, int to) {
  return ::lseek(from, 0, SEEK_SET) == 0 && ::ftruncate(to, 0) == 0 && ::lseek(to, 0, SEEK_SET) == 0;
}

bool closeFile(int fd) {
  // After EINTR the descriptor is already gone on Linux; retrying could close another.
  return ::close(fd) == 0 || errno == EINTR;
}

bool isSameFile(const std::string& name, int fd) {
  struct stat named {}, open {};
  if (!isUsableName(name) || ::stat(name.c_str(), &named) != 0 || ::fstat(fd, &open) != 0) return false;
  return named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

bool isSameRegularFile(int fdA, int fdB) {
  struct stat a {}, b {};
  if (::fstat(fdA, &a) != 0 || ::fstat(fdB, &b) != 0) return false;
  return S_ISREG(a.st_mode) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace stpconv::platform
