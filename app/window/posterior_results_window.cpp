// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/posterior_results_window.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <memory>

#include "core/number_text.h"
#include "records/number_text.h"
#include "sampling/measured_calibration.h"

namespace dispfit {

namespace {

QString number(double value, int decimals) {
  return std::isfinite(value) ? QString::fromStdString(fixedText(value, decimals))
                              : PosteriorResultsWindow::tr("未知");
}

}  // namespace

QString forwardRuleLine(const swcore::ForwardRuleSettings& forward) {
  return forward.rule == swcore::ForwardRule::lowestRoot
             ? PosteriorResultsWindow::tr("正演：最低根（基阶）")
             : PosteriorResultsWindow::tr("正演：地表可观测基阶（响应 ≥ %1%）")
                   .arg(100.0 * forward.fraction, 0, 'g', 3);
}

QString convergenceText(const PosteriorSummary& s) {
  const Convergence& c = s.convergence;
  QString text =
      PosteriorResultsWindow::tr("%1 个样本，%2 条温度为 1 的链").arg(s.samples).arg(s.chains);
  text += '\n' + forwardRuleLine(s.forward);
  text += '\n' + PosteriorResultsWindow::tr("R̂：Vs30 %1，对数似然 %2")
                     .arg(number(c.rhatVs30, 3), number(c.rhatLogLikelihood, 3));
  text += '\n' + PosteriorResultsWindow::tr("有效样本数：Vs30 %1，对数似然 %2")
                     .arg(number(c.essVs30, 0), number(c.essLogLikelihood, 0));
  if (!c.converged) {
    text += '\n' + (s.cancelled ? PosteriorResultsWindow::tr("未收敛：已取消，请让其运行完毕")
                                : PosteriorResultsWindow::tr("未收敛：请增加样本数"));
    text += '\n' + PosteriorResultsWindow::tr("区间与概率不可信。");
  }
  if (const std::optional<FitCheck>& fit = s.fit) {
    text += '\n' + PosteriorResultsWindow::tr(
                       "拟合检验：最佳拟合 Q %1，%2 个自由度（点数减参数数），χ² p %3")
                       .arg(number(fit->weightedSquares, 1))
                       .arg(fit->degreesOfFreedom)
                       .arg(QString::number(fit->pValue, 'g', 2));
    if (fit->warns()) {
      text +=
          '\n' + (s.forward.rule == swcore::ForwardRule::lowestRoot
                      ? PosteriorResultsWindow::tr(
                            "在其 σ 内没有模型拟合曲线：曲线可能在某些频率记录了最低根以外的模态，"
                            "或范围不含场地、σ 过小；区间属于曲线并不符合的问题。")
                      : PosteriorResultsWindow::tr(
                            "在其 σ 内没有模型拟合曲线：范围可能不含场地，或 σ 过小；"
                            "区间属于曲线并不符合的问题。"));
    }
  }
  if (const std::optional<RecordedModeCheck>& check = s.recordedModes) {
    text += '\n' + PosteriorResultsWindow::tr(
                       "正演规则检查：%1/%2 个样本（%3%）靠地表台阵记录不到的模态"
                       "（深部陷波模态）拟合曲线")
                       .arg(check->departing)
                       .arg(check->checked)
                       .arg(QString::fromStdString(
                           std::string(swcore::formatNumber(check->percent()).view())));
    if (check->warns()) {
      text +=
          '\n' + PosteriorResultsWindow::tr(
                     "区间包含这些模型：可勾选“Vs 不随深度减小”，或勾选“后验按地表可观测基阶取样”"
                     "重新取样。");
    }
  }
  return text;
}

QString calibrationText(LayerCountRange counts, swcore::ForwardRule rule) {
  const auto percent = [](double share) { return QString::number(std::lround(100.0 * share)); };
  const auto percents = [&percent](const std::array<double, 3>& shares) {
    return percent(shares[0]) + QLatin1Char('/') + percent(shares[1]) + QLatin1Char('/') +
           percent(shares[2]);
  };
  const auto countsText = [](LayerCountRange c) {
    return c.least == c.most ? PosteriorResultsWindow::tr("%1 层").arg(c.least)
                             : PosteriorResultsWindow::tr("%1–%2 层").arg(c.least).arg(c.most);
  };
  QString text = PosteriorResultsWindow::tr(
      "可信区间是此似然与先验下后验的百分位数：以参数范围包含场地、误差为所用 σ "
      "的独立高斯误差及正演规则为条件；不是真值的界限，也不是其他先验或噪声模型下的区间。");
  const bool observed = rule == swcore::ForwardRule::surfaceObserved;
  const MeasuredCoverage& m = measuredCoverageUnder(counts, rule);
  text +=
      '\n' +
      (observed ? PosteriorResultsWindow::tr(
                      "地表可观测规则下实测校准（%1 个 %2的合成场地，曲线为其地表可观测"
                      "基阶，噪声 2%，见 README）")
                : PosteriorResultsWindow::tr("实测校准（%1 个 %2的合成场地，噪声 2%，见 README）"))
          .arg(m.sites)
          .arg(countsText(m.counts));
  if (!(m.counts == counts)) {
    text += PosteriorResultsWindow::tr("，%1未实测").arg(countsText(counts));
  }
  text +=
      PosteriorResultsWindow::tr("：50/80/90% 区间含真实 Vs30 的比例为 %1%").arg(percents(m.vs30));
  if (m.vsAtDepthMeasured) {
    text += PosteriorResultsWindow::tr("，2、5、10 m 处 Vs 不低于 %1%").arg(percents(m.vsAtDepth));
  }
  text += anyFallsShort(m) ? PosteriorResultsWindow::tr("：低于名义覆盖率，区间偏窄。")
                           : PosteriorResultsWindow::tr("：与名义覆盖率相差不超过 8 个百分点。");
  return text;
}

PosteriorResultsWindow::PosteriorResultsWindow(QWidget* parent) : QDialog(parent) {
  setModal(false);
  Convergence.setWordWrap(true);
  // The figures and notes are never cut: the histogram and the classes'
  // table give way instead.
  Convergence.setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
  Classes.setColumnCount(4);
  Classes.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Classes.horizontalHeader()->setStretchLastSection(true);
  Classes.verticalHeader()->setVisible(false);
  Classes.setEditTriggers(QAbstractItemView::NoEditTriggers);
  Classes.setMinimumHeight(200);
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
  resize(560, 700);
  retranslate();
}

void PosteriorResultsWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QDialog::changeEvent(event);
}

