// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/site_results_panel.h"

#include <QPalette>
#include <QStringList>

#include "site/export_layouts.h"
#include "site/site_class.h"
#include "site/time_averaged_velocity.h"

namespace dispfit {

namespace {

// "Vs20 = 301.9 m/s", marked when Z lies below the constrained depth.
QString averageText(const DepthAverage& average) {
  const QString velocity = average.velocity
                               ? QStringLiteral("%1 m/s").arg(*average.velocity, 0, 'f', 1)
                               : QObject::tr("无");
  QString text = QStringLiteral("Vs%1 = %2").arg(static_cast<int>(average.depth)).arg(velocity);
  if (average.extrapolated) text += QObject::tr("（外推）");
  return text;
}

QString classesText(const SiteSummary& summary) {
  if (!summary.groundType || !summary.nehrpClass) return QObject::tr("模型无可用的层，无 Vs30。");
  return QObject::tr("Eurocode 8 地基类型 %1，NEHRP 场地类别 %2")
      .arg(QString::fromStdString(className(*summary.groundType)),
           QString::fromStdString(className(*summary.nehrpClass)));
}

QString depthText(const SiteSummary& summary) {
  if (!summary.constrainedDepth) return {};
  const QString depth = QString::number(*summary.constrainedDepth, 'f', 1);
  bool anyExtrapolated = false;
  for (const DepthAverage& average : summary.averages) anyExtrapolated |= average.extrapolated;
  return anyExtrapolated ? QObject::tr("外推 (extrapolated)：Z 深于数据约束深度 %1 m").arg(depth)
                         : QObject::tr("数据约束深度 %1 m").arg(depth);
}

QString velocityText(double velocity) {
  return QString::number(velocity, 'f', 1);
}

// "Vs30 中值 301.9 m/s，10%–90% 280.1–330.2", marked when Z lies below
// the constrained depth.
QString spreadText(const AverageSpread& average, bool english) {
  QString text = english ? QStringLiteral("Vs%1 median %2 m/s, 10%-90% %3-%4")
                         : QObject::tr("Vs%1 中值 %2 m/s，10%–90% %3–%4");
  text = text.arg(static_cast<int>(average.depth))
             .arg(velocityText(average.vs.median), velocityText(average.vs.p10),
                  velocityText(average.vs.p90));
  if (average.extrapolated)
    text += english ? QStringLiteral(" (extrapolated)") : QObject::tr("（外推）");
  return text;
}

// The classes of Vs30's 10th percentile, median and 90th percentile.
QString spreadClassesText(const AverageSpread& vs30, bool english) {
  QStringList ground, nehrp;
  for (int q = 0; q < 3; ++q) {
    ground.append(QString::fromStdString(className(vs30.groundTypes[q])));
    nehrp.append(QString::fromStdString(className(vs30.nehrpClasses[q])));
  }
  const QString text = english ? QStringLiteral("Vs30 classes (10%/median/90%): EC8 %1, NEHRP %2")
                               : QObject::tr("Vs30 类别（10%/中值/90%）：EC8 %1，NEHRP %2");
  return text.arg(ground.join(QLatin1Char('/')), nehrp.join(QLatin1Char('/')));
}

// "Vs30 中值 348.1 m/s，5%–95% 346.1–350.2", marked below the constrained depth.
QString credibleText(const PosteriorAverage& average, bool english) {
  QString text = english ? QStringLiteral("Vs%1 median %2 m/s, 5%-95% %3-%4")
                         : QObject::tr("Vs%1 中值 %2 m/s，5%–95% %3–%4");
  text = text.arg(static_cast<int>(average.depth))
             .arg(velocityText(average.vs.p50), velocityText(average.vs.p5),
                  velocityText(average.vs.p95));
  if (average.extrapolated)
    text += english ? QStringLiteral(" (extrapolated)") : QObject::tr("（外推）");
  return text;
}

// Each scheme's most probable class with its probability.
QString likeliestClassesText(const PosteriorSummary& summary) {
  QStringList parts;
  for (std::size_t i = 0; i < summary.classes.size(); ++i) {
    const ClassProbability& p = summary.classes[i];
    const bool first = i == 0 || summary.classes[i - 1].system != p.system;
    if (!first) continue;
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
                          QString::number(best->probability, 'f', 2)));
  }
  return parts.join(QStringLiteral(", "));
}

}  // namespace

