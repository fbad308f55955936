// Colours as seen with the three dichromacies, and the pairs of the picture's colours that
// must still contrast for a driver who sees them so: the arrow must stand out from the route
// and from the background.
//
// The simulation is Machado, Oliveira and Fernandes, "A Physiologically-based Model for
// Simulation of Color Vision Deficiency" (IEEE TVCG 15(6), 2009), at full severity (1.0):
// one 3 x 3 matrix per deficiency, applied to linear RGB (the sRGB channels linearised as
// for WCAG's relative luminance), the result clamped to 0..1 and encoded back to sRGB.
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_AUDIT_COLORVISION_H_
#define ADVICEPATH_TOOLS_AUDIT_COLORVISION_H_

#include <vector>

#include "advicepathrenderex.h"
#include "audit/audit.h"

namespace tool {

enum class CColorVision { kProtanopia, kDeuteranopia, kTritanopia };

// Each deficiency with its name in findings, in this order.
struct CColorVisionName {
  CColorVision vision;
  const char* name;  // "protanopia"
};
extern const CColorVisionName kColorVisions[3];

// `color` (0x00BBGGRR) as seen with `vision`, 0x00BBGGRR, each channel rounded to the nearest
// of 0..255.
unsigned SimulateColorVision(unsigned color, CColorVision vision);

// For each deficiency, the pairs through which the arrow stands out, each colour as seen
// with it: arrow border against route, arrow border against background, and, where the
// arrow's border does not show at some row (`arrowBorderHidden`), the arrow against the
// route and against the background. The pairs that cannot meet are marked so.
std::vector<CColorPair> ColorVisionPairs(const AdvicePathClrSetting& colors, unsigned background,
                                         bool arrowBorderHidden);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_AUDIT_COLORVISION_H_
