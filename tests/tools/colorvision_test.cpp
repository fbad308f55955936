// Colours as seen with the three dichromacies: the simulation against values computed apart
// from the program (the published matrices applied by hand to linearised sRGB), and the
// pairs through which the arrow must stand out.
#include "audit/colorvision.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using tool::CColorVision;

// Whether two 0x00BBGGRR colours differ by at most one in each channel.
bool Near(unsigned a, unsigned b) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFFu) - static_cast<int>((b >> shift) & 0xFFu)) >
        1) {
      return false;
    }
  }
  return true;
}

TEST(ColorVisionTest, SimulationMatchesTheMatricesAppliedByHand) {
  const struct {
    unsigned color;
    unsigned protanopia;
    unsigned deuteranopia;
    unsigned tritanopia;
  } kCases[] = {
      {0x000000FFu, 0x00005F6Du, 0x000090A3u, 0x000F00FFu},  // red
      {0x0000FF00u, 0x0000E5FFu, 0x003AD6EFu, 0x00D9F700u},  // green
      {0x00FF0000u, 0x00FF5900u, 0x00FB3D00u, 0x00966B00u},  // blue
      {0x000711F5u, 0x00005D6Au, 0x00008B9Eu, 0x001700FFu},  // the library's route colour
      {0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu},  // white stays white
      {0x00000000u, 0x00000000u, 0x00000000u, 0x00000000u},
  };
  for (const auto& c : kCases) {
    EXPECT_TRUE(Near(tool::SimulateColorVision(c.color, CColorVision::kProtanopia), c.protanopia))
        << std::hex << c.color;
    EXPECT_TRUE(
        Near(tool::SimulateColorVision(c.color, CColorVision::kDeuteranopia), c.deuteranopia))
        << std::hex << c.color;
    EXPECT_TRUE(Near(tool::SimulateColorVision(c.color, CColorVision::kTritanopia), c.tritanopia))
        << std::hex << c.color;
  }
}

TEST(ColorVisionTest, RedBorderOnDarkGreyFadesOnlyForProtanopia) {
  // Red on 0x202020 contrasts 4.07:1 in normal vision; a protanope sees 2.55:1. The white
  // route stands well apart from the red in every vision.
  AdvicePathClrSetting colors;
  colors.arrowBorderColor = 0x000000FFu;
  colors.pathColor = 0x00FFFFFFu;
  std::vector<std::string> findings;
  tool::CheckColors(tool::ColorVisionPairs(colors, 0x00202020u, false), findings);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].rfind("colours as seen with protanopia: arrow border 0x00005F6D against "
                              "background 0x00",
                              0),
            0u)
      << findings[0];
  EXPECT_NE(findings[0].find(": contrast 2.55:1, below 3:1"), std::string::npos) << findings[0];
}

TEST(ColorVisionTest, ArrowAgainstRouteAndBackgroundCountsOnlyWhereItsBorderDoesNotShow) {
  // A white arrow on the light background: unreadable without its border, in any vision.
  const AdvicePathClrSetting colors;
  for (const bool hidden : {false, true}) {
    std::vector<std::string> findings;
    tool::CheckColors(tool::ColorVisionPairs(colors, 0x00ECF1F3u, hidden), findings);
    EXPECT_EQ(findings.size(), hidden ? 3u : 0u) << hidden;
  }
}

}  // namespace
