#include "output/outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace tool {

namespace {

std::string CannotWrite(const std::string& path, int err) {
  return path + ": cannot write: " + std::strerror(err);
}

}  // namespace

COutputFile::COutputFile() = default;

COutputFile::COutputFile(COutputFile&& other) noexcept
    : m_Path(std::move(other.m_Path)), m_TempPath(std::move(other.m_TempPath)) {
  other.m_TempPath.clear();
}

COutputFile::~COutputFile() {
  if (!m_TempPath.empty()) ::unlink(m_TempPath.c_str());
}

bool COutputFile::Open(const std::string& path, std::string& error) {
  const std::size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) {
    error = path + ": cannot write: not a file name";
    return false;
  }
  std::string pattern = dir + "." + base + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    error = CannotWrite(path, errno);
    return false;
  }
  // mkstemp makes the file private (0600); the output gets the usual 0666 less the umask.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
  m_Path = path;
  m_TempPath = name.data();
  return true;
}

bool COutputFile::Write(const std::string& contents, std::string& error) {
  std::FILE* file = std::fopen(m_TempPath.c_str(), "wb");
  if (file == nullptr) {
    error = CannotWrite(m_Path, errno);
    return false;
  }
  const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
  const int writeErrno = errno;
  // fclose flushes: a full disk may show only here.
  if (std::fclose(file) != 0 || !written) {
    error = CannotWrite(m_Path, written ? errno : writeErrno);
    return false;
  }
  return true;
}

bool COutputFile::Commit(std::string& error) {
  if (m_TempPath.empty() || std::rename(m_TempPath.c_str(), m_Path.c_str()) != 0) {
    error = CannotWrite(m_Path, m_TempPath.empty() ? EBADF : errno);
    return false;
  }
  m_TempPath.clear();
  return true;
}

void COutputFile::Uncommit() { ::unlink(m_Path.c_str()); }

bool CommitAll(const std::vector<COutputFile*>& files, std::string& error) {
  for (const COutputFile* file : files) {
    struct stat info;
    if (::stat(file->Path().c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      error = CannotWrite(file->Path(), EISDIR);
      return false;
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!files[i]->Commit(error)) {
      for (std::size_t k = 0; k < i; ++k) files[k]->Uncommit();
      return false;
    }
  }
  return true;
}

}  // namespace tool
