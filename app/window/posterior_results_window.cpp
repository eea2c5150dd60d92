// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/posterior_results_window.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

namespace dispfit {

namespace {

QString number(double value, int decimals) {
  return std::isfinite(value) ? QString::number(value, 'f', decimals) : QObject::tr("未知");
}

}  // namespace

QString convergenceText(const PosteriorSummary& s) {
  const Convergence& c = s.convergence;
  QString text =
      QObject::tr("%1 个样本，%2 条温度为 1 的链 (%1 samples, %2 chains at temperature 1)")
          .arg(s.samples)
          .arg(s.chains);
  text += '\n' + QObject::tr("R̂：Vs30 %1，对数似然 %2 (R-hat: Vs30, log-likelihood)")
                     .arg(number(c.rhatVs30, 3), number(c.rhatLogLikelihood, 3));
  text += '\n' + QObject::tr("有效样本数：Vs30 %1，对数似然 %2 (effective sample size)")
                     .arg(number(c.essVs30, 0), number(c.essLogLikelihood, 0));
  if (!c.converged) {
    text += '\n' + (s.cancelled
                        ? QObject::tr("未收敛：已取消，请让其运行完毕 (not converged: cancelled)")
                        : QObject::tr("未收敛：请增加样本数 (not converged: raise the samples)"));
  }
  return text;
}

PosteriorResultsWindow::PosteriorResultsWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("后验分布 (Posterior)"));
  setModal(false);
  Convergence.setWordWrap(true);
  Classes.setColumnCount(4);
  Classes.setHorizontalHeaderLabels(
      {tr("体系 (system)"), tr("类别 (class)"), tr("Vs30 范围 (range)"), tr("概率 (probability)")});
  Classes.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Classes.horizontalHeader()->setStretchLastSection(true);
  Classes.verticalHeader()->setVisible(false);
  Classes.setEditTriggers(QAbstractItemView::NoEditTriggers);
  Classes.setMinimumHeight(220);
  LayerCounts.setWordWrap(true);
  auto buttons = std::make_unique<QDialogButtonBox>(QDialogButtonBox::Close);
  connect(buttons.get(), &QDialogButtonBox::rejected, this, &QDialog::close);
  auto layout = std::make_unique<QVBoxLayout>();
  layout->addWidget(&Convergence);
  layout->addWidget(&Histogram, 2);
  layout->addWidget(&LayerCounts);
  layout->addWidget(&Classes, 1);
  layout->addWidget(buttons.release());
  setLayout(layout.release());  // the window owns its layout
  resize(560, 640);
}

void PosteriorResultsWindow::showSummary(const PosteriorSummary& s) {
  Convergence.setText(convergenceText(s));
  Convergence.setStyleSheet(s.convergence.converged ? QString()
                                                    : QStringLiteral("color: #B00020;"));
  Histogram.showHistogram(s.vs30Histogram);
  Classes.setRowCount(static_cast<int>(s.classes.size()));
  for (std::size_t i = 0; i < s.classes.size(); ++i) {
    const ClassProbability& p = s.classes[i];
    const QString texts[4] = {QString::fromStdString(p.system), QString::fromStdString(p.name),
                              QString::fromStdString(p.range), number(p.probability, 3)};
    for (int c = 0; c < 4; ++c) {
      Classes.setItem(static_cast<int>(i), c,  // the table owns its items
                      std::make_unique<QTableWidgetItem>(texts[c]).release());
    }
  }
  const bool sampledCount = s.counts.least < s.counts.most;
  LayerCounts.setVisible(sampledCount);
  if (sampledCount) {
    QString text = tr("层数概率 (layer count probabilities)：");
    for (std::size_t i = 0; i < s.layerCountProbabilities.size(); ++i) {
      text += QStringLiteral("  %1: %2")
                  .arg(s.counts.least + static_cast<int>(i))
                  .arg(number(s.layerCountProbabilities[i], 3));
    }
    LayerCounts.setText(text);
  }
}

}  // namespace dispfit
