#include "verify/homography.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quorvel::verify {
namespace {

constexpr int kDraws = 300;  // sets of four drawn for the robust fit

// Points moved to their mean and scaled to a mean distance of sqrt 2, so that inches and
// thousands of pixels weigh alike in the fit.
Eigen::Matrix3d Normaliser(const std::vector<Point>& points, const std::vector<double>& weights) {
  double sum = 0, mx = 0, my = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    sum += weights[i];
    mx += weights[i] * points[i].x;
    my += weights[i] * points[i].y;
  }
  mx /= sum;
  my /= sum;
  double spread = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    spread += weights[i] * std::hypot(points[i].x - mx, points[i].y - my);
  }
  spread /= sum;
  const double s = spread > 1e-12 ? std::sqrt(2.0) / spread : 1;
  Eigen::Matrix3d t;
  t << s, 0, -s * mx, 0, s, -s * my, 0, 0, 1;
  return t;
}

Eigen::Vector2d Moved(const Eigen::Matrix3d& t, Point p) {
  return {t(0, 0) * p.x + t(0, 2), t(1, 1) * p.y + t(1, 2)};
}

Homography ToArray(const Eigen::Matrix3d& h) {
  const Eigen::Matrix3d n = h / h(2, 2);
  return {n(0, 0), n(0, 1), n(0, 2), n(1, 0), n(1, 1), n(1, 2), n(2, 0), n(2, 1), n(2, 2)};
}

Eigen::Matrix3d ToMatrix(const Homography& m) {
  Eigen::Matrix3d h;
  h << m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8];
  return h;
}

// The spread of the inliers' sheet points about their middle, root mean square.
double Spread(const std::vector<Anchor>& anchors, const std::vector<double>& weights) {
  double sum = 0, mx = 0, my = 0;
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    sum += weights[i];
    mx += weights[i] * anchors[i].sheet.x;
    my += weights[i] * anchors[i].sheet.y;
  }
  if (sum <= 0) {
    return 0;
  }
  mx /= sum;
  my /= sum;
  double square = 0;
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    square +=
        weights[i] * (std::pow(anchors[i].sheet.x - mx, 2) + std::pow(anchors[i].sheet.y - my, 2));
  }
  return std::sqrt(square / sum);
}

// The fit's error and scale error over the anchors with their weights (an inlier weighs, an
// outlier weighs 0).
void Measure(const std::vector<Anchor>& anchors, const std::vector<double>& weights,
             HomographyFit& fit) {
  double sum = 0, square = 0;
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    sum += weights[i];
    square += weights[i] * std::pow(Miss(fit.matrix, anchors[i]), 2);
  }
  fit.errorInches = sum > 0 ? std::sqrt(square / sum) : 0;
  const double spread = Spread(anchors, weights);
  fit.scaleError = spread > 0 ? fit.errorInches / spread : 1;
}

}  // namespace

bool FitHomography(const std::vector<Anchor>& anchors, const std::vector<double>& weights,
                   Homography& matrix) {
  if (anchors.size() < 4) {
    return false;
  }
  const std::vector<double> w = weights.empty() ? std::vector<double>(anchors.size(), 1) : weights;
  std::vector<Point> sheet, picture;
  for (const Anchor& a : anchors) {
    sheet.push_back(a.sheet);
    picture.push_back(a.picture);
  }
  const Eigen::Matrix3d ts = Normaliser(sheet, w), tp = Normaliser(picture, w);
  Eigen::MatrixXd a(2 * static_cast<Eigen::Index>(anchors.size()), 9);
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    const Eigen::Vector2d s = Moved(ts, sheet[i]), p = Moved(tp, picture[i]);
    const double r = std::sqrt(w[i]);
    const auto row = static_cast<Eigen::Index>(2 * i);
    a.row(row) << -s.x(), -s.y(), -1, 0, 0, 0, p.x() * s.x(), p.x() * s.y(), p.x();
    a.row(row + 1) << 0, 0, 0, -s.x(), -s.y(), -1, p.y() * s.x(), p.y() * s.y(), p.y();
    a.row(row) *= r;
    a.row(row + 1) *= r;
  }
  const Eigen::JacobiSVD<Eigen::MatrixXd> svd(a, Eigen::ComputeFullV);
  const Eigen::VectorXd values = svd.singularValues();
  // Anchors on one line leave two solutions: the two smallest singular values both near 0.
  if (values.size() < 8 || values(7) < 1e-9 * values(0)) {
    return false;
  }
  const Eigen::VectorXd v = svd.matrixV().col(8);
  Eigen::Matrix3d h;
  h << v(0), v(1), v(2), v(3), v(4), v(5), v(6), v(7), v(8);
  h = tp.inverse() * h * ts;
  if (std::abs(h(2, 2)) < 1e-12) {
    return false;
  }
  matrix = ToArray(h);
  return std::all_of(matrix.begin(), matrix.end(), [](double x) { return std::isfinite(x); });
}

