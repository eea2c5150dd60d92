#include "test_models.h"

#include <cmath>

namespace dispfit_test {

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

}  // namespace dispfit_test
