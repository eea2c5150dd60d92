// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_models.h"

#include <algorithm>
#include <cmath>

namespace dispfit_test {

Model randomNearSurfaceModel(std::mt19937_64& rng) {
  std::uniform_int_distribution<int> layerCount(1, 20);
  std::uniform_real_distribution<double> thickness(0.0005, 0.005);
  std::uniform_real_distribution<double> velocity(0.08, 0.9);
  std::uniform_real_distribution<double> density(1.6, 2.2);
  const int n = layerCount(rng);
  Model m;
  for (int i = 0; i < n; ++i) {
    m.thickness.push_back(i + 1 < n ? thickness(rng) : 0.0);
    m.vs.push_back(velocity(rng));
    m.density.push_back(density(rng));
  }
  std::sort(m.vs.begin(), m.vs.end());
  std::uniform_int_distribution<int> slowCount(0, 2);
  for (int k = slowCount(rng); k > 0 && n > 2; --k) {
    const int i = std::uniform_int_distribution<int>(1, n - 2)(rng);
    m.vs[i] = std::uniform_real_distribution<double>(0.08, m.vs[i - 1])(rng);
  }
  return m;
}

swcore::EngineState stateFor(const Model& model, double omega) {
  swcore::EngineState s{};
  s.layerCount = static_cast<int32_t>(model.vs.size());
  for (size_t i = 0; i < model.vs.size(); ++i) {
    s.thickness[i] = model.thickness[i];
    s.shearVelocity[i] = model.vs[i];
    s.pVelocity[i] = 3.0 * model.vs[i];
    s.density[i] = model.density[i];
  }
  s.omega = omega;
  return s;
}

std::vector<Layer> layersFor(const Model& model) {
  std::vector<Layer> layers;
  for (size_t i = 0; i < model.vs.size(); ++i) {
    layers.push_back({model.thickness[i], model.vs[i], 3.0 * model.vs[i], model.density[i]});
  }
  return layers;
}

double engineOmega(double hertz) {
  const double period = 1.0 / hertz;
  return 6.2831854820251465 / period;
}

double halfSpaceRayleighRatio() {
  // xi^3 - 8 xi^2 + (24 - 16 / kappa^2) xi - 16 (1 - 1 / kappa^2) = 0, kappa = Vp / Vs.
  const double inv = 1.0 / 9.0;
  const auto cubic = [inv](double xi) {
    return ((xi - 8.0) * xi + (24.0 - 16.0 * inv)) * xi - 16.0 * (1.0 - inv);
  };
  double lo = 0.5;
  double hi = 0.99;
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    ((cubic(mid) < 0.0) == (cubic(lo) < 0.0) ? lo : hi) = mid;
  }
  return std::sqrt(0.5 * (lo + hi));
}

Model twoLayersOverHalfSpace() {
  return {{0.005, 0.010, 0.0}, {0.15, 0.25, 0.40}, {1.8, 1.9, 2.0}};
}

std::vector<float> standardFrequencies() {
  std::vector<float> f;
  for (int hz = 150; hz >= 5; hz -= 5) {
    f.push_back(static_cast<float>(hz));
  }
  return f;
}

std::vector<swcore::ModelLayer> randomVariedModel(std::mt19937_64& rng) {
  const auto uniform = [&rng](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  const auto logUniform = [&](double lo, double hi) {
    return std::exp(uniform(std::log(lo), std::log(hi)));
  };
  const auto chance = [&](double p) { return uniform(0.0, 1.0) < p; };
  const int n = std::uniform_int_distribution<int>(1, 20)(rng);
  std::vector<double> vs;
  for (int i = 0; i < n; ++i) {
    vs.push_back(logUniform(80.0, 2000.0));
  }
  std::sort(vs.begin(), vs.end());
  if (n > 1 && chance(0.3)) {
    // A stiff crust, pavement or fill over softer ground.
    vs[0] = std::min(2000.0, vs[1] * uniform(1.3, 4.0));
  }
  for (int k = std::uniform_int_distribution<int>(0, 2)(rng); k > 0 && n > 2; --k) {
    const int i = std::uniform_int_distribution<int>(1, n - 2)(rng);
    vs[i] = uniform(80.0, vs[i - 1]);
  }
  if (n > 1 && chance(0.1)) {
    const double fastestAbove = *std::max_element(vs.begin(), vs.end() - 1);
    vs[n - 1] = std::max(80.0, fastestAbove * uniform(0.6, 0.98));
  }
  std::vector<swcore::ModelLayer> model;
  for (int i = 0; i < n; ++i) {
    model.push_back(
        {logUniform(0.5, 30.0), vs[i], uniform(1500.0, 2500.0), vs[i] * logUniform(1.7, 10.0)});
  }
  return model;
}

std::vector<Layer> layersFor(std::span<const swcore::ModelLayer> model) {
  std::vector<Layer> layers;
  for (const swcore::ModelLayer& layer : model) {
    const double vp = layer.pVelocity.value_or(3.0 * layer.shearVelocity);
    layers.push_back(
        {layer.thickness / 1000.0, layer.shearVelocity / 1000.0, vp / 1000.0, layer.density});
  }
  return layers;
}

}  // namespace dispfit_test
