// Arbitrary bytes through one file type's conversion, cut into arbitrary
// reads: the result must equal converting the same bytes in one piece, and
// every output line must end in CR LF and hold no NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "convert_bytes.h"

#ifndef FUZZ_FILE_TYPE
#error "FUZZ_FILE_TYPE names the file type under test"
#endif

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void checkLines(std::string_view output) {
  check(output.find('\0') == std::string_view::npos);
  check(output.empty() || output.ends_with("\r\n"));
  for (std::size_t lf = output.find('\n'); lf != std::string_view::npos; lf = output.find('\n', lf + 1)) {
    check(lf > 0 && output[lf - 1] == '\r');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using stpconv::testing::convertBytes;
  constexpr auto type = static_cast<stpconv::FileType>(FUZZ_FILE_TYPE);
  // The first two bytes choose how the input is cut: reads, blocks and batches.
  const std::size_t cut = size > 0 ? data[0] : 0;
  const std::size_t batch = 1 + (size > 1 ? data[1] % 8 : 0);
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string whole = convertBytes(type, input, input.size() + 1, input.size() + 1, input.size() + 2);
  checkLines(whole);
  check(whole == convertBytes(type, input, 1 + cut % 17, 1 + cut / 17, batch));
  return 0;
}
