#include "run/input_file.h"

#include "run/platform.h"

namespace stpconv {

bool InputFile::open(const std::string& name) {
  fd_ = platform::openForReading(name);
  if (fd_ < 0) return false;
  // A directory opens on some systems and fails only when read: reading the
  // first block here makes every such name fail as one that cannot be opened.
  if (!readMore()) {
    close();
    return false;
  }
  return true;
}

bool InputFile::readMore() {
  const std::span<char> space = buffer_.freeSpace();
  if (space.empty()) return false;  // no memory left for a line this long
  const long long n = platform::readSome(fd_, space);
  if (n < 0) return false;
  if (n == 0) {
    buffer_.markEnd();
  } else {
    buffer_.commit(static_cast<std::size_t>(n));
  }
  return true;
}

void InputFile::close() {
  // Only read from: a failed close loses nothing.
  if (fd_ >= 0) (void)platform::closeFile(fd_);
  fd_ = -1;
}

LoadStatus loadInputLines(InputFile& file, LineList& inputLines) {
  inputLines.clear();
  for (;;) {
    file.buffer().takeLines(inputLines);
    if (file.buffer().finished()) return LoadStatus::LastLines;
    if (!inputLines.empty()) return LoadStatus::Lines;
    if (!file.readMore()) return LoadStatus::ReadFailed;
  }
}

}  // namespace stpconv
