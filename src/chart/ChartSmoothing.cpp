#include "chart/ChartSmoothing.h"

#include <cstddef>

bool ChartSmoothing::ComputeControlPoints(const std::vector<double>& k, std::vector<double>& p1,
                                          std::vector<double>& p2) {
  if (k.size() < 2) return false;
  const std::size_t n = k.size() - 1;  // segments
  p1.assign(n, 0.0);
  p2.assign(n, 0.0);
  if (n == 1) {
    p1[0] = (2 * k[0] + k[1]) / 3;
    p2[0] = 2 * p1[0] - k[0];
    return true;
  }
  // Tridiagonal system, 1 off the diagonal. The last row follows from continuity of the first
  // and second derivatives with a free (zero curvature) end, so the curve is symmetric for
  // symmetric knots.
  std::vector<double> diag(n), rhs(n);
  diag[0] = 2;
  rhs[0] = k[0] + 2 * k[1];
  for (std::size_t i = 1; i + 1 < n; ++i) {
    diag[i] = 4;
    rhs[i] = 4 * k[i] + 2 * k[i + 1];
  }
  diag[n - 1] = 3.5;
  rhs[n - 1] = (8 * k[n - 1] + k[n]) / 2;
  // Forward elimination, then back substitution.
  for (std::size_t i = 1; i < n; ++i) {
    const double m = 1.0 / diag[i - 1];
    diag[i] -= m;
    rhs[i] -= m * rhs[i - 1];
  }
  p1[n - 1] = rhs[n - 1] / diag[n - 1];
  for (std::size_t i = n - 1; i-- > 0;) p1[i] = (rhs[i] - p1[i + 1]) / diag[i];
  for (std::size_t i = 0; i + 1 < n; ++i) p2[i] = 2 * k[i + 1] - p1[i + 1];
  p2[n - 1] = (k[n] + p1[n - 1]) / 2;
  return true;
}
