// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/modal_response.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "dispersion/eigenfunction.h"
#include "dispersion/medium_response.h"

namespace dispfit {

std::vector<ModalCurve> rayleighModeCurves(std::span<const swcore::ModelLayer> model,
                                           std::span<const double> frequencies, int modes) {
  const auto perFrequency = static_cast<std::size_t>(modes);
  std::vector<swcore::CurvePoint> points(frequencies.size() * perFrequency);
  swcore::DispersionCurveSolver solver;
  const swcore::ModeRequest request{swcore::WaveType::rayleigh, modes, swcore::CurveKind::phase};
  if (solver.computeModes(model, frequencies, request, points) != swcore::CurveStatus::ok) {
    return {};
  }
  std::vector<ModalCurve> curves(perFrequency);
  swcore::Eigenfunction motion;
  for (std::size_t k = 0; k < perFrequency; ++k) {
    ModalCurve& curve = curves[k];
    curve.frequencies.assign(frequencies.begin(), frequencies.end());
    for (std::size_t j = 0; j < frequencies.size(); ++j) {
      const swcore::CurvePoint& point = points[j * perFrequency + k];
      double response = 0.0;
      if (point.hasRoot &&
          motion.compute(model, swcore::WaveType::rayleigh, frequencies[j], point.phaseVelocity) ==
              swcore::Eigenfunction::Status::ok) {
        response = swcore::verticalSurfaceResponse(motion, frequencies[j]);
      }
      curve.phaseVelocities.push_back(point.hasRoot ? point.phaseVelocity
                                                    : std::numeric_limits<double>::quiet_NaN());
      curve.amplitudes.push_back(response);
    }
  }
  return curves;
}

int nearestMode(std::span<const ModalCurve> modes, double frequency, double velocity,
                double share) {
  int nearest = -1;
  double closest = share * velocity;
  for (std::size_t k = 0; k < modes.size(); ++k) {
    const double c = modalVelocityAt(modes[k], frequency);
    if (std::isnan(c)) continue;
    if (std::abs(c - velocity) <= closest) {
      closest = std::abs(c - velocity);
      nearest = static_cast<int>(k);
    }
  }
  return nearest;
}

}  // namespace dispfit
