#include "run/output_file.h"

#include <memory>
#include <new>

#include "run/platform.h"

namespace stpconv {
namespace {

// Replaces the whole content of `to` with the content of `from`.
bool copyContents(int from, int to) {
  if (!platform::rewindAndEmpty(from, to)) return false;
  constexpr std::size_t kBlock = std::size_t{256} * 1024;
  const std::unique_ptr<char[]> block(new (std::nothrow) char[kBlock]);
  if (!block) return false;
  for (;;) {
    const long long n = platform::readSome(from, {block.get(), kBlock});
    if (n < 0) return false;
    if (n == 0) return true;
    if (!platform::writeAll(to, {block.get(), static_cast<std::size_t>(n)})) return false;
  }
}

}  // namespace

OutputFile::~OutputFile() {
  // Reached with files still open only after a failure has been reported.
  if (fd_ >= 0) (void)platform::closeFile(fd_);
  if (finalFd_ >= 0) (void)platform::closeFile(finalFd_);
}

// Emptying a file that is also the input would lose the input before it is
// read. Such a run writes into a scratch file instead and copies it over the
// output only once the input has been read to its end.
bool OutputFile::create(const std::string& outputName, int inputFd) {
  if (!platform::isSameFile(outputName, inputFd)) {
    fd_ = platform::createForWriting(outputName);
    return fd_ >= 0;
  }
  finalFd_ = platform::openForRewriting(outputName);
  if (finalFd_ < 0) return false;
  fd_ = platform::createScratchFileBeside(outputName);
  return fd_ >= 0;
}

bool OutputFile::write(std::string_view bytes) { return platform::writeAll(fd_, bytes); }

bool OutputFile::close() {
  bool ok = true;
  if (finalFd_ >= 0) {
    ok = copyContents(fd_, finalFd_);
    ok = platform::closeFile(finalFd_) && ok;
    finalFd_ = -1;
  }
  ok = platform::closeFile(fd_) && ok;
  fd_ = -1;
  return ok;
}

bool writeOutputFile(Console& console, OutputFile& output, const EncodedLines& outputLines) {
  console.echo(outputLines.bytes());
  return output.write(outputLines.bytes());
}

}  // namespace stpconv
