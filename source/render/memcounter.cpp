#include "memcounter.h"

#include <cstdio>
#include <cstring>

namespace {

// Used bytes, low 32 bits: differences of two such values stay right modulo 2^32.
std::uint32_t Used(std::uint64_t total, std::uint64_t available) {
  return static_cast<std::uint32_t>(total - available);
}

}  // namespace

MemCounter::MemCounter() : m_PhsStart(0), m_PhsEnd(0), m_VirStart(0), m_VirEnd(0) {
  std::memset(&m_Status, 0, sizeof m_Status);
  m_Status.dwLength = sizeof m_Status;
}

MemCounter::~MemCounter() = default;

void MemCounter::Start() {
  GlobalMemoryStatus(&m_Status);
  m_PhsStart = Used(m_Status.dwTotalPhys, m_Status.dwAvailPhys);
  m_VirStart = Used(m_Status.dwTotalVirtual, m_Status.dwAvailVirtual);
}

void MemCounter::Stop() {
  GlobalMemoryStatus(&m_Status);
  m_PhsEnd = Used(m_Status.dwTotalPhys, m_Status.dwAvailPhys);
  m_VirEnd = Used(m_Status.dwTotalVirtual, m_Status.dwAvailVirtual);
}

char* MemCounter::Format(char* szBuf) const {
  if (szBuf == nullptr) return nullptr;
  const unsigned long phsKb = static_cast<std::uint32_t>(m_PhsEnd - m_PhsStart) >> 10;
  const unsigned long virKb = static_cast<std::uint32_t>(m_VirEnd - m_VirStart) >> 10;
  const int written = std::snprintf(szBuf, kBufSize, "PhsMem:%luKB VirMem:%luKB", phsKb, virKb);
  return written > 0 ? szBuf : nullptr;
}
