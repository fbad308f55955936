#include "memstatus.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace {

// Calls of GlobalMemoryStatus with a record, for GetMemoryStatusCount.
std::atomic<unsigned long> g_MemoryStatusCount{0};

// User address space of an x86-64 or AArch64 process with 4-level page tables: 128 TiB.
constexpr std::uint64_t kUserAddressSpace = 1ull << 47;

// The process's address-space size: its RLIMIT_AS when finite, else the user space size.
std::uint64_t AddressSpaceTotal() {
  struct rlimit limit;
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      limit.rlim_cur < kUserAddressSpace) {
    return limit.rlim_cur;
  }
  return kUserAddressSpace;
}

// Bytes of address space the process maps now: the first field of /proc/self/statm (pages).
// The descriptor is opened once and read with pread, so a snapshot never reopens the file.
std::uint64_t AddressSpaceUsed() {
  static const int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  static const long pageSize = sysconf(_SC_PAGESIZE);
  if (fd < 0 || pageSize <= 0) return 0;
  char buf[64];
  const ssize_t got = pread(fd, buf, sizeof buf - 1, 0);
  if (got <= 0) return 0;
  buf[got] = '\0';
  return std::strtoull(buf, nullptr, 10) * static_cast<std::uint64_t>(pageSize);
}

}  // namespace

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (status == nullptr) return;
  g_MemoryStatusCount.fetch_add(1, std::memory_order_relaxed);
  struct sysinfo info;
  if (sysinfo(&info) == 0) {
    const std::uint64_t unit = info.mem_unit != 0 ? info.mem_unit : 1;
    status->dwTotalPhys = info.totalram * unit;
    status->dwAvailPhys = (info.freeram + info.bufferram) * unit;
    status->dwTotalPageFile = info.totalswap * unit;
    status->dwAvailPageFile = info.freeswap * unit;
  } else {
    status->dwTotalPhys = status->dwAvailPhys = 0;
    status->dwTotalPageFile = status->dwAvailPageFile = 0;
  }
  status->dwMemoryLoad =
      status->dwTotalPhys == 0
          ? 0
          : static_cast<std::uint32_t>(100 - status->dwAvailPhys * 100 / status->dwTotalPhys);
  static const std::uint64_t total = AddressSpaceTotal();
  const std::uint64_t used = AddressSpaceUsed();
  status->dwTotalVirtual = total;
  status->dwAvailVirtual = used < total ? total - used : 0;
}

unsigned long GetMemoryStatusCount() { return g_MemoryStatusCount.load(std::memory_order_relaxed); }
