// The hot path piece by piece, in bytes per second: the line splitter and
// each rule over a block of generated lines, without any I/O.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "convert/conversion_pass.h"
#include "text/line_buffer.h"

namespace {

using stpconv::FileType;

// About 1 MiB of CR LF lines shaped like the benchmark's inputs: one batch.
std::string sampleInput(char separator) {
  std::string text;
  unsigned state = 12345;
  auto next = [&state] { return state = state * 1103515245u + 12345u, (state >> 16) & 0x7fff; };
  text += "Pump 3 stopped\r\n";
  while (text.size() < (1u << 20)) {
    text.append(2 + next() % 19, 'K');
    text += separator;
    text.append(next() % 61, static_cast<char>(0x20 + next() % 95));
    text += "\r\n";
  }
  return text;
}

void BM_LineSplitter(benchmark::State& state) {
  const std::string input = sampleInput(',');
  stpconv::LineList lines;
  for (auto _ : state) {
    stpconv::LineBuffer fresh(input.size() + 1);
    const auto space = fresh.freeSpace();
    std::memcpy(space.data(), input.data(), input.size());
    fresh.commit(input.size());
    fresh.markEnd();
    while (!fresh.finished()) {
      lines.clear();
      fresh.takeLines(lines);
      benchmark::DoNotOptimize(lines.size());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_LineSplitter);

void BM_Rule(benchmark::State& state, FileType type, char separator) {
  const std::string input = sampleInput(separator);
  stpconv::LineBuffer buffer(input.size() + 1);
  const auto space = buffer.freeSpace();
  std::memcpy(space.data(), input.data(), input.size());
  buffer.commit(input.size());
  stpconv::LineList lines;
  buffer.markEnd();
  buffer.takeLines(lines);
  if (!buffer.finished()) state.SkipWithError("the sample does not fit one batch");
  stpconv::EncodedLines out;
  for (auto _ : state) {
    stpconv::ConversionPass pass(type);
    out.clear();
    pass.convertFile(lines, out);
    benchmark::DoNotOptimize(out.bytes().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}
BENCHMARK_CAPTURE(BM_Rule, Ztp, FileType::Ztp, ',');
BENCHMARK_CAPTURE(BM_Rule, Wtw, FileType::Wtw, ',');
BENCHMARK_CAPTURE(BM_Rule, Typ, FileType::Typ, ':');
BENCHMARK_CAPTURE(BM_Rule, Csv, FileType::Csv, ',');

}  // namespace

BENCHMARK_MAIN();
