// The console: standard output for the prompt, the messages and the echo;
// standard input for the typed name and the closing wait.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace stpconv {

/// Standard output and standard input, tied: whatever was written is
/// flushed before every read. A failed write to standard output silences it
/// for the rest of the run; nothing else depends on the console.
class Console {
 public:
  Console(int inputFd, int outputFd) : inputFd_(inputFd), outputFd_(outputFd) {}
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
  ~Console() { flush(); }

  /// Writes console text: the prompt or a message.
  void print(std::string_view text) { write(text); }
  /// Writes converted bytes, unless the echo has been turned off.
  void echo(std::string_view bytes);
  /// Turns the echo off, for when standard output is the input file itself.
  void stopEcho() { echoing_ = false; }
  void flush();

  /// Reads one word: skips white space, then takes every byte up to the next
  /// white space or the end of the input. The byte that ends it stays unread.
  [[nodiscard]] std::string readWord();
  /// The closing wait: returns at the end of the input or before an LF, or
  /// after taking one other byte; at once when the input has already ended.
  void waitForEnter();

 private:
  void write(std::string_view bytes);
  [[nodiscard]] bool peekInput(char& c);

  static constexpr std::size_t kPendingLimit = std::size_t{64} * 1024;
  static constexpr std::size_t kInputBlock = 4096;

  int inputFd_;
  int outputFd_;
  bool outputBroken_ = false;
  bool echoing_ = true;
  std::string pending_;  // output not yet written: small pieces are gathered
  char input_[kInputBlock] = {};
  std::size_t inputBegin_ = 0;
  std::size_t inputEnd_ = 0;
  bool inputEnded_ = false;
};

/// Shows the prompt and reads the name typed at it (empty at the end of the input).
[[nodiscard]] std::string promptForFileName(Console& console);
/// Waits once after a failure, so that the message stays on screen.
void waitForEnter(Console& console);

}  // namespace stpconv
