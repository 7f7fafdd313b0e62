// The disc's constant mesh is a closed surface, wound one way throughout;
// which way does not show (faces are not culled, the normals are a table of
// their own). Its size and shading are seen in the render test's pictures.
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

TEST(DiscMesh, IsAClosedConsistentlyWoundSurface) {
  // One id per distinct position: the repeated closing column folds onto the first one.
  std::map<Point, int> ids;
  for (int v = 0; v < DiscMesh::kVertexCount; ++v) {
    ids.emplace(at(DiscMesh::vertices(), v), static_cast<int>(ids.size()));
  }
  std::map<std::pair<int, int>, int> directed;
  for (int t = 0; t < DiscMesh::kTriangleCount; ++t) {
    int corner[3];
    for (int k = 0; k < 3; ++k) {
      const int index = DiscMesh::indices()[t * 3 + k];
      ASSERT_LT(index, DiscMesh::kVertexCount);
      corner[k] = ids.at(at(DiscMesh::vertices(), index));
    }
    for (int k = 0; k < 3; ++k) {
      ASSERT_NE(corner[k], corner[(k + 1) % 3]) << t;
      ++directed[{corner[k], corner[(k + 1) % 3]}];
    }
  }
  // Each edge is walked once in each direction: shared by two triangles
  // wound the same way; no holes or handles (V - E + F = 2).
  EXPECT_EQ(static_cast<int>(ids.size()) - static_cast<int>(directed.size() / 2) +
                DiscMesh::kTriangleCount,
            2);
  for (const auto& [edge, count] : directed) {
    EXPECT_EQ(count, 1);
    EXPECT_EQ(directed.count({edge.second, edge.first}), 1u);
  }
}

}  // namespace