void SiteResultsPanel::showPosteriorSummary(const PosteriorSummary& summary, const QString& heading,
                                            const QString& englishHeading) {
  QStringList lines{heading}, english{englishHeading};
  for (const PosteriorAverage& average : summary.averages) {
    lines.append(credibleText(average, false));
    english.append(credibleText(average, true));
  }
  const QString classes = likeliestClassesText(summary);
  lines.append(tr("最可能类别（概率）：%1").arg(classes));
  english.append(QStringLiteral("Likeliest classes (probability): %1").arg(classes));
  english.append(
      QStringLiteral("Credible intervals of the posterior under its prior and "
                     "likelihood; every class's probability in 后验分布."));
  setText(lines.join(QLatin1Char('\n')));
  setToolTip(english.join(QLatin1Char('\n')));
}

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

void SiteResultsPanel::showSummary(const SiteSummary& summary, const QString& heading,
                                   const QString& englishHeading) {
  QStringList lines{heading};
  // Two averages a line: 5 and 10 m, then 20 and 30 m.
  for (std::size_t i = 0; i + 1 < summary.averages.size(); i += 2) {
    lines.append(averageText(summary.averages[i]) + tr("，") +
                 averageText(summary.averages[i + 1]));
  }
  lines.append(classesText(summary));
  const QString depth = depthText(summary);
  if (!depth.isEmpty()) lines.append(depth);
  lines.append(tr("地基类型 E、S1、S2 与 NEHRP F 类不能仅凭 Vs30 判定。"));
  setText(lines.join(QLatin1Char('\n')));
  setToolTip(englishHeading + QLatin1Char('\n') +
             QString::fromStdString(siteSummaryText(summary)).trimmed());
}

void SiteResultsPanel::showEnsembleSummary(const std::vector<AverageSpread>& averages,
                                           std::optional<double> constrainedDepth,
                                           const QString& heading, const QString& englishHeading) {
  QStringList lines{heading}, english{englishHeading};
  if (averages.empty()) {
    lines.append(tr("没有模型被接受：可放宽接受条件或增加模型数。"));
    english.append(QStringLiteral("No model accepted: loosen the acceptance or raise the budget."));
  }
  for (const AverageSpread& average : averages) {
    lines.append(spreadText(average, false));
    english.append(spreadText(average, true));
  }
  if (!averages.empty() && averages.back().depth == kVs30Depth) {
    lines.append(spreadClassesText(averages.back(), false));
    english.append(spreadClassesText(averages.back(), true));
  }
  // The Vs chart marks the constrained depth; the panel's six lines leave
  // it to the tool tip.
  if (constrainedDepth) {
    english.append(QStringLiteral("Depth the data constrain: %1 m")
                       .arg(QString::number(*constrainedDepth, 'f', 1)));
  }
  english.append(
      QStringLiteral("Ground types E, S1, S2 and NEHRP class F cannot be told from "
                     "Vs30 alone."));
  lines.append(tr("离散度不是不确定度：见后验分布"));
  english.append(
      QStringLiteral("The spread of the models kept near the best fit is not an "
                     "uncertainty: see the posterior (后验分布)."));
  setText(lines.join(QLatin1Char('\n')));
  setToolTip(english.join(QLatin1Char('\n')));
}

void SiteResultsPanel::clearSummary() {
  clear();
  setToolTip(QString());
}

}  // namespace dispfit
