// Loaded into the program with LD_PRELOAD by the read-error test: lets the
// reads of files (not of the console) deliver FAIL_READ_AFTER bytes in all,
// then fails them with EIO, as a failing disk would in the middle of a file.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

using ReadFunction = ssize_t (*)(int, void*, size_t);

long long bytesLeft() {
  static long long left = [] {
    const char* limit = std::getenv("FAIL_READ_AFTER");
    return limit == nullptr ? -1LL : std::atoll(limit);
  }();
  return left;
}

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  static const auto realRead = reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "read"));
  static long long delivered = 0;
  const long long limit = bytesLeft();
  if (fd <= 2 || limit < 0) return realRead(fd, buffer, count);
  if (delivered >= limit) {
    errno = EIO;
    return -1;
  }
  if (static_cast<long long>(count) > limit - delivered) count = static_cast<size_t>(limit - delivered);
  const ssize_t n = realRead(fd, buffer, count);
  if (n > 0) delivered += n;
  return n;
}
