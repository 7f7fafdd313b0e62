// The one triangle mesh every disc is drawn with: a closed, smooth disc lying
// in the x-z plane, centred on the origin, radius 0.89, thickness along y
// from -0.135 (underside) to +0.126 (face), with unit normals.
//
// The disc is a surface of revolution: a rounded profile swept in 36 steps.
// The sweep's first column of vertices is repeated at its end (same
// positions and normals), so the tables hold 337 vertices for the 326
// distinct points of the closed surface.
//
// Thread safety: the tables are built once, on first use, under the
// language's guarantee for function-local statics; afterwards read-only.
#ifndef VANTOR_OPENGLCLIENT_DISCMESH_H_
#define VANTOR_OPENGLCLIENT_DISCMESH_H_

#include <cstdint>

namespace vgl {

class DiscMesh {
 public:
  static constexpr int kSegments = 36;
  static constexpr int kRings = 9;
  static constexpr int kVertexCount = (kSegments + 1) * kRings + 4;
  static constexpr int kTriangleCount = 2 * kSegments * kRings;
  static constexpr int kIndexCount = 3 * kTriangleCount;
  static constexpr float kRadius = 0.89f;
  static constexpr float kTop = 0.126f;
  static constexpr float kBottom = -0.135f;

  // kVertexCount (x, y, z) positions and as many unit normals.
  static const float* vertices();
  static const float* normals();
  // kIndexCount indices, counter-clockwise seen from outside.
  static const uint16_t* indices();

 private:
  DiscMesh();
  static const DiscMesh& tables();
  // The steps of building the tables, in order: the swept vertices, the
  // closing column that repeats the first, and the triangles between them.
  void placeVertices();
  void closeSweep();
  void placeTriangles();
  // Adds one triangle at index *n, wound outward, and moves *n past it.
  void placeTriangle(int* n, int v0, int v1, int v2);

  float vertices_[kVertexCount * 3];
  float normals_[kVertexCount * 3];
  uint16_t indices_[kIndexCount];
};

static_assert(DiscMesh::kVertexCount == 337, "the disc has 337 vertices");
static_assert(DiscMesh::kTriangleCount == 648, "the disc has 648 triangles");

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_DISCMESH_H_
