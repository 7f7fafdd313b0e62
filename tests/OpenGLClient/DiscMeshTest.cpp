// The disc's constant mesh is a closed outward-facing surface; its size and
// shading are seen in the render test's pictures.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <utility>

#include "OpenGLClient/DiscMesh.h"

namespace {

using vgl::DiscMesh;
using Point = std::array<float, 3>;

Point at(const float* table, int v) {
  return {table[v * 3], table[v * 3 + 1], table[v * 3 + 2]};
}

TEST(DiscMesh, IsAClosedOutwardFacingSurface) {
  ASSERT_EQ(DiscMesh::kIndexCount, 3 * DiscMesh::kTriangleCount);
  // One id per distinct position: the repeated closing column folds onto the first one.
  std::map<Point, int> ids;
  for (int v = 0; v < DiscMesh::kVertexCount; ++v) {
    ids.emplace(at(DiscMesh::vertices(), v), static_cast<int>(ids.size()));
  }
  std::map<std::pair<int, int>, int> directed;
  for (int t = 0; t < DiscMesh::kTriangleCount; ++t) {
    Point p[3];
    int corner[3];
    for (int k = 0; k < 3; ++k) {
      const int index = DiscMesh::indices()[t * 3 + k];
      ASSERT_LT(index, DiscMesh::kVertexCount);
      p[k] = at(DiscMesh::vertices(), index);
      corner[k] = ids.at(p[k]);
    }
    for (int k = 0; k < 3; ++k) {
      ASSERT_NE(corner[k], corner[(k + 1) % 3]) << t;
      ++directed[{corner[k], corner[(k + 1) % 3]}];
    }
    // The disc is convex around its centre: outwards is away from it.
    const Point u{p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
    const Point w{p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
    const Point face{u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                     u[0] * w[1] - u[1] * w[0]};
    float outwards = 0;
    for (int c = 0; c < 3; ++c) outwards += face[c] * (p[0][c] + p[1][c] + p[2][c]);
    EXPECT_GT(outwards, 0) << t;
  }
  // Each edge is walked once in each direction: shared by two triangles
  // that agree on which side is outside; no holes or handles (V - E + F = 2).
  EXPECT_EQ(static_cast<int>(ids.size()) - static_cast<int>(directed.size() / 2) +
                DiscMesh::kTriangleCount,
            2);
  for (const auto& [edge, count] : directed) {
    EXPECT_EQ(count, 1);
    EXPECT_EQ(directed.count({edge.second, edge.first}), 1u);
  }
}

}  // namespace
