// The operating system as the run sees it: file descriptors, checked calls,
// and the process set-up. Everything that differs between systems is here.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace stpconv::platform {

inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;

/// The line end that follows the prompt on this system's console.
extern const std::string_view kConsoleLineEnd;

/// Makes the process safe to run from anywhere: a closed standard stream is
/// replaced by the null device (so no file of ours lands on it), and a
/// broken pipe or a file size limit turns into a failed write, not a signal.
void prepareProcess();

/// Opens an existing file for reading as raw bytes; -1 when it cannot be.
[[nodiscard]] int openForReading(const std::string& name);
/// Creates a file, or empties an existing one, for writing raw bytes; -1 on failure.
[[nodiscard]] int createForWriting(const std::string& name);
/// Opens an existing file for writing without emptying it; -1 on failure.
[[nodiscard]] int openForRewriting(const std::string& name);
/// Creates a nameless scratch file in the folder of `name`; -1 on failure.
[[nodiscard]] int createScratchFileBeside(const std::string& name);

/// One read of up to `space.size()` bytes: the count, 0 at the end, -1 on error.
[[nodiscard]] long long readSome(int fd, std::span<char> space);
/// Writes every byte, through short writes and interruptions.
[[nodiscard]] bool writeAll(int fd, std::string_view bytes);
/// Moves `from` back to its start and empties `to`, ready for copying one into the other.
[[nodiscard]] bool rewindAndEmpty(int from, int to);
/// Closes `fd`; false when the system reports that the data may be lost.
[[nodiscard]] bool closeFile(int fd);

/// True when `name` leads to the same file as the open `fd` (a link, say).
[[nodiscard]] bool isSameFile(const std::string& name, int fd);
/// True when two open descriptors refer to one regular file.
[[nodiscard]] bool isSameRegularFile(int fdA, int fdB);

}  // namespace stpconv::platform
