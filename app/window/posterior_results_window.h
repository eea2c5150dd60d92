// SPDX-License-Identifier: GPL-3.0-or-later
// The window beside the main one that shows what only a posterior has: the
// convergence figures (marked when the chains have not met), the Vs30
// histogram with the class bounds, the probability of each site class in
// the three schemes and of each layer count. Laid out with Qt layouts; its
// texts are set again on a change of language.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QTableWidget>
#include <optional>

#include "sampling/posterior_summary.h"
#include "window/vs30_histogram_chart.h"

namespace dispfit {

class PosteriorResultsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit PosteriorResultsWindow(QWidget* parent = nullptr);

  void showSummary(const PosteriorSummary& summary);

  QLabel Convergence;  // R-hat, effective sample size, acceptance and swap rates
  Vs30HistogramChart Histogram;
  QTableWidget Classes;  // system, class, Vs30 range, probability
  QLabel LayerCounts;    // shown when the count was sampled

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void retranslate();

  std::optional<PosteriorSummary> shown_;  // what the texts describe
};

// The forward rule a run's curves were taken under, as a line of its own:
// "正演：最低根（基阶）" or "正演：地表可观测基阶（响应 ≥ 10%）".
QString forwardRuleLine(const swcore::ForwardRuleSettings& forward);

// The window's convergence text: the samples, R-hat and the effective
// sample sizes, the not-converged warning where it applies.
QString convergenceText(const PosteriorSummary& summary);
// What the credible intervals are and are not, and what they held on the
// measured configuration nearest the layer counts sampled.
QString calibrationText(LayerCountRange counts,
                        swcore::ForwardRule rule = swcore::ForwardRule::lowestRoot);

}  // namespace dispfit
