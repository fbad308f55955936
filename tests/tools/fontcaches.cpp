// Releases the font caches that Cairo and fontconfig keep for the whole process once text was
// drawn, after the last test, as the program does at exit: LeakSanitizer then reports only
// what the tests themselves leak. Linked into the test programs that paint text.
#include <gtest/gtest.h>

#include "picture/framedecor.h"

namespace {

class CFontCaches : public ::testing::Environment {
 public:
  void TearDown() override { tool::ReleaseFontCaches(); }
};

[[maybe_unused]] ::testing::Environment* const kFontCaches =
    ::testing::AddGlobalTestEnvironment(new CFontCaches);

}  // namespace
