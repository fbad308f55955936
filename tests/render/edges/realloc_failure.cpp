#include "realloc_failure.h"

#include <cstddef>

namespace {

// Calls of realloc still allowed to succeed; negative while no failure is armed.
int g_reallocSuccessesLeft = -1;

}  // namespace

// The linker renames the program's calls of realloc to __wrap_realloc, and __real_realloc to
// the C library's (or the sanitizer's) realloc.
extern "C" void* __real_realloc(void* ptr, std::size_t size);

extern "C" void* __wrap_realloc(void* ptr, std::size_t size) {
  if (g_reallocSuccessesLeft == 0) return nullptr;
  if (g_reallocSuccessesLeft > 0) --g_reallocSuccessesLeft;
  return __real_realloc(ptr, size);
}

CReallocFailure::CReallocFailure(int successes) { g_reallocSuccessesLeft = successes; }

CReallocFailure::~CReallocFailure() { g_reallocSuccessesLeft = -1; }
