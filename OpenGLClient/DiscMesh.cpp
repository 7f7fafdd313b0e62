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

// The two poles, and their copies that close the sweep.
constexpr int kTopPole = 0;
constexpr int kBottomPole = 1;
constexpr int kClosingTopPole = DiscMesh::kVertexCount - 2;
constexpr int kClosingBottomPole = DiscMesh::kVertexCount - 1;

// The vertex of ring k in a column of the sweep; column kSegments is the
// closing one.
int ring(int column, int k) {
  return 2 + column * DiscMesh::kRings + k;
}

Vec3 read(const float* table, int v) {
  return Vec3{table[v * 3], table[v * 3 + 1], table[v * 3 + 2]};
}

// Vertex v at p, with the unit normal along n.
void put(float* vertices, float* normals, int v, const Vec3& p, const Vec3& n) {
  const double length = std::sqrt(dot(n, n));
  vertices[v * 3 + 0] = static_cast<float>(p.x);
  vertices[v * 3 + 1] = static_cast<float>(p.y);
  vertices[v * 3 + 2] = static_cast<float>(p.z);
  normals[v * 3 + 0] = static_cast<float>(n.x / length);
  normals[v * 3 + 1] = static_cast<float>(n.y / length);
  normals[v * 3 + 2] = static_cast<float>(n.z / length);
}

void copyVertex(float* table, int from, int to) {
  for (int d = 0; d < 3; ++d) table[to * 3 + d] = table[from * 3 + d];
}

}  // namespace

DiscMesh::DiscMesh() {
  placeVertices();
  closeSweep();
  placeTriangles();
}

void DiscMesh::placeVertices() {
  const double a = kRadius;
  put(vertices_, normals_, kTopPole, {0, kTop, 0}, {0, 1, 0});
  put(vertices_, normals_, kBottomPole, {0, kBottom, 0}, {0, -1, 0});
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
      put(vertices_, normals_, ring(column, k), {r * std::cos(phi), y, r * std::sin(phi)},
          {gr * std::cos(phi), gy, gr * std::sin(phi)});
    }
  }
}

void DiscMesh::closeSweep() {
  // The closing column repeats the first one exactly, poles included.
  for (int k = 0; k < kRings; ++k) {
    copyVertex(vertices_, ring(0, k), ring(kSegments, k));
    copyVertex(normals_, ring(0, k), ring(kSegments, k));
  }
  for (float* table : {vertices_, normals_}) {
    copyVertex(table, kTopPole, kClosingTopPole);
    copyVertex(table, kBottomPole, kClosingBottomPole);
  }
}

void DiscMesh::placeTriangles() {
  int n = 0;
  for (int column = 0; column < kSegments; ++column) {
    const bool closing = column == kSegments - 1;
    placeTriangle(&n, closing ? kClosingTopPole : kTopPole, ring(column, 0), ring(column + 1, 0));
    for (int k = 0; k + 1 < kRings; ++k) {
      placeTriangle(&n, ring(column, k), ring(column, k + 1), ring(column + 1, k + 1));
      placeTriangle(&n, ring(column, k), ring(column + 1, k + 1), ring(column + 1, k));
    }
    placeTriangle(&n, closing ? kClosingBottomPole : kBottomPole, ring(column, kRings - 1),
                  ring(column + 1, kRings - 1));
  }
}

void DiscMesh::placeTriangle(int* n, int v0, int v1, int v2) {
  // Wind every triangle counter-clockwise seen from outside, so that back
  // faces can be culled.
  const Vec3 face = cross(sub(read(vertices_, v1), read(vertices_, v0)),
                          sub(read(vertices_, v2), read(vertices_, v0)));
  const Vec3 n0 = read(normals_, v0), n1 = read(normals_, v1), n2 = read(normals_, v2);
  const Vec3 outward{n0.x + n1.x + n2.x, n0.y + n1.y + n2.y, n0.z + n1.z + n2.z};
  if (dot(face, outward) < 0) std::swap(v1, v2);
  indices_[(*n)++] = static_cast<uint16_t>(v0);
  indices_[(*n)++] = static_cast<uint16_t>(v1);
  indices_[(*n)++] = static_cast<uint16_t>(v2);
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
