// Polylines: Liang-Barsky, segment by segment; a segment p + t (q - p), 0 <= t <= 1, is kept
// for t0 <= t <= t1. Polygons: Sutherland-Hodgman, one box edge at a time.
#include "picture/clip.h"

namespace tool {

namespace {

CPixel Lerp(const CPixel& p, const CPixel& q, double t) {
  return {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
}

// Narrows [t0, t1] by one box edge, where the segment's signed distance inside that edge is
// `distance` at t = 0 and changes by -`rate` per unit of t. False when nothing is left.
bool ClipEdge(double rate, double distance, double& t0, double& t1) {
  if (rate == 0.0) return distance >= 0.0;
  const double t = distance / rate;
  if (rate < 0.0) {
    if (t > t1) return false;
    if (t > t0) t0 = t;
  } else {
    if (t < t0) return false;
    if (t < t1) t1 = t;
  }
  return true;
}

// The parameters [t0, t1] of the segment p q that lie inside the box; false when none does.
bool ClipSegment(const CPixel& p, const CPixel& q, const CRect& box, double& t0, double& t1) {
  const double dx = q.x - p.x;
  const double dy = q.y - p.y;
  t0 = 0.0;
  t1 = 1.0;
  return ClipEdge(-dx, p.x - box.left, t0, t1) && ClipEdge(dx, box.right - p.x, t0, t1) &&
         ClipEdge(-dy, p.y - box.top, t0, t1) && ClipEdge(dy, box.bottom - p.y, t0, t1);
}

void Flush(std::vector<CPixel>& part, std::vector<std::vector<CPixel>>& parts) {
  if (part.size() >= 2) parts.push_back(part);
  part.clear();
}

// Keeps the side of the polygon where inside(point) holds; `cross` gives the crossing point
// of the edge from a to b with the boundary.
template <typename Inside, typename Cross>
std::vector<CPixel> ClipByEdge(const std::vector<CPixel>& polygon, Inside inside, Cross cross) {
  std::vector<CPixel> out;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const CPixel& a = polygon[(i + polygon.size() - 1) % polygon.size()];
    const CPixel& b = polygon[i];
    if (inside(b)) {
      if (!inside(a)) out.push_back(cross(a, b));
      out.push_back(b);
    } else if (inside(a)) {
      out.push_back(cross(a, b));
    }
  }
  return out;
}

// The point of segment a b where x (vertical edge) equals `x`.
CPixel AtX(const CPixel& a, const CPixel& b, double x) {
  return Lerp(a, b, (x - a.x) / (b.x - a.x));
}
CPixel AtY(const CPixel& a, const CPixel& b, double y) {
  return Lerp(a, b, (y - a.y) / (b.y - a.y));
}

}  // namespace

std::vector<std::vector<CPixel>> ClipPolyline(const std::vector<CPixel>& line, const CRect& box) {
  std::vector<std::vector<CPixel>> parts;
  std::vector<CPixel> part;
  for (std::size_t i = 1; i < line.size(); ++i) {
    double t0 = 0.0;
    double t1 = 1.0;
    if (!ClipSegment(line[i - 1], line[i], box, t0, t1)) {
      Flush(part, parts);
      continue;
    }
    // The segment enters the box after its start: a new part begins on the edge.
    if (part.empty() || t0 > 0.0) {
      Flush(part, parts);
      part.push_back(Lerp(line[i - 1], line[i], t0));
    }
    part.push_back(t1 < 1.0 ? Lerp(line[i - 1], line[i], t1) : line[i]);
    // It leaves the box before its end: the part ends on the edge.
    if (t1 < 1.0) Flush(part, parts);
  }
  Flush(part, parts);
  return parts;
}

std::vector<CPixel> ClipPolygon(const std::vector<CPixel>& polygon, const CRect& box) {
  std::vector<CPixel> out = polygon;
  out = ClipByEdge(
      out, [&](const CPixel& p) { return p.x >= box.left; },
      [&](const CPixel& a, const CPixel& b) { return AtX(a, b, box.left); });
  out = ClipByEdge(
      out, [&](const CPixel& p) { return p.x <= box.right; },
      [&](const CPixel& a, const CPixel& b) { return AtX(a, b, box.right); });
  out = ClipByEdge(
      out, [&](const CPixel& p) { return p.y >= box.top; },
      [&](const CPixel& a, const CPixel& b) { return AtY(a, b, box.top); });
  return ClipByEdge(
      out, [&](const CPixel& p) { return p.y <= box.bottom; },
      [&](const CPixel& a, const CPixel& b) { return AtY(a, b, box.bottom); });
}

}  // namespace tool
