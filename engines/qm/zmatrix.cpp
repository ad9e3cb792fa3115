#include "zmatrix.h"

#include <cctype>

namespace {

Vec3 Unit(const Vec3& v) { return (1.0 / Norm(v)) * v; }

[[noreturn]] void Fail(const DeckCentre& c, const std::string& what) {
  throw DeckError("line " + std::to_string(c.line) + ": " + what);
}

// Places d with |d-a| = r, angle d-a-b = theta and dihedral d-a-b-c = phi
// (degrees), building the local frame on the chain c-b-a.
Vec3 PlaceCentre(const Vec3& a, const Vec3& b, const Vec3& c, double r, double theta, double phi,
                 const DeckCentre& centre) {
  const Vec3 ab = a - b;
  if (Norm(ab) < 1e-8) Fail(centre, "reference centres coincide");
  const Vec3 bc = Unit(ab);
  const Vec3 cross = Cross(b - c, bc);
  if (Norm(cross) < 1e-8 * Norm(b - c)) Fail(centre, "the three reference centres are collinear");
  const Vec3 n = Unit(cross);
  const Vec3 m = Cross(n, bc);
  const double t = theta * kPi / 180.0, p = phi * kPi / 180.0;
  return a + r * (-std::cos(t) * bc + (std::sin(t) * std::cos(p)) * m + (std::sin(t) * std::sin(p)) * n);
}

}  // namespace

std::map<std::string, double> StartVariables(const Deck& deck) {
  std::map<std::string, double> out;
  for (const auto& [name, value] : deck.variables) {
    std::string key = name;
    for (char& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    out[key] = value;
  }
  return out;
}

std::vector<Vec3> CentrePositions(const Deck& deck, const std::map<std::string, double>& variables) {
  std::vector<Vec3> pos;
  pos.reserve(deck.centres.size());
  for (const DeckCentre& c : deck.centres) {
    if (c.cartesian) {
      pos.push_back({ResolveValue(deck, c.xyz[0], variables), ResolveValue(deck, c.xyz[1], variables),
                     ResolveValue(deck, c.xyz[2], variables)});
      continue;
    }
    if (c.refs[0] < 0) {
      pos.push_back({0, 0, 0});
      continue;
    }
    const double r = ResolveValue(deck, c.internal[0], variables);
    if (!(r > 0)) Fail(c, "bond length " + std::to_string(r) + " is not positive");
    const Vec3 a = pos[static_cast<size_t>(c.refs[0])];
    if (c.refs[1] < 0) {
      pos.push_back(a + Vec3{0, 0, r});
      continue;
    }
    const double theta = ResolveValue(deck, c.internal[1], variables);
    if (theta < 0 || theta > 180) Fail(c, "angle " + std::to_string(theta) + " is outside 0 to 180 degrees");
    const Vec3 b = pos[static_cast<size_t>(c.refs[1])];
    if (c.refs[2] < 0) {
      // Third centre of a Z-matrix: in the plane of the axis and x.
      const Vec3 u = Unit(a - b);
      const Vec3 helper = std::abs(u.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
      pos.push_back(PlaceCentre(a, b, b + helper, r, theta, 180.0, c));
      continue;
    }
    const double phi = ResolveValue(deck, c.internal[2], variables);
    pos.push_back(PlaceCentre(a, b, pos[static_cast<size_t>(c.refs[2])], r, theta, phi, c));
  }
  return pos;
}
