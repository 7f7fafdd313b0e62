#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "OpenGLClient/DiscMesh.h"

namespace {

using vgl::DiscMesh;
using Point = std::array<float, 3>;

Point at(const float* table, int v) {
  return {table[v * 3], table[v * 3 + 1], table[v * 3 + 2]};
}

// One id per distinct position: the repeated closing column folds onto the
// first one.
std::map<Point, int> weldedIds() {
  std::map<Point, int> ids;
  for (int v = 0; v < DiscMesh::kVertexCount; ++v) {
    ids.emplace(at(DiscMesh::vertices(), v), static_cast<int>(ids.size()));
  }
  return ids;
}

TEST(DiscMesh, Has337Vertices648TrianglesAnd1944Indices) {
  EXPECT_EQ(DiscMesh::kVertexCount, 337);
  EXPECT_EQ(DiscMesh::kTriangleCount, 648);
  EXPECT_EQ(DiscMesh::kIndexCount, 1944);
  for (int k = 0; k < DiscMesh::kIndexCount; ++k) {
    ASSERT_LT(DiscMesh::indices()[k], DiscMesh::kVertexCount);
  }
}

TEST(DiscMesh, IsClosedWithEveryEdgeSharedByExactlyTwoTriangles) {
  const std::map<Point, int> ids = weldedIds();
  // A closed surface of 648 triangles has 326 distinct corners.
  EXPECT_EQ(ids.size(), 326u);
  std::map<std::pair<int, int>, int> directed;
  for (int t = 0; t < DiscMesh::kTriangleCount; ++t) {
    int corner[3];
    for (int k = 0; k < 3; ++k) {
      corner[k] = ids.at(at(DiscMesh::vertices(), DiscMesh::indices()[t * 3 + k]));
    }
    ASSERT_NE(corner[0], corner[1]);
    ASSERT_NE(corner[1], corner[2]);
    ASSERT_NE(corner[2], corner[0]);
    for (int k = 0; k < 3; ++k) ++directed[{corner[k], corner[(k + 1) % 3]}];
  }
  // Each edge is walked once in each direction: shared by two triangles
  // that agree on which side is outside.
  for (const auto& [edge, count] : directed) {
    EXPECT_EQ(count, 1);
    const auto reverse = directed.find({edge.second, edge.first});
    ASSERT_NE(reverse, directed.end());
    EXPECT_EQ(reverse->second, 1);
  }
  EXPECT_EQ(directed.size(), 2u * 972);
}

TEST(DiscMesh, HasTheDiscsRadiusAndThickness) {
  float radius = 0, top = -1, bottom = 1;
  for (int v = 0; v < DiscMesh::kVertexCount; ++v) {
    const Point p = at(DiscMesh::vertices(), v);
    radius = std::fmax(radius, std::hypot(p[0], p[2]));
    top = std::fmax(top, p[1]);
    bottom = std::fmin(bottom, p[1]);
  }
  EXPECT_NEAR(radius, 0.89f, 0.005f);
  EXPECT_LE(radius, 0.897f);
  EXPECT_NEAR(top, 0.126f, 0.002f);
  EXPECT_NEAR(bottom, -0.135f, 0.002f);
}

TEST(DiscMesh, HasUnitNormalsThatAgreeWhereVerticesMeet) {
  std::map<Point, Point> normalAt;
  for (int v = 0; v < DiscMesh::kVertexCount; ++v) {
    const Point n = at(DiscMesh::normals(), v);
    EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-5f);
    const auto [it, fresh] = normalAt.emplace(at(DiscMesh::vertices(), v), n);
    if (!fresh) {
      EXPECT_EQ(it->second, n) << "a crease at vertex " << v;
    }
  }
}

TEST(DiscMesh, FacesItsTrianglesOutwards) {
  for (int t = 0; t < DiscMesh::kTriangleCount; ++t) {
    const uint16_t* tri = DiscMesh::indices() + t * 3;
    const Point a = at(DiscMesh::vertices(), tri[0]);
    const Point b = at(DiscMesh::vertices(), tri[1]);
    const Point c = at(DiscMesh::vertices(), tri[2]);
    const Point u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Point w{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const Point face{u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                     u[0] * w[1] - u[1] * w[0]};
    const Point centre{(a[0] + b[0] + c[0]) / 3, (a[1] + b[1] + c[1]) / 3,
                       (a[2] + b[2] + c[2]) / 3};
    // The disc is convex around its centre: outwards is away from it.
    EXPECT_GT(face[0] * centre[0] + face[1] * centre[1] + face[2] * centre[2], 0) << t;
  }
}

}  // namespace
