#include "run/console.h"

#include "run/platform.h"

namespace stpconv {
namespace {

bool isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

void Console::echo(std::string_view bytes) {
  if (echoing_) write(bytes);
}

// Small pieces are gathered so that a run of short batches does not cost a
// system call each; a large piece goes out directly, after what it follows.
void Console::write(std::string_view bytes) {
  if (outputBroken_) return;
  if (pending_.size() + bytes.size() <= kPendingLimit) {
    pending_.append(bytes);
    return;
  }
  flush();
  if (!outputBroken_ && !platform::writeAll(outputFd_, bytes)) outputBroken_ = true;
}

void Console::flush() {
  if (!outputBroken_ && !pending_.empty() && !platform::writeAll(outputFd_, pending_)) outputBroken_ = true;
  pending_.clear();
}

bool Console::peekInput(char& c) {
  if (inputBegin_ == inputEnd_) {
    if (inputEnded_) return false;
    flush();  // a message must show before the console is read
    const long long n = platform::readSome(inputFd_, {input_, kInputBlock});
    if (n <= 0) {
      inputEnded_ = true;  // an unreadable console counts as one that has ended
      return false;
    }
    inputBegin_ = 0;
    inputEnd_ = static_cast<std::size_t>(n);
  }
  c = input_[inputBegin_];
  return true;
}

std::string Console::readWord() {
  std::string word;
  char c = 0;
  while (peekInput(c) && isWhiteSpace(c)) ++inputBegin_;
  while (peekInput(c) && !isWhiteSpace(c)) {
    word.push_back(c);
    ++inputBegin_;
  }
  return word;
}

void Console::waitForEnter() {
  flush();
  char c = 0;
  if (peekInput(c) && c != '\n') ++inputBegin_;
}

std::string promptForFileName(Console& console) {
  console.print("INPUT THE FILE NAME TO CONVERT:");
  console.print(platform::kConsoleLineEnd);
  return console.readWord();
}

void waitForEnter(Console& console) { console.waitForEnter(); }

}  // namespace stpconv
