#include "text/line_buffer.h"

#include <cstddef>
#include <cstdint>
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

// The LFs among the 64 bytes at `at`, one bit each.
std::uint64_t lineEndsIn64(const char* at) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  std::uint64_t mask = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + std::ptrdiff_t{16} * i));
    mask |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf)))} << (16 * i);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) mask |= std::uint64_t{at[i] == '\n'} << i;
  return mask;
#endif
}

// Whether `byte` occurs in [from, to); an empty range holds nothing.
bool holds(const char* from, const char* to, char byte) {
  return from != to && std::memchr(from, byte, static_cast<std::size_t>(to - from)) != nullptr;
}

int lowestBit(std::uint64_t mask) { return mask == 0 ? 0 : __builtin_ctzll(mask); }

// Writes the positions of the LFs in [scan, end) to `ends`, at most `room`
// of them, and returns how many. Lines are mostly short and of any length, so
// a branch per line end would be mispredicted half the time: 64 bytes are
// scanned at once, and their first four line ends are written whatever their
// number, so that only a chunk with more than four branches differently. A
// chunk is scanned only while 64 entries of room are left, so those
// unconditional writes always land inside the room.
std::size_t findLineEnds(const char* scan, const char* const end, const char** ends, std::size_t room) {
  std::size_t count = 0;
  constexpr std::size_t kChunk = 64;
  for (; end - scan >= static_cast<std::ptrdiff_t>(kChunk) && room - count >= kChunk; scan += kChunk) {
    std::uint64_t mask = lineEndsIn64(scan);
    const auto found = static_cast<std::size_t>(__builtin_popcountll(mask));
    const char** out = ends + count;
    for (int i = 0; i < 4; ++i) {
      out[i] = scan + lowestBit(mask);
      mask &= mask - 1;
    }
    for (out += 4; mask != 0; mask &= mask - 1) *out++ = scan + lowestBit(mask);
    count += found;
  }
  while (count < room && scan != end) {
    const void* lf = std::memchr(scan, '\n', static_cast<std::size_t>(end - scan));
    if (lf == nullptr) break;
    ends[count++] = static_cast<const char*>(lf);
    scan = static_cast<const char*>(lf) + 1;
  }
  return count;
}

}  // namespace

void LineBuffer::takeLines(LineList& lines) {
  const char* const first = data_.get();
  const char* next = first + begin_;
  const char* const end = first + end_;
  // NUL bytes are rare: one scan of the new bytes spares one per line.
  const bool mayHoldNul = holds(next, end, '\0');
  auto text = [mayHoldNul](const char* begin, const char* lineEnd) {
    const std::string_view bytes(begin, static_cast<std::size_t>(lineEnd - begin));
    return mayHoldNul ? widenLine(bytes) : bytes;
  };
  const std::span<std::string_view> room = lines.room();
  if (lineEnds_.size() < room.size()) lineEnds_.resize(room.size());
  const std::size_t found = findLineEnds(next, end, lineEnds_.data(), room.size());
  for (std::size_t i = 0; i < found; ++i) {
    room[i] = text(next, lineEnds_[i]);
    next = lineEnds_[i] + 1;
  }
  lines.grow(found);
  begin_ = static_cast<std::size_t>(next - first);
  // The last line follows only once every complete line has been taken.
  if (atEnd_ && !finished_ && !lines.full() && !holds(next, end, '\n')) {
    lines.append(text(next, end));
    begin_ = end_;
    finished_ = true;
  }
}

}  // namespace stpconv
