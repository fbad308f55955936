// Notation: a colour is 0x00BBGGRR; c is one sRGB channel scaled to 0..1 and l its linear
// value (WCAG's linearisation); M is a deficiency's matrix from Machado et al. (2009), table
// of severity 1.0, taking linear (R, G, B) to the simulated linear (R', G', B').
#include "audit/colorvision.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tool {

const CColorVisionName kColorVisions[3] = {{CColorVision::kProtanopia, "protanopia"},
                                           {CColorVision::kDeuteranopia, "deuteranopia"},
                                           {CColorVision::kTritanopia, "tritanopia"}};

namespace {

// Machado, Oliveira and Fernandes (2009), supplementary table, severity 1.0; rows give R',
// G', B' from linear R, G, B.
constexpr double kProtanopia[3][3] = {{0.152286, 1.052583, -0.204868},
                                      {0.114503, 0.786281, 0.099216},
                                      {-0.003882, -0.048116, 1.051998}};
constexpr double kDeuteranopia[3][3] = {{0.367322, 0.860646, -0.227968},
                                        {0.280085, 0.672501, 0.047413},
                                        {-0.011820, 0.042940, 0.968881}};
constexpr double kTritanopia[3][3] = {{1.255528, -0.076749, -0.178779},
                                      {-0.078411, 0.930809, 0.147602},
                                      {0.004733, 0.691367, 0.303900}};

// One channel (0..255) on the linear scale, 0..1.
double ToLinear(unsigned channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// A linear value, clamped to 0..1, back to an sRGB channel 0..255.
unsigned FromLinear(double l) {
  l = std::min(std::max(l, 0.0), 1.0);
  const double c = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1.0 / 2.4) - 0.055;
  return static_cast<unsigned>(std::lround(c * 255.0));
}

}  // namespace

unsigned SimulateColorVision(unsigned color, CColorVision vision) {
  const double(*m)[3] = vision == CColorVision::kProtanopia     ? kProtanopia
                        : vision == CColorVision::kDeuteranopia ? kDeuteranopia
                                                                : kTritanopia;
  const double rgb[3] = {ToLinear(color & 0xFFu), ToLinear((color >> 8) & 0xFFu),
                         ToLinear((color >> 16) & 0xFFu)};
  unsigned out[3];
  for (int i = 0; i < 3; ++i) {
    out[i] = FromLinear(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2]);
  }
  return out[0] | (out[1] << 8) | (out[2] << 16);
}

std::vector<CColorPair> ColorVisionPairs(const AdvicePathClrSetting& colors, unsigned background,
                                         bool arrowBorderHidden) {
  std::vector<CColorPair> pairs;
  for (const CColorVisionName& vision : kColorVisions) {
    const auto seen = [&vision](unsigned color) {
      return SimulateColorVision(color, vision.vision);
    };
    const struct {
      const char* first;
      const char* second;
      unsigned a;
      unsigned b;
      bool meets;
    } kPairs[] = {
        {"arrow border", "route", colors.arrowBorderColor, colors.pathColor, true},
        {"arrow border", "background", colors.arrowBorderColor, background, true},
        {"arrow", "route", colors.arrowColor, colors.pathColor, arrowBorderHidden},
        {"arrow", "background", colors.arrowColor, background, arrowBorderHidden},
    };
    for (const auto& p : kPairs) {
      pairs.push_back({p.first, p.second, seen(p.a), seen(p.b), ContrastRatio(seen(p.a), seen(p.b)),
                       p.meets, vision.name});
    }
  }
  return pairs;
}

}  // namespace tool
