#include "memstatus.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>

namespace {

std::uint64_t UsedVirtual() {
  MEMORYSTATUS status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return status.dwTotalVirtual - status.dwAvailVirtual;
}

TEST(GlobalMemoryStatusTest, ChildAfterForkReadsItsOwnAddressSpace) {
  // Fault: the statm descriptor opened before fork went on reading the parent's figures in
  // the child, and read nothing once the parent had exited.
  const std::uint64_t parentUsed = UsedVirtual();  // opens this process's descriptor
  ASSERT_GT(parentUsed, 0u);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Only system calls from here on: 1 GiB of address space the parent never maps.
    const std::size_t bytes = std::size_t{1} << 30;
    void* block =
        mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (block == MAP_FAILED) _exit(2);
    _exit(UsedVirtual() >= parentUsed + bytes / 2 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the child saw its parent's address space";
  EXPECT_GT(UsedVirtual(), 0u);  // the parent still reads its own
}

}  // namespace
