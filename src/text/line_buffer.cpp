#include "text/line_buffer.h"

#include <cstring>
#include <new>
#include <string_view>

#include "text/text_line.h"

namespace stpconv {

std::span<char> LineBuffer::freeSpace() {
  if (!data_) {
    data_.reset(new (std::nothrow) char[capacity_]);
    if (!data_) return {};
  }
  // Keep only the unfinished line, at the front, so the next read completes it.
  if (begin_ > 0) {
    std::memmove(data_.get(), data_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == capacity_ && !grow()) return {};
  return {data_.get() + end_, capacity_ - end_};
}

// A line that fills the whole buffer has no LF yet; doubling keeps the cost of
// copying it linear in its length, however long it turns out to be.
bool LineBuffer::grow() {
  const std::size_t bigger = capacity_ * 2;
  if (bigger <= capacity_) return false;
  std::unique_ptr<char[]> data(new (std::nothrow) char[bigger]);
  if (!data) return false;
  std::memcpy(data.get(), data_.get(), end_);
  data_ = std::move(data);
  capacity_ = bigger;
  return true;
}

void LineBuffer::commit(std::size_t count) { end_ += count; }

void LineBuffer::takeLines(LineList& lines) {
  const char* const first = data_.get();
  const char* next = first + begin_;
  const char* const end = first + end_;
  // NUL bytes are rare: one scan of the new bytes spares one per line.
  const bool mayHoldNul = next != end && std::memchr(next, '\0', static_cast<std::size_t>(end - next)) != nullptr;
  auto lineText = [mayHoldNul](const char* begin, const char* lineEnd) {
    const std::string_view bytes(begin, static_cast<std::size_t>(lineEnd - begin));
    return mayHoldNul ? widenLine(bytes) : bytes;
  };
  while (next != end) {
    const void* lf = std::memchr(next, '\n', static_cast<std::size_t>(end - next));
    if (lf == nullptr) break;
    const char* lineEnd = static_cast<const char*>(lf);
    lines.append(lineText(next, lineEnd));
    next = lineEnd + 1;
  }
  begin_ = static_cast<std::size_t>(next - first);
  if (atEnd_ && !finished_) {
    lines.append(lineText(next, end));
    begin_ = end_;
    finished_ = true;
  }
}

}  // namespace stpconv
