#include "memstatus.h"

#include <fcntl.h>
#include <pthread.h>
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

// The process's address-space size: its RLIMIT_AS when below the user space size (no limit,
// RLIM_INFINITY, is above it), else the user space size. getrlimit fails only for a bad
// pointer or resource; the record starts as "no limit" all the same.
std::uint64_t AddressSpaceTotal() {
  struct rlimit limit = {RLIM_INFINITY, RLIM_INFINITY};
  getrlimit(RLIMIT_AS, &limit);
  return limit.rlim_cur < kUserAddressSpace ? limit.rlim_cur : kUserAddressSpace;
}

// This process's id once a snapshot has asked for it, else 0. getpid is a system call, so
// it is asked once per process: a child made by fork() starts again from 0, because the
// fork handler below clears it there.
std::atomic<pid_t> g_SelfPid{0};

void ForgetPidInChild() { g_SelfPid.store(0, std::memory_order_relaxed); }

pid_t SelfPid() {
  // Registered before the process's first snapshot, so every later fork() runs it.
  static const bool s_isForkHandled = pthread_atfork(nullptr, nullptr, ForgetPidInChild) == 0;
  if (!s_isForkHandled) return getpid();
  pid_t self = g_SelfPid.load(std::memory_order_relaxed);
  if (self == 0) {
    self = getpid();
    g_SelfPid.store(self, std::memory_order_relaxed);
  }
  return self;
}

// The descriptor of /proc/self/statm and the process that opened it, packed as
// (pid << 32) | descriptor so that both are read and replaced together. 0 before the first
// snapshot. A child after fork inherits its parent's descriptor, which goes on naming the
// parent's file (/proc/self is resolved at open), so a process uses it only when the pid is
// its own and otherwise opens its own.
std::atomic<std::uint64_t> g_StatmFile{0};

std::uint64_t PackStatm(pid_t pid, int fd) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(pid)) << 32) |
         static_cast<std::uint32_t>(fd);
}

// The statm descriptor of this process, -1 when it cannot be opened (then not retried).
int StatmDescriptor() {
  const pid_t self = SelfPid();
  std::uint64_t seen = g_StatmFile.load(std::memory_order_acquire);
  if (static_cast<pid_t>(seen >> 32) == self) return static_cast<int>(seen & 0xffffffffu);
  // First snapshot of this process. Another thread may get here too: the first to publish
  // its descriptor wins, the other closes its own. No thread of this process uses an
  // inherited descriptor, so the winner may close it.
  const int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  const std::uint64_t mine = PackStatm(self, fd);
  if (g_StatmFile.compare_exchange_strong(seen, mine, std::memory_order_acq_rel)) {
    const int inherited = static_cast<int>(seen & 0xffffffffu);
    if (seen != 0 && inherited >= 0) close(inherited);
    return fd;
  }
  if (fd >= 0) close(fd);
  return static_cast<int>(seen & 0xffffffffu);
}

// Bytes of address space the process maps now: the first field of /proc/self/statm (pages).
// The descriptor is opened once per process and read with pread, so a snapshot never
// reopens the file.
std::uint64_t AddressSpaceUsed() {
  // Bytes; sysconf never fails for the page size on Linux.
  static const std::uint64_t pageSize = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  const int fd = StatmDescriptor();
  if (fd < 0) return 0;
  char buf[64];
  const ssize_t got = pread(fd, buf, sizeof buf - 1, 0);
  if (got <= 0) return 0;
  buf[got] = '\0';
  return std::strtoull(buf, nullptr, 10) * pageSize;
}

}  // namespace

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (status == nullptr) return;
  g_MemoryStatusCount.fetch_add(1, std::memory_order_relaxed);
  // sysinfo fails only for a bad pointer; a record left zeroed would give 0 everywhere.
  // Its sizes are in units of mem_unit bytes, which Linux sets to 1 or more.
  struct sysinfo info = {};
  sysinfo(&info);
  const std::uint64_t unit = info.mem_unit;
  status->dwTotalPhys = info.totalram * unit;
  status->dwAvailPhys = (info.freeram + info.bufferram) * unit;
  status->dwTotalPageFile = info.totalswap * unit;
  status->dwAvailPageFile = info.freeswap * unit;
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
