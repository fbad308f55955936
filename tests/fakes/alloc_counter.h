// Counts heap allocations made through operator new in the test executable that links
// alloc_counter.cpp (it replaces the global operator new), and can make the next
// allocations fail to exercise out-of-memory paths.
#ifndef ADVICEPATH_TESTS_FAKES_ALLOC_COUNTER_H_
#define ADVICEPATH_TESTS_FAKES_ALLOC_COUNTER_H_

namespace fakes {

// Allocations through operator new since the process started.
long AllocationCount();

// Makes operator new fail (nothrow forms return null, others throw std::bad_alloc) for the
// next `count` allocations; 0 ends it.
void FailNextAllocations(int count);

}  // namespace fakes

#endif  // ADVICEPATH_TESTS_FAKES_ALLOC_COUNTER_H_
