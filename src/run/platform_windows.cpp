// Windows: the same calls through the C runtime's low-level I/O. Files are
// always opened in binary mode; standard output is switched to binary so the
// echo carries the file's exact bytes, and standard input keeps the console's
// text mode, so a typed line arrives with LF as its end.
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "run/platform.h"

namespace stpconv::platform {
namespace {

// The runtime takes counts as unsigned int; larger requests go in pieces.
constexpr std::size_t kLargestCall = std::size_t{1} << 30;

bool isUsableName(const std::string& name) { return name.find('\0') == std::string::npos; }

int openName(const std::string& name, int flags, int mode = 0) {
  if (!isUsableName(name)) return -1;
  int fd = -1;
  // Shared like a POSIX file: another program may read or write it meanwhile.
  if (::_sopen_s(&fd, name.c_str(), flags | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, mode) != 0) return -1;
  return fd;
}

struct FileIdentity {
  DWORD volume = 0, indexHigh = 0, indexLow = 0;
  bool operator==(const FileIdentity&) const = default;
};

bool identify(HANDLE handle, FileIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &info)) return false;
  identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return true;
}

bool identify(int fd, FileIdentity& identity) {
  return identify(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), identity);
}

}  // namespace

const std::string_view kConsoleLineEnd = "\r\n";

void prepareProcess() {
  std::fflush(stdout);
  (void)::_setmode(::_fileno(stdout), _O_BINARY);
}

int openForReading(const std::string& name) { return openName(name, _O_RDONLY); }

int createForWriting(const std::string& name) {
  return openName(name, _O_WRONLY | _O_CREAT | _O_TRUNC, _S_IREAD | _S_IWRITE);
}

int openForRewriting(const std::string& name) { return openName(name, _O_WRONLY); }

int createScratchFileBeside(const std::string& name) {
  if (!isUsableName(name)) return -1;
  const std::size_t separator = name.find_last_of("/\\");
  const std::string folder = separator == std::string::npos ? std::string() : name.substr(0, separator + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string scratch =
        folder + ".stpconv-" + std::to_string(::_getpid()) + "-" + std::to_string(attempt) + ".tmp";
    // Removed by the system when closed, whatever way the program ends.
    const int fd = openName(scratch, _O_RDWR | _O_CREAT | _O_EXCL | _O_TEMPORARY, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

long long readSome(int fd, std::span<char> space) {
  const auto count = static_cast<unsigned>(space.size() < kLargestCall ? space.size() : kLargestCall);
  return ::_read(fd, space.data(), count);
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto count = static_cast<unsigned>(bytes.size() < kLargestCall ? bytes.size() : kLargestCall);
    const int n = ::_write(fd, bytes.data(), count);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool rewindAndEmpty(int from, int to) {
  return ::_lseeki64(from, 0, SEEK_SET) == 0 && ::_chsize_s(to, 0) == 0 && ::_lseeki64(to, 0, SEEK_SET) == 0;
}

bool closeFile(int fd) { return ::_close(fd) == 0; }

bool isSameFile(const std::string& name, int fd) {
  if (!isUsableName(name)) return false;
  const HANDLE named = ::CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  FileIdentity a, b;
  const bool same = identify(named, a) && identify(fd, b) && a == b;
  if (named != INVALID_HANDLE_VALUE) ::CloseHandle(named);
  return same;
}

bool isSameRegularFile(int fdA, int fdB) {
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fdA));
  if (handle == INVALID_HANDLE_VALUE || ::GetFileType(handle) != FILE_TYPE_DISK) return false;
  FileIdentity a, b;
  return identify(fdA, a) && identify(fdB, b) && a == b;
}

}  // namespace stpconv::platform
