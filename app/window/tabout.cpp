// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/tabout.h"

#include <QEvent>
#include <QLinearGradient>
#include <QStyle>

#include "window/about_logo.h"

namespace dispfit {

namespace {

const char* const kWebAddress = "https://www.example.org/dispfit";

QFont aboutFont(int pixelSize, bool bold = false) {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

void placeLabel(QLabel& label, int left, int top, int width, int height) {
  label.setGeometry(left, top, width, height);
}

}  // namespace

TAbout::TAbout(LinkOpener& links, QWidget* parent) : QDialog(parent), links_(links) {
  buildLayout();
  buildMakerPanel();
  retranslate();
  connect(&BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(&StaticText10, &ClickableLabel::clicked, this, [this] { StaticText10Click(); });
}

void TAbout::buildLayout() {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(aboutFont(12));
  setModal(true);

  Panel1.setGeometry(0, -1, 73, 212);
  Panel1.setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1.setAutoFillBackground(true);
  QLinearGradient gradient(0, 0, 0, 1);
  gradient.setCoordinateMode(QGradient::ObjectMode);
  gradient.setColorAt(0, palette().color(QPalette::Inactive, QPalette::Highlight));
  gradient.setColorAt(1, palette().color(QPalette::Inactive, QPalette::Window));
  QPalette panelPalette = Panel1.palette();
  panelPalette.setBrush(QPalette::Window, QBrush(gradient));
  Panel1.setPalette(panelPalette);
  Image1.setGeometry(4, 8, 64, 64);
  Image1.setPixmap(aboutLogo(64));

  placeLabel(Label1, 86, 13, 259, 17);
  Label1.setFont(aboutFont(13, true));
  placeLabel(Label2, 86, 43, 259, 17);
  Bevel2.setGeometry(76, 73, 365, 3);
  Bevel2.setFrameShape(QFrame::HLine);
  Bevel2.setFrameShadow(QFrame::Sunken);
  placeLabel(Label6, 90, 93, 129, 17);
  placeLabel(Label5, 89, 120, 154, 17);
  placeLabel(StaticText2, 88, 150, 200, 17);
  placeLabel(StaticText3, 290, 150, 140, 17);
  placeLabel(StaticText4, 86, 183, 109, 17);

  Bevel1.setGeometry(2, 345, 435, 10);
  Bevel1.setFrameShape(QFrame::HLine);
  Bevel1.setFrameShadow(QFrame::Raised);
  placeLabel(StaticText1, 12, 369, 291, 37);
  StaticText1.setWordWrap(true);
  StaticText1.setFont(aboutFont(11));
  BitBtn1.setGeometry(348, 379, 75, 25);
  BitBtn1.setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  BitBtn1.setDefault(true);
}

void TAbout::buildMakerPanel() {
  Panel2.setGeometry(74, 210, 353, 136);
  Panel2.setFrameStyle(QFrame::Box | QFrame::Raised);
  placeLabel(StaticText5, 36, 12, 300, 17);
  placeLabel(StaticText6, 36, 40, 300, 17);
  placeLabel(StaticText7, 36, 68, 300, 17);
  placeLabel(StaticText11, 36, 99, 74, 17);
  StaticText10.setGeometry(110, 99, 230, 17);
  StaticText10.setText(QString::fromUtf8(kWebAddress).remove(QStringLiteral("https://")));
  StaticText10.setStyleSheet(QStringLiteral("color: red;"));
  StaticText10.setCursor(Qt::PointingHandCursor);
}

void TAbout::retranslate() {
  Label1.setText(tr("DispFit 面波频散曲线正演与反演"));
  Label2.setText(tr("DispFit 开发组"));
  Label6.setText(tr("版本: 2004.04"));
  Label5.setText(tr("最后日期:  2004-04-25"));
  StaticText2.setText(tr("开放源代码项目"));
  StaticText3.setText(tr("（无邮政地址）"));
  StaticText4.setText(tr("本软件由"));
  StaticText5.setText(tr("DispFit 开发组编写并维护"));
  StaticText6.setText(tr("电话：无"));
  StaticText7.setText(tr("电子邮件：无（请通过项目的问题跟踪提交）"));
  StaticText11.setText(tr("网址："));
  StaticText10.setToolTip(tr("DispFit 开发组（示例网址）"));
  StaticText1.setText(
      tr("本程序按原样提供，不附带任何明示或暗示的担保。计算结果请结合实际资料判断使用。"));
  BitBtn1.setText(tr("确定"));
  if (!programTitle_.isEmpty()) setWindowTitle(tr("关于%1...").arg(programTitle_));
}

void TAbout::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QDialog::changeEvent(event);
}

QUrl TAbout::webAddress() const {
  return QUrl(QString::fromUtf8(kWebAddress));
}

void TAbout::showModalWithTitle(const QString& programTitle) {
  programTitle_ = programTitle;
  retranslate();
  exec();
}

void TAbout::StaticText10Click() {
  links_.open(webAddress());
}

}  // namespace dispfit
