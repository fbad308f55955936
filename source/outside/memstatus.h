// Operating-system memory status: the Linux stand-in for the Windows GlobalMemoryStatus.
//
// Any thread may call GlobalMemoryStatus. A call costs two system calls (sysinfo, and a
// pread of /proc/self/statm on a descriptor kept open), so a pair of snapshots around a
// traced operation costs a few microseconds. Each process opens its own descriptor on its
// first call, a child made by fork() included (a fork handler tells it), so a child reads
// its own figures, not its parent's.
#ifndef ADVICEPATH_OUTSIDE_MEMSTATUS_H_
#define ADVICEPATH_OUTSIDE_MEMSTATUS_H_

#include <cstdint>

// Field meanings follow the Windows record; sizes are bytes.
struct MEMORYSTATUS {
  std::uint32_t dwLength;         // size of this record, set by the caller
  std::uint32_t dwMemoryLoad;     // percent of physical memory in use, 0..100
  std::uint64_t dwTotalPhys;      // bytes of physical memory in the machine
  std::uint64_t dwAvailPhys;      // bytes of physical memory free or reclaimable (free + buffers)
  std::uint64_t dwTotalPageFile;  // bytes of swap
  std::uint64_t dwAvailPageFile;  // bytes of free swap
  std::uint64_t dwTotalVirtual;   // bytes of the process's address space (limit or user space)
  std::uint64_t dwAvailVirtual;   // bytes of that space not mapped by the process
};

// Fills `status` (all fields but dwLength). Fields it cannot read are 0; a null pointer is
// ignored.
void GlobalMemoryStatus(MEMORYSTATUS* status);

// Number of GlobalMemoryStatus calls with a record in this process so far, on any thread:
// what a caller's memory snapshots cost shows up here.
unsigned long GetMemoryStatusCount();

#endif  // ADVICEPATH_OUTSIDE_MEMSTATUS_H_
