// Writes a realistic input of one format, of about SIZE bytes, from a seed.
// Lines end in CR LF; keys hold 2-20 bytes and values 0-60; some values carry
// further separators, a few lines cannot be used, and WTW files have blank
// lines between some pairs. The same seed always gives the same bytes.
//
// Usage: generate_input FORMAT SIZE OUTPUT [SEED]   (FORMAT: ztp, wtw, typ or csv)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

class Random {  // xorshift64*: fast, and the same everywhere
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint64_t next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 2685821657736338717ull;
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
  std::size_t between(std::size_t low, std::size_t high) { return low + below(high - low + 1); }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kKeyBytes = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";

void appendKey(std::string& line, Random& random, std::size_t low) {
  for (std::size_t n = random.between(low, 20); n > 0; --n) line += kKeyBytes[random.below(kKeyBytes.size())];
}

// Printable ASCII and bytes 160-255, separators included.
void appendValue(std::string& line, Random& random, std::size_t high) {
  for (std::size_t n = random.between(0, high); n > 0; --n) {
    const std::size_t pick = random.below(95 + 96);
    line += static_cast<char>(pick < 95 ? 0x20 + pick : 0xA0 + (pick - 95));
  }
}

void appendRecord(std::string& out, std::string_view format, Random& random) {
  if (format == "wtw") {
    appendKey(out, random, 2);
    out += "\r\n";
    appendValue(out, random, 60);
    out += "\r\n";
    if (random.below(10) == 0) out += "\r\n";
    return;
  }
  const char separator = format == "typ" ? ':' : ',';
  const std::size_t roll = random.below(100);
  if (roll < 2) {
    appendKey(out, random, 0);  // no separator: passed over
  } else if (roll < 3) {
    out += 'X';  // a one-character key: passed over
    out += separator;
    appendValue(out, random, 10);
  } else {
    appendKey(out, random, 2);
    out += separator;
    appendValue(out, random, 60);
  }
  out += "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s FORMAT SIZE OUTPUT [SEED]\n", argv[0]);
    return 2;
  }
  const std::string_view format = argv[1];
  const unsigned long long size = std::strtoull(argv[2], nullptr, 10);
  Random random(argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 42);
  std::FILE* out = std::fopen(argv[3], "wb");
  if (out == nullptr) {
    std::perror(argv[3]);
    return 1;
  }
  std::string chunk;
  if (format == "ztp") chunk += "Pump 3 stopped at station 7\r\n";
  unsigned long long written = 0;
  while (written < size) {
    appendRecord(chunk, format, random);
    if (chunk.size() >= (1u << 20) || written + chunk.size() >= size) {
      if (std::fwrite(chunk.data(), 1, chunk.size(), out) != chunk.size()) {
        std::perror(argv[3]);
        return 1;
      }
      written += chunk.size();
      chunk.clear();
    }
  }
  if (std::fclose(out) != 0) {
    std::perror(argv[3]);
    return 1;
  }
  return 0;
}
