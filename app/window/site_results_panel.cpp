#include "window/site_results_panel.h"

#include <QPalette>
#include <QStringList>

#include "site/export_layouts.h"
#include "site/site_class.h"

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

void SiteResultsPanel::clearSummary() {
  clear();
  setToolTip(QString());
}

}  // namespace dispfit
