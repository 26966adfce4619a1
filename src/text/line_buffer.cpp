#include "text/line_buffer.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
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

namespace {

// Calls `onLine(begin, end)` for every line that ends with an LF in
// [next, end), and returns where the unfinished rest starts. Lines are
// mostly short, so on x86-64 the LFs of 16 bytes at a time are found with
// one compare instead of one library call per line.
template <typename OnLine>
const char* forEachLine(const char* next, const char* const end, OnLine onLine) {
  const char* scan = next;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  for (; end - scan >= 16; scan += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(scan));
    auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf)));
    while (found != 0) {
      const char* lineEnd = scan + __builtin_ctz(found);
      onLine(next, lineEnd);
      next = lineEnd + 1;
      found &= found - 1;
    }
  }
#endif
  for (;;) {
    const void* lf = std::memchr(scan, '\n', static_cast<std::size_t>(end - scan));
    if (lf == nullptr) return next;
    const char* lineEnd = static_cast<const char*>(lf);
    onLine(next, lineEnd);
    next = scan = lineEnd + 1;
  }
}

}  // namespace

void LineBuffer::takeLines(LineList& lines) {
  const char* const first = data_.get();
  const char* next = first + begin_;
  const char* const end = first + end_;
  // NUL bytes are rare: one scan of the new bytes spares one per line.
  const bool mayHoldNul = next != end && std::memchr(next, '\0', static_cast<std::size_t>(end - next)) != nullptr;
  auto append = [&lines, mayHoldNul](const char* begin, const char* lineEnd) {
    const std::string_view bytes(begin, static_cast<std::size_t>(lineEnd - begin));
    lines.append(mayHoldNul ? widenLine(bytes) : bytes);
  };
  if (next != end) next = forEachLine(next, end, append);
  begin_ = static_cast<std::size_t>(next - first);
  if (atEnd_ && !finished_) {
    append(next, end);
    begin_ = end_;
    finished_ = true;
  }
}

}  // namespace stpconv
