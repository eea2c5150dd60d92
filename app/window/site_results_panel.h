// SPDX-License-Identifier: GPL-3.0-or-later
// The results panel beside the charts: which model it speaks of and how well
// it fits, VsZ at 5, 10, 20 and 30 m, Vs30 with its Eurocode 8 ground type and
// NEHRP class, which averages reach below what the data constrain, and the
// caution on the classes; after a global search the spread of the averages
// over the models kept near the best fit (not an uncertainty), after a
// posterior their credible intervals and the classes' probabilities. Shown in Chinese; the tool tip
// gives the English.
#pragma once

#include <QLabel>
#include <QString>

#include <optional>
#include <vector>

#include "sampling/posterior_summary.h"
#include "search/ensemble_statistics.h"
#include "site/site_summary.h"

namespace dispfit {

class SiteResultsPanel : public QLabel {
  Q_OBJECT

 public:
  explicit SiteResultsPanel(QWidget* parent = nullptr);

  // Shows the summary under a heading (the model and its misfit), with
  // `englishHeading` the heading's English sense for the tool tip.
  void showSummary(const SiteSummary& summary, const QString& heading,
                   const QString& englishHeading);
  // Shows a global search's spread of VsZ (median, 10th and 90th percentile)
  // and Vs30's classes at the three, under a heading (the accepted count and
  // the best misfit) with its English sense for the tool tip.
  void showEnsembleSummary(const std::vector<AverageSpread>& averages,
                           std::optional<double> constrainedDepth, const QString& heading,
                           const QString& englishHeading);
  // Shows a posterior's credible VsZ (median, 5 % and 95 %) and the most
  // probable class of Vs30 in each scheme with its probability, under a
  // heading (the samples and R-hat, marked when not converged) with its
  // English sense for the tool tip.
  void showPosteriorSummary(const PosteriorSummary& summary, const QString& heading,
                            const QString& englishHeading);
  // Empties the panel.
  void clearSummary();
};

}  // namespace dispfit
