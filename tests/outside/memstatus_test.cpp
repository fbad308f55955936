#include "memstatus.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// User address space of an x86-64 or AArch64 process with 4-level page tables, bytes.
constexpr std::uint64_t kUserSpace = std::uint64_t{1} << 47;
constexpr std::uint64_t kTiB = std::uint64_t{1} << 40;

MEMORYSTATUS Snapshot() {
  MEMORYSTATUS status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return status;
}

std::uint64_t UsedVirtual() {
  const MEMORYSTATUS status = Snapshot();
  return status.dwTotalVirtual - status.dwAvailVirtual;
}

// Ends a death-test child: status 0, or 1 with `reason` on stderr when `ok` is false. exit
// rather than _exit, so that the child's buffers and coverage counts are written too.
[[noreturn]] void ExitChecked(bool ok, const char* reason) {
  if (!ok) std::fprintf(stderr, "%s\n", reason);
  std::exit(ok ? 0 : 1);
}

// Sets the soft limit of `resource`; false when the hard limit does not allow it.
bool SetSoftLimit(int resource, rlim_t soft) {
  struct rlimit limit;
  if (getrlimit(resource, &limit) != 0) return false;
  limit.rlim_cur = soft;
  return setrlimit(resource, &limit) == 0;
}

// In a process that has taken no snapshot yet: takes the first one under a soft
// address-space limit of `limit` bytes, lifts the limit again, and checks the virtual
// figures. Ends the process (ExitChecked).
[[noreturn]] void FirstSnapshotUnderLimit(rlim_t limit, std::uint64_t total, bool anyAvailable) {
  struct rlimit old;
  if (getrlimit(RLIMIT_AS, &old) != 0 || !SetSoftLimit(RLIMIT_AS, limit)) {
    ExitChecked(false, "the limit cannot be set");
  }
  const MEMORYSTATUS status = Snapshot();
  setrlimit(RLIMIT_AS, &old);
  if (status.dwTotalVirtual != total) ExitChecked(false, "wrong dwTotalVirtual");
  ExitChecked(anyAvailable ? status.dwAvailVirtual > 0 && status.dwAvailVirtual < total
                           : status.dwAvailVirtual == 0,
              "wrong dwAvailVirtual");
}

TEST(GlobalMemoryStatusTest, NullRecordIsIgnoredAndNotCounted) {
  const unsigned long before = GetMemoryStatusCount();
  GlobalMemoryStatus(nullptr);
  EXPECT_EQ(GetMemoryStatusCount(), before);
  const MEMORYSTATUS status = Snapshot();
  EXPECT_EQ(GetMemoryStatusCount(), before + 1);
  EXPECT_GT(status.dwTotalPhys, 0u);
  EXPECT_LE(status.dwMemoryLoad, 100u);
}

TEST(GlobalMemoryStatusTest, AddressSpaceIsTheLimitBelowTheUserSpaceElseTheUserSpace) {
  // The limit is read at a process's first snapshot: each case runs in a new process.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const struct {
    rlim_t limit;
    std::uint64_t total;
    bool anyAvailable;
  } cases[] = {
      {1u << 20, 1u << 20, false},  // below what the process maps already: none available
      {100 * kTiB, 100 * kTiB, true},
      {kUserSpace + kTiB, kUserSpace, true},
      {RLIM_INFINITY, kUserSpace, true},
  };
  struct rlimit hard;
  ASSERT_EQ(getrlimit(RLIMIT_AS, &hard), 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.limit);
    if (hard.rlim_max != RLIM_INFINITY && (c.limit == RLIM_INFINITY || c.limit > hard.rlim_max)) {
      continue;  // the hard limit of this machine does not allow the case
    }
    EXPECT_EXIT(FirstSnapshotUnderLimit(c.limit, c.total, c.anyAvailable),
                ::testing::ExitedWithCode(0), "");
  }
}

TEST(GlobalMemoryStatusTest, ChildAfterForkReadsItsOwnAddressSpace) {
  // Fault: the statm descriptor opened before fork went on reading the parent's figures in
  // the child, and read nothing once the parent had exited.
  const std::uint64_t parentUsed = UsedVirtual();  // opens this process's descriptor
  ASSERT_GT(parentUsed, 0u);
  EXPECT_EXIT(
      {
        // 1 GiB of address space the parent never maps.
        const std::size_t bytes = std::size_t{1} << 30;
        void* block =
            mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (block == MAP_FAILED) ExitChecked(false, "no address space to map");
        ExitChecked(UsedVirtual() >= parentUsed + bytes / 2,
                    "the child saw its parent's address space");
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_GT(UsedVirtual(), 0u);  // the parent still reads its own
}

TEST(GlobalMemoryStatusTest, StatmThatCannotBeOpenedReadsAsNothingUsedUntilTheNextProcess) {
  // The descriptor is opened at a process's first snapshot: the case runs in a new process,
  // whose descriptors run out (soft limit 0) for that snapshot.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        struct rlimit old;
        if (getrlimit(RLIMIT_NOFILE, &old) != 0 || !SetSoftLimit(RLIMIT_NOFILE, 0)) {
          ExitChecked(false, "the descriptor limit cannot be set");
        }
        const MEMORYSTATUS first = Snapshot();
        setrlimit(RLIMIT_NOFILE, &old);
        // The physical figures come from elsewhere; the failed open is not tried again.
        const MEMORYSTATUS again = Snapshot();
        if (first.dwTotalPhys == 0 || first.dwAvailVirtual != first.dwTotalVirtual ||
            again.dwAvailVirtual != again.dwTotalVirtual) {
          ExitChecked(false, "used address space without a statm descriptor");
        }
        // A child made by fork opens its own.
        std::fflush(nullptr);  // the child's exit must not write this process's buffers again
        const pid_t child = fork();
        if (child == 0) ExitChecked(UsedVirtual() > 0, "the child read nothing");
        int status = 0;
        ExitChecked(child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                        WEXITSTATUS(status) == 0,
                    "the child failed");
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
