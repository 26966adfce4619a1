// Output lines in the byte form in which they leave the tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string_view>

// GCC announces AddressSanitizer with a macro, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define STPCONV_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STPCONV_SANITIZED 1
#endif
#endif

#if defined(__x86_64__) && !defined(STPCONV_SANITIZED)
#define STPCONV_REP_MOVSB 1
#endif

namespace stpconv {

/// True where the processor copies short runs fast with one string move
/// instruction (x86-64 with FSRM). Sanitized builds never use it, so that
/// every copy stays checked.
extern const bool kShortStringMoveIsFast;

/// Copies `n` bytes. Fields are short and of any length, so both a library
/// call and a branch on the length cost more than the copy itself: where the
/// processor has it, one string move does it; elsewhere up to 32 bytes are
/// moved with two overlapping fixed-size loads and stores. No byte outside
/// either range is touched.
inline void copyBytes(char* to, const char* from, std::size_t n) {
#if defined(STPCONV_REP_MOVSB)
  if (kShortStringMoveIsFast) {
    asm volatile("rep movsb" : "+D"(to), "+S"(from), "+c"(n) : : "memory");
    return;
  }
#endif
  auto copyEnds = [&](auto word) {
    decltype(word) head, tail;
    std::memcpy(&head, from, sizeof word);
    std::memcpy(&tail, from + n - sizeof word, sizeof word);
    std::memcpy(to, &head, sizeof word);
    std::memcpy(to + n - sizeof word, &tail, sizeof word);
  };
  struct Block16 {
    std::uint64_t a, b;
  };
  if (n > 32) {
    std::memcpy(to, from, n);
  } else if (n >= 16) {
    copyEnds(Block16{});
  } else if (n >= 8) {
    copyEnds(std::uint64_t{});
  } else if (n >= 4) {
    copyEnds(std::uint32_t{});
  } else if (n >= 2) {
    copyEnds(std::uint16_t{});
  } else if (n == 1) {
    *to = *from;
  }
}

/// Converted lines, in order, already in their byte form: the LF that ends
/// each line is stored as CR LF, and every other character as its own byte.
/// The file and the console echo both receive exactly these bytes.
class EncodedLines {
 public:
  static constexpr std::string_view kLineEnd = "\r\n";

  /// Appends one line made of `pieces` followed by the line end. No piece
  /// holds an LF: pieces come from input lines, which are split at LF.
  void appendLine(std::initializer_list<std::string_view> pieces) {
    std::size_t length = kLineEnd.size();
    for (std::string_view piece : pieces) length += piece.size();
    char* out = reserve(length);
    for (std::string_view piece : pieces) {
      copyBytes(out, piece.data(), piece.size());
      out += piece.size();
    }
    std::memcpy(out, kLineEnd.data(), kLineEnd.size());
    size_ += length;
  }
  /// Appends `left` TAB `right` and the line end: the shape of every line
  /// but the ZTP event message.
  void appendFields(std::string_view left, std::string_view right) {
    const std::size_t length = left.size() + 1 + right.size();
    char* out = reserve(length + kLineEnd.size());
    if (right.data() == left.data() + left.size() + 1) {
      // Fields split out of one line at a separator: one copy, then the TAB over the separator.
      copyBytes(out, left.data(), length);
    } else {
      copyBytes(out, left.data(), left.size());
      copyBytes(out + left.size() + 1, right.data(), right.size());
    }
    out[left.size()] = '\t';
    std::memcpy(out + length, kLineEnd.data(), kLineEnd.size());
    size_ += length + kLineEnd.size();
  }
  void clear() { size_ = 0; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] std::string_view bytes() const { return {data_.get(), size_}; }

 private:
  // Room for `length` more bytes; growing is rare, as a cleared batch keeps its room.
  char* reserve(std::size_t length) {
    if (capacity_ - size_ < length) grow(length);
    return data_.get() + size_;
  }
  void grow(std::size_t length) {
    std::size_t capacity = capacity_ == 0 ? kInitialCapacity : capacity_;
    while (capacity - size_ < length) capacity *= 2;
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ != 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }

  static constexpr std::size_t kInitialCapacity = std::size_t{16} * 1024;
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace stpconv
