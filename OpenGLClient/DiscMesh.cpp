#include "OpenGLClient/DiscMesh.h"

#include <cmath>
#include <utility>

namespace vgl {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Exponent of the superellipse profile: high enough for a flat face, low
// enough for a rim that catches the light.
constexpr double kExponent = 5.0;

// Profile angles of the rings, from the face (0) over the rim (pi/2) to the
// underside (pi): sparse on the flat parts, dense where the rim curves.
constexpr double kRingAngles[DiscMesh::kRings] = {
    0.05, 0.42, 0.85, 1.22, kPi / 2, kPi - 1.22, kPi - 0.85, kPi - 0.42, kPi - 0.05};

struct Vec3 {
  double x, y, z;
};

Vec3 sub(const Vec3& a, const Vec3& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Vec3& a, const Vec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

DiscMesh::DiscMesh() {
  const double a = kRadius;
  const int topPole = 0;
  const int bottomPole = 1;
  const int closingTopPole = kVertexCount - 2;
  const int closingBottomPole = kVertexCount - 1;
  auto ring = [](int column, int k) { return 2 + column * kRings + k; };
  auto put = [this](int v, const Vec3& p, const Vec3& n) {
    const double length = std::sqrt(dot(n, n));
    vertices_[v * 3 + 0] = static_cast<float>(p.x);
    vertices_[v * 3 + 1] = static_cast<float>(p.y);
    vertices_[v * 3 + 2] = static_cast<float>(p.z);
    normals_[v * 3 + 0] = static_cast<float>(n.x / length);
    normals_[v * 3 + 1] = static_cast<float>(n.y / length);
    normals_[v * 3 + 2] = static_cast<float>(n.z / length);
  };

  put(topPole, {0, kTop, 0}, {0, 1, 0});
  put(bottomPole, {0, kBottom, 0}, {0, -1, 0});
  for (int column = 0; column < kSegments; ++column) {
    const double phi = 2 * kPi * column / kSegments;
    for (int k = 0; k < kRings; ++k) {
      const double theta = kRingAngles[k];
      const double c = std::cos(theta);
      const double b = c >= 0 ? kTop : -kBottom;
      const double rn = std::pow(std::fabs(std::sin(theta)), 2 / kExponent);
      const double yn = std::pow(std::fabs(c), 2 / kExponent);
      const double r = a * rn;
      const double y = (c >= 0 ? 1 : -1) * b * yn;
      // The gradient of (r/a)^n + (y/b)^n, which points out of the surface.
      const double gr = std::pow(rn, kExponent - 1) / a;
      const double gy = (c >= 0 ? 1 : -1) * std::pow(yn, kExponent - 1) / b;
      put(ring(column, k), {r * std::cos(phi), y, r * std::sin(phi)},
          {gr * std::cos(phi), gy, gr * std::sin(phi)});
    }
  }
  // The closing column repeats the first one exactly, poles included.
  for (int k = 0; k < kRings; ++k) {
    for (int d = 0; d < 3; ++d) {
      vertices_[ring(kSegments, k) * 3 + d] = vertices_[ring(0, k) * 3 + d];
      normals_[ring(kSegments, k) * 3 + d] = normals_[ring(0, k) * 3 + d];
    }
  }
  for (int d = 0; d < 3; ++d) {
    vertices_[closingTopPole * 3 + d] = vertices_[topPole * 3 + d];
    normals_[closingTopPole * 3 + d] = normals_[topPole * 3 + d];
    vertices_[closingBottomPole * 3 + d] = vertices_[bottomPole * 3 + d];
    normals_[closingBottomPole * 3 + d] = normals_[bottomPole * 3 + d];
  }

  int n = 0;
  auto triangle = [this, &n](int v0, int v1, int v2) {
    // Wind every triangle counter-clockwise seen from outside, so that back
    // faces can be culled.
    auto at = [this](int v) {
      return Vec3{vertices_[v * 3], vertices_[v * 3 + 1], vertices_[v * 3 + 2]};
    };
    auto normalAt = [this](int v) {
      return Vec3{normals_[v * 3], normals_[v * 3 + 1], normals_[v * 3 + 2]};
    };
    const Vec3 face = cross(sub(at(v1), at(v0)), sub(at(v2), at(v0)));
    const Vec3 n0 = normalAt(v0), n1 = normalAt(v1), n2 = normalAt(v2);
    const Vec3 outward{n0.x + n1.x + n2.x, n0.y + n1.y + n2.y, n0.z + n1.z + n2.z};
    if (dot(face, outward) < 0) std::swap(v1, v2);
    indices_[n++] = static_cast<uint16_t>(v0);
    indices_[n++] = static_cast<uint16_t>(v1);
    indices_[n++] = static_cast<uint16_t>(v2);
  };
  for (int column = 0; column < kSegments; ++column) {
    const bool closing = column == kSegments - 1;
    triangle(closing ? closingTopPole : topPole, ring(column, 0), ring(column + 1, 0));
    for (int k = 0; k + 1 < kRings; ++k) {
      triangle(ring(column, k), ring(column, k + 1), ring(column + 1, k + 1));
      triangle(ring(column, k), ring(column + 1, k + 1), ring(column + 1, k));
    }
    triangle(closing ? closingBottomPole : bottomPole, ring(column, kRings - 1),
             ring(column + 1, kRings - 1));
  }
}

const DiscMesh& DiscMesh::tables() {
  static const DiscMesh mesh;
  return mesh;
}

const float* DiscMesh::vertices() {
  return tables().vertices_;
}
const float* DiscMesh::normals() {
  return tables().normals_;
}
const uint16_t* DiscMesh::indices() {
  return tables().indices_;
}

}  // namespace vgl
