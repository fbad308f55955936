// MemCounter: traces the memory cost of one operation as the change of used physical and
// used virtual memory between two snapshots.
//
// A small value object; each traced operation owns one on its stack. One thread at a time.
#ifndef ADVICEPATH_RENDER_MEMCOUNTER_H_
#define ADVICEPATH_RENDER_MEMCOUNTER_H_

#include <cstdint>

#include "memstatus.h"

class MemCounter {
 public:
  // Size of the buffer Format writes into, in characters.
  static constexpr int kBufSize = 128;

  // Record length set, all four values 0.
  MemCounter();
  ~MemCounter();

  // First snapshot: used physical and used virtual memory (total minus available, bytes,
  // low 32 bits).
  void Start();
  // Second snapshot.
  void Stop();
  // Writes "PhsMem:%luKB VirMem:%luKB" with (end - start) >> 10 of physical, then virtual
  // memory (32-bit unsigned differences, so a shrink shows as a large number) into `szBuf`,
  // which must hold kBufSize characters. Returns szBuf, or null when it is null or nothing
  // could be written.
  char* Format(char* szBuf) const;

 private:
  MEMORYSTATUS m_Status;     // the last snapshot's record
  std::uint32_t m_PhsStart;  // bytes of physical memory used at Start
  std::uint32_t m_PhsEnd;    // bytes of physical memory used at Stop
  std::uint32_t m_VirStart;  // bytes of virtual memory used at Start
  std::uint32_t m_VirEnd;    // bytes of virtual memory used at Stop
};

#endif  // ADVICEPATH_RENDER_MEMCOUNTER_H_
