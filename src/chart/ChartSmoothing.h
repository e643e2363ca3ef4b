#pragma once
// Control points of the natural cubic Bezier spline through knots K0..Kn, one coordinate at a
// time: P1[i] and P2[i] are the two control points of the segment from K[i] to K[i + 1].

#include <vector>

class ChartSmoothing {
 public:
  // False (and nothing computed) with fewer than two knots.
  static bool ComputeControlPoints(const std::vector<double>& knots, std::vector<double>& p1,
                                   std::vector<double>& p2);
};
