// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/posterior_tables.h"

#include <algorithm>

#include "records/number_text.h"

namespace dispfit {

namespace {

void appendNumber(std::string& text, double value) {
  text += swcore::formatNumber(value).view();
}

void appendNumbers(std::string& text, std::initializer_list<double> values) {
  bool first = true;
  for (const double v : values) {
    if (!first) text += ", ";
    appendNumber(text, v);
    first = false;
  }
}

void appendQuantiles(std::string& text, const Credible& c) {
  appendNumbers(text, {c.p5, c.p10, c.p50, c.p90, c.p95});
}

}  // namespace

std::string posteriorProfileTable(const PosteriorSummary& summary) {
  std::string text =
      "depth (m), vs p5 (m/s), vs p10 (m/s), vs p50 (m/s), vs p90 (m/s), vs p95 (m/s)\n";
  for (const PosteriorProfileRow& row : summary.profile) {
    appendNumber(text, row.depth);
    text += ", ";
    appendQuantiles(text, row.vs);
    text += '\n';
  }
  return text;
}

std::string posteriorSummaryTable(const PosteriorSummary& summary) {
  std::string text =
      "quantity, p5 (m/s), p10 (m/s), p50 (m/s), p90 (m/s), p95 (m/s), extrapolated\n";
  for (const PosteriorAverage& row : summary.averages) {
    text += "Vs" + std::to_string(static_cast<int>(row.depth)) + ", ";
    appendQuantiles(text, row.vs);
    text += row.extrapolated ? ", 1\n" : ", 0\n";
  }
  return text;
}

std::string classProbabilityTable(const PosteriorSummary& summary) {
  std::string text = "system, class, vs30 range, probability\n";
  for (const ClassProbability& row : summary.classes) {
    text += row.system + ", " + row.name + ", " + row.range + ", ";
    appendNumber(text, row.probability);
    text += '\n';
  }
  return text;
}

std::string posteriorSampleTable(const SamplerRun& run, const ModelPrior& prior,
                                 NoiseModel noiseModel, std::size_t most) {
  const auto layers = static_cast<std::size_t>(prior.counts().most);
  const bool noise = noiseModel == NoiseModel::Hierarchical;
  std::string text = "chain, layers";
  for (std::size_t i = 0; i < layers; ++i) text += ", vs" + std::to_string(i + 1) + " (m/s)";
  for (std::size_t i = 0; i + 1 < layers; ++i) text += ", h" + std::to_string(i + 1) + " (m)";
  if (prior.samplesPoisson()) {
    for (std::size_t i = 0; i < layers; ++i) text += ", nu" + std::to_string(i + 1);
  }
  if (noise) text += ", noise scale";
  text += ", log-likelihood\n";
  const auto total = static_cast<std::size_t>(run.sampleCount());
  const std::size_t stride =
      std::max<std::size_t>(1, (total + most - 1) / std::max<std::size_t>(most, 1));
  for (std::size_t c = 0; c < run.chains.size(); ++c) {
    const SampleChain& chain = run.chains[c];
    for (std::size_t i = stride - 1; i < chain.size(); i += stride) {
      const SampleView s = chain[i];
      const std::size_t k = s.layerCount();
      text += std::to_string(c + 1) + ", " + std::to_string(k);
      // The half-space's S velocity in the last column of its count's
      // layers; the columns of layers it does not have stay empty.
      for (std::size_t l = 0; l < layers; ++l) {
        text += ", ";
        if (l < k) appendNumber(text, s.vs[l]);
      }
      for (std::size_t l = 0; l + 1 < layers; ++l) {
        text += ", ";
        if (l + 1 < k) appendNumber(text, s.thickness[l]);
      }
      if (prior.samplesPoisson()) {
        for (std::size_t l = 0; l < layers; ++l) {
          text += ", ";
          if (l < k && prior.ranges(l, k).poisson) appendNumber(text, s.poisson[l]);
        }
      }
      if (noise) {
        text += ", ";
        appendNumber(text, s.noise);
      }
      text += ", ";
      appendNumber(text, s.logLikelihood);
      text += '\n';
    }
  }
  return text;
}

std::string predictiveTable(const PosteriorSummary& summary) {
  std::string text =
      "frequency (Hz), observed (m/s), sigma (m/s), p10 (m/s), p50 (m/s), p90 (m/s)\n";
  for (const PredictiveRow& row : summary.predictive) {
    appendNumbers(text, {row.frequency, row.observed, row.sigma, row.p10, row.p50, row.p90});
    text += '\n';
  }
  return text;
}

std::string interfaceTable(const PosteriorSummary& summary) {
  std::string text = "top (m), bottom (m), probability\n";
  for (const InterfaceRow& row : summary.interfaces) {
    appendNumbers(text, {row.top, row.bottom, row.probability});
    text += '\n';
  }
  return text;
}

}  // namespace dispfit
