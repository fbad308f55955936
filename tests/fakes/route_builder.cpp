#include "route_builder.h"

namespace fakes {

CPathGuideInput Guide(const std::vector<tagLonLat>& points, const std::string& name) {
  CPathGuideInput guide;
  guide.points = points;
  guide.name = name;
  return guide;
}

std::vector<CPathGuideInput> GuidesEast(const tagLonLat& start, const std::vector<double>& lengths,
                                        int pointsPerGuide) {
  if (pointsPerGuide < 2) pointsPerGuide = 2;
  std::vector<CPathGuideInput> guides;
  tagLonLat at = start;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    std::vector<tagLonLat> points;
    for (int p = 0; p < pointsPerGuide; ++p) {
      points.push_back(MetresEast(at, lengths[i] * p / (pointsPerGuide - 1)));
    }
    at = points.back();
    guides.push_back(Guide(points, "g" + std::to_string(i)));
  }
  return guides;
}

std::unique_ptr<CNavPath> MakePath(const std::vector<CPathGuideInput>& guides) {
  auto path = std::make_unique<CNavPath>();
  for (const CPathGuideInput& guide : guides) path->AddGuide(guide);
  return path;
}

CTurnInfo MakeTurn(const CPath& path, int enter, int exit, NAV_TURN_TYPE_tag type) {
  CTurnInfo turn;
  turn.SetFromPath(path, enter, exit, type);
  return turn;
}

}  // namespace fakes
