// Makes realloc fail on command, so that tests can reach the growth failures of the edge
// code. It works in test programs linked with -Wl,--wrap=realloc: the core's calls to realloc
// then reach the wrapper, which passes them on to the real realloc unless a CReallocFailure
// is alive. Process-wide; one test at a time, on the test's own thread.
#ifndef ADVICEPATH_TESTS_RENDER_EDGES_REALLOC_FAILURE_H_
#define ADVICEPATH_TESTS_RENDER_EDGES_REALLOC_FAILURE_H_

class CReallocFailure {
 public:
  // While this object lives, the next `successes` calls of realloc succeed and every later
  // one returns null, leaving its array in place as a real failure does.
  explicit CReallocFailure(int successes = 0);
  CReallocFailure(const CReallocFailure&) = delete;
  CReallocFailure& operator=(const CReallocFailure&) = delete;
  // realloc works again.
  ~CReallocFailure();
};

#endif  // ADVICEPATH_TESTS_RENDER_EDGES_REALLOC_FAILURE_H_
