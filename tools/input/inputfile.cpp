#include "input/inputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tool {

namespace {

// Files larger than this are refused rather than read: far above any route or size table.
constexpr off_t kMaxFileBytes = off_t{256} << 20;

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& text, std::string& error) {
  const bool standardInput = path == "-";
  const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::string("cannot read: ") + std::strerror(errno);
    return false;
  }
  struct stat info;
  bool ok = ::fstat(fd, &info) == 0;
  if (!ok) {
    error = std::string("cannot read: ") + std::strerror(errno);
  } else if (!standardInput && !S_ISREG(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? "cannot read: is a directory" : "cannot read: not a file";
    ok = false;
  } else if (info.st_size > kMaxFileBytes) {
    error = "cannot read: larger than 256 MiB";
    ok = false;
  }
  text.clear();
  char buffer[65536];
  while (ok) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = std::string("cannot read: ") + std::strerror(errno);
      ok = false;
      break;
    }
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > static_cast<std::size_t>(kMaxFileBytes)) {
      error = "cannot read: larger than 256 MiB";
      ok = false;
    }
  }
  if (!standardInput) ::close(fd);
  return ok;
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  }
  return text;
}

}  // namespace tool
