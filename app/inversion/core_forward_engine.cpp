// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/core_forward_engine.h"

#include <string>
#include <utility>

namespace dispfit {

namespace {

constexpr double kKilogramsPerCubicMetrePerGramPerCubicCentimetre = 1000.0;

}  // namespace

CoreForwardEngine::CoreForwardEngine(VpRule rule, MessagePresenter& messages)
    : rule_(std::move(rule)), messages_(messages) {}

std::vector<double> CoreForwardEngine::pVelocities(const std::vector<double>& thickness,
                                                   const std::vector<double>& vs) const {
  std::vector<double> vp;
  double top = 0.0;
  for (std::size_t i = 0; i < vs.size(); ++i) {
    vp.push_back(pVelocity(rule_, vs[i], top));
    if (i < thickness.size()) top += thickness[i];
  }
  return vp;
}

bool CoreForwardEngine::run(ForwardCall& call) {
  model_.clear();
  double top = 0.0;  // m, the top of the layer
  for (int32_t i = 0; i < call.layerCount; ++i) {
    const double vs = call.vs[i];
    swcore::ModelLayer layer{call.thickness[i], vs,
                             call.density[i] * kKilogramsPerCubicMetrePerGramPerCubicCentimetre};
    layer.pVelocity = pVelocity(rule_, vs, top);
    model_.push_back(layer);
    top += call.thickness[i];
  }
  frequencies_.assign(call.freq, call.freq + call.freqCount);
  curve_.assign(frequencies_.size(), {});
  const swcore::CurveStatus status =
      solver_.compute(model_, frequencies_, swcore::CurveKind::phase, curve_);
  if (status != swcore::CurveStatus::ok) {
    messages_.showPlain(std::string("正演计算失败 (the forward run failed): ") +
                        swcore::describe(status));
    return false;
  }
  for (std::size_t j = 0; j < curve_.size(); ++j) {
    call.phaseVelocity[j] = curve_[j].hasRoot ? static_cast<float>(curve_[j].phaseVelocity) : 0.0f;
  }
  return true;
}

}  // namespace dispfit
