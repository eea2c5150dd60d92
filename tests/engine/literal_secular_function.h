// SPDX-License-Identifier: GPL-3.0-or-later
// The secular function in its plain textbook form, term by term,
// without any regard for speed: the reference for the values (not only the
// zeros) of the engine's evaluation. Layers numbered from 1.
#pragma once

#include <cmath>

#include "dispersion/engine_state.h"

namespace dispfit_test {

inline double literalSecularFunction(const swcore::EngineState& s, double c) {
  const int n = s.layerCount;
  const auto h = [&](int m) { return s.thickness[m - 1]; };
  const auto beta = [&](int m) { return s.shearVelocity[m - 1]; };
  const auto alpha = [&](int m) { return s.pVelocity[m - 1]; };
  const auto rho = [&](int m) { return s.density[m - 1]; };

  const double c2 = c * c;
  const double k = s.omega / c;
  const double gamma = 2.0 * beta(1) * beta(1) / c2;
  double x1 = -gamma * (gamma - 1.0), x2 = 0.0, x3 = (gamma - 1.0) * (gamma - 1.0);
  double x4 = gamma * gamma, x5 = 0.0;
  const double f0 = ((n - 1) % 2 == 0 ? 1.0 : -1.0) * rho(1) * rho(1) /
                    (2.0 * alpha(n) * alpha(n) * beta(n) * beta(n) * rho(n) * rho(n));

  for (int m = 1; m <= n - 1; ++m) {
    const double eps = rho(m + 1) / rho(m);
    const double eta = 2.0 * (beta(m) * beta(m) - eps * beta(m + 1) * beta(m + 1));
    const double e = eta / c2, a = e + eps, ap = e - 1.0 + eps, ep = e - 1.0;
    double cv[2], sv[2], tv[2];
    const double v[2] = {alpha(m), beta(m)};
    for (int j = 0; j < 2; ++j) {
      const double q = 1.0 - c2 / (v[j] * v[j]);
      if (q >= 0.0) {
        const double r = std::sqrt(q);
        double xx = -k * h(m) * r;
        if (xx > 1e20) xx = 20.0;
        const double ee = std::exp(xx) / 2.0, g = 1.0 / (4.0 * ee);
        cv[j] = ee + g;
        sv[j] = (ee - g) / (-r);
        tv[j] = (ee - g) * r;
      } else {
        const double r = std::sqrt(-q), th = k * h(m) * r;
        cv[j] = std::cos(th);
        sv[j] = std::sin(th) / r;
        tv[j] = r * std::sin(th);
      }
    }
    const double ca = cv[0], sa = sv[0], ta = tv[0], cb = cv[1], sb = sv[1], tb = tv[1];
    double u, w, n1, n2, n3, n4, n5;
    if (m % 2 == 1) {
      u = x2 * tb * ca - x3 * cb * ca + (x5 * cb + x4 * tb) * ta;
      w = (x3 * sb + x2 * cb) * sa - x4 * cb * ca + x5 * sb * ca;
      n1 = a * e * u - (a * ep + ap * e) * x1 + ap * ep * w;
      n2 = -eps * ((x2 * tb - x3 * cb) * sa - x4 * tb * ca - x5 * cb * ca);
      n3 = e * e * u + (ep * w - 2.0 * e * x1) * ep;
      n4 = a * a * u + (ap * w - 2.0 * a * x1) * ap;
      n5 = -eps * (-x2 * cb * ca - x3 * sb * ca - (x4 * cb - x5 * sb) * ta);
    } else {
      u = (x2 * cb - x3 * tb) * ta + x4 * cb * ca + x5 * tb * ca;
      w = x2 * sb * ca + x3 * cb * ca - (x4 * sb - x5 * cb) * sa;
      n1 = a * e * u - (a * ep + ap * e) * x1 + ap * ep * w;
      n2 = -eps * ((x3 * cb + x2 * sb) * ta + x4 * sb * ca - x5 * cb * ca);
      n3 = (2.0 * a * x1 - ap * w) * ap - a * a * u;
      n4 = (2.0 * e * x1 - ep * w) * ep - e * e * u;
      n5 = -eps * ((x5 * tb + x4 * cb) * sa - x2 * cb * ca + x3 * tb * ca);
    }
    x1 = n1, x2 = n2, x3 = n3, x4 = n4, x5 = n5;
  }

  const double qa = 1.0 - c2 / (alpha(n) * alpha(n));
  const double qb = 1.0 - c2 / (beta(n) * beta(n));
  const double sA = qa >= 0.0 ? -std::sqrt(qa) : std::sqrt(-qa);
  const double sB = qb >= 0.0 ? -std::sqrt(qb) : std::sqrt(-qb);
  const double bracket =
      n % 2 == 1 ? x3 - sB * x2 - sA * sB * x4 - sA * x5 : x4 + sA * x2 - sA * sB * x3 + sB * x5;
  return bracket * c2 * c2 * f0 / (sA * sB);
}

}  // namespace dispfit_test
