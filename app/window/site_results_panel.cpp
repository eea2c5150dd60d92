// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/site_results_panel.h"

#include <QEvent>
#include <QPalette>
#include <QStringList>
#include <utility>

#include "core/number_text.h"
#include "sampling/measured_calibration.h"
#include "site/site_class.h"
#include "site/time_averaged_velocity.h"
#include "window/posterior_results_window.h"

namespace dispfit {

namespace {

QString depthText(double depth) {
  return QString::fromStdString(figureText(depth, Figure::Depth));
}

QString velocityText(double velocity) {
  return QString::fromStdString(figureText(velocity, Figure::Velocity));
}

// "Vs20 = 301.9 m/s", marked when Z lies below the constrained depth.
QString averageText(const DepthAverage& average) {
  const QString velocity = average.velocity
                               ? SiteResultsPanel::tr("%1 m/s").arg(velocityText(*average.velocity))
                               : SiteResultsPanel::tr("无");
  QString text = QStringLiteral("Vs%1 = %2").arg(static_cast<int>(average.depth)).arg(velocity);
  if (average.extrapolated) text += SiteResultsPanel::tr("（外推）");
  return text;
}

QString classesText(const SiteSummary& summary) {
  if (!summary.groundType || !summary.nehrpClass) {
    return SiteResultsPanel::tr("模型无可用的层，无 Vs30。");
  }
  return SiteResultsPanel::tr("Eurocode 8 地基类型 %1，NEHRP 场地类别 %2")
      .arg(QString::fromStdString(className(*summary.groundType)),
           QString::fromStdString(className(*summary.nehrpClass)));
}

QString depthText(const SiteSummary& summary) {
  if (!summary.constrainedDepth) return {};
  const QString depth = depthText(*summary.constrainedDepth);
  bool anyExtrapolated = false;
  for (const DepthAverage& average : summary.averages) anyExtrapolated |= average.extrapolated;
  return anyExtrapolated ? SiteResultsPanel::tr("外推：Z 深于数据约束深度 %1 m").arg(depth)
                         : SiteResultsPanel::tr("数据约束深度 %1 m").arg(depth);
}

// "Vs30 中值 301.9 m/s，10%–90% 280.1–330.2", marked when Z lies below
// the constrained depth.
QString spreadText(const AverageSpread& average) {
  QString text = SiteResultsPanel::tr("Vs%1 中值 %2 m/s，10%–90% %3–%4")
                     .arg(static_cast<int>(average.depth))
                     .arg(velocityText(average.vs.median), velocityText(average.vs.p10),
                          velocityText(average.vs.p90));
  if (average.extrapolated) text += SiteResultsPanel::tr("（外推）");
  return text;
}

// The classes of Vs30's 10th percentile, median and 90th percentile.
QString spreadClassesText(const AverageSpread& vs30) {
  QStringList ground, nehrp;
  for (int q = 0; q < 3; ++q) {
    ground.append(QString::fromStdString(className(vs30.groundTypes[q])));
    nehrp.append(QString::fromStdString(className(vs30.nehrpClasses[q])));
  }
  return SiteResultsPanel::tr("Vs30 类别（10%/中值/90%）：EC8 %1，NEHRP %2")
      .arg(ground.join(QLatin1Char('/')), nehrp.join(QLatin1Char('/')));
}

// "Vs30 中值 348.1 m/s，5%–95% 346.1–350.2", marked below the constrained depth.
QString credibleText(const PosteriorAverage& average) {
  QString text = SiteResultsPanel::tr("Vs%1 中值 %2 m/s，5%–95% %3–%4")
                     .arg(static_cast<int>(average.depth))
                     .arg(velocityText(average.vs.p50), velocityText(average.vs.p5),
                          velocityText(average.vs.p95));
  if (average.extrapolated) text += SiteResultsPanel::tr("（外推）");
  return text;
}

// Each scheme's most probable class with its probability: "EC8 C 1.00,
// NEHRP D 0.97, ASCE 7-22 CD 0.97".
QString likeliestClassesText(const PosteriorSummary& summary) {
  QStringList parts;
  for (std::size_t i = 0; i < summary.classes.size(); ++i) {
    const ClassProbability& p = summary.classes[i];
    if (i > 0 && summary.classes[i - 1].system == p.system) continue;
    const ClassProbability* best = &p;
    for (std::size_t j = i; j < summary.classes.size() && summary.classes[j].system == p.system;
         ++j) {
      if (summary.classes[j].probability > best->probability) best = &summary.classes[j];
    }
    const QString system = p.system == "Eurocode 8"  ? QStringLiteral("EC8")
                           : p.system == "ASCE 7-22" ? QStringLiteral("ASCE 7-22")
                                                     : QStringLiteral("NEHRP");
    parts.append(QStringLiteral("%1 %2 %3")
                     .arg(system, QString::fromStdString(best->name),
                          QString::fromStdString(fixedText(best->probability, 2))));
  }
  return parts.join(QStringLiteral(", "));
}

QString classCaution() {
  return SiteResultsPanel::tr("地基类型 E、S1、S2 与 NEHRP F 类不能仅凭 Vs30 判定。");
}

}  // namespace

SiteResultsPanel::SiteResultsPanel(QWidget* parent) : QLabel(parent) {
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setMargin(3);
  setTextInteractionFlags(Qt::TextSelectableByMouse);
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
}

void SiteResultsPanel::showSummary(const SiteSummary& summary, Heading heading) {
  summary_ = summary;
  averages_.reset();
  posterior_.reset();
  constrainedDepth_ = summary.constrainedDepth;
  heading_ = std::move(heading);
  render();
}

void SiteResultsPanel::showEnsembleSummary(const std::vector<AverageSpread>& averages,
                                           std::optional<double> constrainedDepth,
                                           Heading heading) {
  summary_.reset();
  posterior_.reset();
  averages_ = averages;
  constrainedDepth_ = constrainedDepth;
  heading_ = std::move(heading);
  render();
}

void SiteResultsPanel::showPosteriorSummary(const PosteriorSummary& summary, Heading heading) {
  summary_.reset();
  averages_.reset();
  posterior_ = summary;
  constrainedDepth_ = summary.constrainedDepth;
  heading_ = std::move(heading);
  render();
}

void SiteResultsPanel::clearSummary() {
  summary_.reset();
  averages_.reset();
  posterior_.reset();
  heading_ = nullptr;
  render();
}

void SiteResultsPanel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) render();
  QLabel::changeEvent(event);
}