Point Apply(const Homography& m, Point s) {
  const double w = m[6] * s.x + m[7] * s.y + m[8];
  return {(m[0] * s.x + m[1] * s.y + m[2]) / w, (m[3] * s.x + m[4] * s.y + m[5]) / w};
}

Point Unapply(const Homography& m, Point p) {
  return Apply(ToArray(ToMatrix(m).inverse()), p);
}

double Miss(const Homography& matrix, const Anchor& anchor) {
  const Point back = Unapply(matrix, anchor.picture);
  return std::hypot(back.x - anchor.sheet.x, back.y - anchor.sheet.y);
}

HomographyFit RobustHomography(const std::vector<Anchor>& anchors, double agreeInches) {
  HomographyFit best;
  const std::size_t n = anchors.size();
  if (n < 4) {
    return best;
  }
  std::uint32_t state = 2463534242u;  // xorshift: the same draws on every platform
  const auto next = [&state, n] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<std::size_t>(state % n);
  };
  std::vector<double> weights(n);
  for (int draw = 0; draw < kDraws; ++draw) {
    std::size_t pick[4] = {next(), next(), next(), next()};
    std::sort(pick, pick + 4);
    if (std::adjacent_find(pick, pick + 4) != pick + 4) {
      continue;
    }
    Homography candidate{};
    if (!FitHomography({anchors[pick[0]], anchors[pick[1]], anchors[pick[2]], anchors[pick[3]]}, {},
                       candidate)) {
      continue;
    }
    int agree = 0;
    for (const Anchor& a : anchors) {
      agree += Miss(candidate, a) <= agreeInches ? 1 : 0;
    }
    if (agree > best.inliers) {
      best.inliers = agree;
      best.matrix = candidate;
    }
  }
  if (best.inliers < 4) {
    return {};
  }
  // Fitted again to all that agree, twice: the second fit may take in a few more.
  for (int round = 0; round < 2; ++round) {
    for (std::size_t i = 0; i < n; ++i) {
      weights[i] = Miss(best.matrix, anchors[i]) <= agreeInches ? 1 : 0;
    }
    Homography refit{};
    if (std::count(weights.begin(), weights.end(), 1.0) >= 4 &&
        FitHomography(anchors, weights, refit)) {
      best.matrix = refit;
    }
  }
  best.inlier.assign(n, false);
  best.inliers = 0;
  for (std::size_t i = 0; i < n; ++i) {
    best.inlier[i] = Miss(best.matrix, anchors[i]) <= agreeInches;
    weights[i] = best.inlier[i] ? 1 : 0;
    best.inliers += best.inlier[i] ? 1 : 0;
  }
  best.found = best.inliers >= 4;
  Measure(anchors, weights, best);
  return best;
}

HomographyFit LocalHomography(const std::vector<Anchor>& anchors, const HomographyFit& global,
                              Point centre, double reachInches) {
  HomographyFit local = global;
  std::vector<double> weights(anchors.size(), 0);
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    if (i < global.inlier.size() && global.inlier[i]) {
      const double d = std::hypot(anchors[i].sheet.x - centre.x, anchors[i].sheet.y - centre.y);
      weights[i] = std::exp(-d * d / (2 * reachInches * reachInches));
    }
  }
  Homography matrix{};
  if (!FitHomography(anchors, weights, matrix)) {
    return local;
  }
  local.matrix = matrix;
  Measure(anchors, weights, local);
  return local;
}

double DotsPerInchAcross(const Homography& m, Point at) {
  const Point a = Apply(m, {at.x - 0.05, at.y}), b = Apply(m, {at.x + 0.05, at.y});
  return std::hypot(b.x - a.x, b.y - a.y) / 0.1;
}

double DotsPerInchDown(const Homography& m, Point at) {
  const Point a = Apply(m, {at.x, at.y - 0.05}), b = Apply(m, {at.x, at.y + 0.05});
  return std::hypot(b.x - a.x, b.y - a.y) / 0.1;
}

bool InPerspective(const Homography& m, double width, double height, double share) {
  double least = 1e300, most = 0;
  for (const Point corner : {Point{0, 0}, Point{width, 0}, Point{0, height}, Point{width, height},
                             Point{width / 2, height / 2}}) {
    for (const double dpi : {DotsPerInchAcross(m, corner), DotsPerInchDown(m, corner)}) {
      least = std::min(least, dpi);
      most = std::max(most, dpi);
    }
  }
  return most > least * (1 + share);
}

}  // namespace quorvel::verify