void PosteriorResultsWindow::retranslate() {
  setWindowTitle(tr("后验分布"));
  Classes.setHorizontalHeaderLabels({tr("体系"), tr("类别"), tr("Vs30 范围"), tr("概率")});
  if (!shown_) return;
  const PosteriorSummary& s = *shown_;
  Convergence.setText(convergenceText(s) + QLatin1Char('\n') +
                      calibrationText(s.counts, s.forward.rule));
  if (s.counts.least < s.counts.most) {
    QString text = tr("层数概率：");
    for (std::size_t i = 0; i < s.layerCountProbabilities.size(); ++i) {
      text += QStringLiteral("  %1: %2")
                  .arg(s.counts.least + static_cast<int>(i))
                  .arg(number(s.layerCountProbabilities[i], 3));
    }
    LayerCounts.setText(text);
  }
}

void PosteriorResultsWindow::showSummary(const PosteriorSummary& s) {
  shown_ = s;
  const bool warned = !s.convergence.converged || (s.fit && s.fit->warns()) ||
                      (s.recordedModes && s.recordedModes->warns());
  Convergence.setStyleSheet(warned ? QStringLiteral("color: #B00020;") : QString());
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
  LayerCounts.setVisible(s.counts.least < s.counts.most);
  retranslate();  // the convergence figures and the layer counts' probabilities
}

}  // namespace dispfit
