#include "alloc_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_Allocations{0};
std::atomic<int> g_FailNext{0};
// Allocations still allowed before all fail; negative: no such limit.
std::atomic<int> g_SucceedBeforeFailing{-1};
// Allocations still to succeed before the one that FailAllocationAfter makes fail; -1: none.
std::atomic<long> g_FailAfter{-1};

// True for the allocation the countdown reaches (once); counts the others down.
bool CountDownToFailure() {
  long left = g_FailAfter.load();
  while (left >= 0) {
    if (g_FailAfter.compare_exchange_weak(left, left - 1)) return left == 0;
  }
  return false;
}

// Counts one allocation; true when it is to fail (one of the failures asked for).
bool CountAndFail() {
  ++g_Allocations;
  if (CountDownToFailure()) return true;
  int allowed = g_SucceedBeforeFailing.load();
  while (allowed >= 0) {
    if (allowed == 0) return true;
    if (g_SucceedBeforeFailing.compare_exchange_weak(allowed, allowed - 1)) return false;
  }
  int pending = g_FailNext.load();
  while (pending > 0) {
    if (g_FailNext.compare_exchange_weak(pending, pending - 1)) return true;
  }
  return false;
}

// Null when a failure was asked for, else malloc's answer (never null for size 0).
void* Allocate(std::size_t size) {
  return CountAndFail() ? nullptr : std::malloc(size == 0 ? 1 : size);
}

}  // namespace

// The core grows its point and edge arrays with realloc; executables that link this file are
// linked with --wrap=realloc, so those calls land here and are counted too.
extern "C" void* __real_realloc(void* p, std::size_t size);
extern "C" void* __wrap_realloc(void* p, std::size_t size) {
  return CountAndFail() ? nullptr : __real_realloc(p, size);
}

namespace fakes {

long AllocationCount() { return g_Allocations.load(); }

void FailNextAllocations(int count) {
  g_FailNext.store(count);
  if (count == 0) g_SucceedBeforeFailing.store(-1);
}

void FailAllocationsAfter(int skip) { g_SucceedBeforeFailing.store(skip < 0 ? 0 : skip); }

void FailAllocationAfter(long successes) { g_FailAfter.store(successes < 0 ? -1 : successes); }

}  // namespace fakes

void* operator new(std::size_t size) {
  void* p = Allocate(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
