// Counts heap allocations in the executable that links alloc_counter.cpp: it replaces the
// global operator new and wraps realloc (the executable is linked with --wrap=realloc, which
// the advicepath_alloc_counter target adds). It can also make the next allocations fail, to
// exercise out-of-memory paths.
#ifndef ADVICEPATH_TESTS_FAKES_ALLOC_COUNTER_H_
#define ADVICEPATH_TESTS_FAKES_ALLOC_COUNTER_H_

namespace fakes {

// Calls of operator new and of realloc since the process started.
long AllocationCount();

// Makes the next `count` allocations fail (realloc and the nothrow forms of new return null,
// the others throw std::bad_alloc); 0 ends it, and ends FailAllocationsAfter too.
void FailNextAllocations(int count);

// Lets the next `skip` allocations succeed, then makes every later one fail until
// FailNextAllocations(0): the heap runs out at the allocation numbered `skip` from now.
void FailAllocationsAfter(int skip);

// Lets the next `successes` allocations (as counted by AllocationCount) succeed and makes the
// one after them fail, once; a negative value cancels a failure not yet reached.
void FailAllocationAfter(long successes);

}  // namespace fakes

#endif  // ADVICEPATH_TESTS_FAKES_ALLOC_COUNTER_H_
