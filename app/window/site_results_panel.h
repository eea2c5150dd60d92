// SPDX-License-Identifier: GPL-3.0-or-later
// The results panel beside the charts: which model it speaks of and how well
// it fits, VsZ at 5, 10, 20 and 30 m, Vs30 with its Eurocode 8 ground type and
// NEHRP class, which averages reach below what the data constrain, and the
// caution on the classes; after a global search the spread of the averages
// over the accepted models. In the language the application shows, set anew
// when it changes; the tool tip repeats it for a panel too small to show it.
#pragma once

#include <QLabel>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "search/ensemble_statistics.h"
#include "site/site_summary.h"

namespace dispfit {

class SiteResultsPanel : public QLabel {
  Q_OBJECT

 public:
  explicit SiteResultsPanel(QWidget* parent = nullptr);

  // Makes a heading in the language shown, asked again after every change.
  using Heading = std::function<QString()>;

  // Shows the summary under a heading (the model and its misfit).
  void showSummary(const SiteSummary& summary, Heading heading);
  // Shows a global search's spread of VsZ (median, 10th and 90th percentile)
  // and Vs30's classes at the three, under a heading (the accepted count and
  // the best misfit).
  void showEnsembleSummary(const std::vector<AverageSpread>& averages,
                           std::optional<double> constrainedDepth, Heading heading);
  // Empties the panel.
  void clearSummary();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void render();

  // What the panel shows; none of the two: empty.
  std::optional<SiteSummary> summary_;
  std::optional<std::vector<AverageSpread>> averages_;
  std::optional<double> constrainedDepth_;
  Heading heading_;
};

}  // namespace dispfit
