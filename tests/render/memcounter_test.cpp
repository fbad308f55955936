#include "memcounter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdio>
#include <cstring>

namespace {

using ::testing::MatchesRegex;

TEST(MemCounterTest, FreshCounterFormatsZeroes) {
  const MemCounter counter;
  char szBuf[MemCounter::kBufSize];
  ASSERT_EQ(counter.Format(szBuf), szBuf);
  EXPECT_STREQ(szBuf, "PhsMem:0KB VirMem:0KB");
  EXPECT_EQ(counter.Format(nullptr), nullptr);
}

TEST(MemCounterTest, MappingBetweenSnapshotsShowsAsVirtualMemory) {
  const std::size_t bytes = 64u << 20;
  MemCounter counter;
  counter.Start();
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(block, MAP_FAILED);
  counter.Stop();
  munmap(block, bytes);
  char szBuf[MemCounter::kBufSize];
  ASSERT_NE(counter.Format(szBuf), nullptr);
  EXPECT_THAT(szBuf, MatchesRegex("PhsMem:[0-9]+KB VirMem:[0-9]+KB"));
  unsigned long phs = 0;
  unsigned long vir = 0;
  ASSERT_EQ(std::sscanf(szBuf, "PhsMem:%luKB VirMem:%luKB", &phs, &vir), 2);
  EXPECT_GE(vir, bytes >> 10);
}

TEST(MemCounterTest, ShrinkBetweenSnapshotsWrapsAndStaysInsideTheBuffer) {
  // Fault: the text was written without a bound. The differences are unsigned 32-bit, so a
  // shrink gives the longest text there is; it must end inside the 128 characters.
  const std::size_t bytes = 64u << 20;
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(block, MAP_FAILED);
  MemCounter counter;
  counter.Start();
  munmap(block, bytes);
  counter.Stop();
  char szBuf[MemCounter::kBufSize + 8];
  std::memset(szBuf, '#', sizeof szBuf);
  ASSERT_EQ(counter.Format(szBuf), szBuf);
  for (std::size_t i = MemCounter::kBufSize; i < sizeof szBuf; ++i) EXPECT_EQ(szBuf[i], '#');
  unsigned long phs = 0;
  unsigned long vir = 0;
  ASSERT_EQ(std::sscanf(szBuf, "PhsMem:%luKB VirMem:%luKB", &phs, &vir), 2);
  // (2^32 - 64 MiB) >> 10, give or take what the process mapped meanwhile.
  EXPECT_GT(vir, 4000000ul);
  EXPECT_LE(vir, 4194303ul);
}

}  // namespace