void SiteResultsPanel::render() {
  QStringList lines;
  if (heading_) lines.append(heading_());
  if (summary_) {
    // Two averages a line: 5 and 10 m, then 20 and 30 m.
    for (std::size_t i = 0; i + 1 < summary_->averages.size(); i += 2) {
      lines.append(averageText(summary_->averages[i]) + tr("，") +
                   averageText(summary_->averages[i + 1]));
    }
    lines.append(classesText(*summary_));
    const QString depth = depthText(*summary_);
    if (!depth.isEmpty()) lines.append(depth);
    lines.append(classCaution());
    setText(lines.join(QLatin1Char('\n')));
    setToolTip(text());  // for a panel made too small to show every line
    return;
  }
  if (averages_) {
    if (averages_->empty()) lines.append(tr("没有模型被接受：可放宽接受条件或增加模型数。"));
    for (const AverageSpread& average : *averages_) lines.append(spreadText(average));
    if (!averages_->empty() && averages_->back().depth == kVs30Depth) {
      lines.append(spreadClassesText(averages_->back()));
    }
    lines.append(tr("离散度不是不确定度：见后验分布"));
    setText(lines.join(QLatin1Char('\n')));
    // The panel's six lines leave the constrained depth, which the Vs chart
    // marks, and the caution to the tool tip.
    QStringList tip = lines;
    if (constrainedDepth_) tip.append(tr("数据约束深度 %1 m").arg(depthText(*constrainedDepth_)));
    tip.append(classCaution());
    setToolTip(tip.join(QLatin1Char('\n')));
    return;
  }
  if (posterior_) {
    for (const PosteriorAverage& average : posterior_->averages) {
      lines.append(credibleText(average));
    }
    lines.append(tr("最可能类别（概率）：%1").arg(likeliestClassesText(*posterior_)));
    // The panel has room for six lines: one mark goes on the heading's, the
    // strongest word that applies: not converged, then a best fit beyond
    // sigma, then samples that fit through unrecorded modes, then the
    // measured shortfall.
    if (posterior_->convergence.converged && !lines.isEmpty()) {
      if (posterior_->fit && posterior_->fit->warns()) {
        lines.front() += tr("（拟合超出 σ）");
      } else if (posterior_->recordedModes && posterior_->recordedModes->warns()) {
        lines.front() += tr("（含地表记录不到的模态）");
      } else if (anyFallsShort(
                     measuredCoverageUnder(posterior_->counts, posterior_->forward.rule))) {
        lines.front() += tr("；实测区间偏窄");
      }
    }
    setText(lines.join(QLatin1Char('\n')));
    QStringList tip = lines;
    tip.append(tr("后验分布的可信区间；各类别的概率见“后验分布”窗口。"));
    tip.append(calibrationText(posterior_->counts, posterior_->forward.rule));
    tip.append(classCaution());
    setToolTip(tip.join(QLatin1Char('\n')));
    return;
  }
  clear();
  setToolTip(QString());
}

}  // namespace dispfit
