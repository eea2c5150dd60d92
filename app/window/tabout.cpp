// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/tabout.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QLinearGradient>
#include <QStyle>
#include <memory>

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

// The described layout's logo panel width, the makers' lines' indent, the
// margins between the parts, the OK button's width (pixels).
constexpr int kLogoPanelWidth = 73;
constexpr int kMakerIndent = 36;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;

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
                 Qt::WindowCloseButtonHint);
  setFont(aboutFont(12));
  setModal(true);

  Panel1.setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1.setAutoFillBackground(true);
  Panel1.setFixedWidth(kLogoPanelWidth);
  QLinearGradient gradient(0, 0, 0, 1);
  gradient.setCoordinateMode(QGradient::ObjectMode);
  gradient.setColorAt(0, palette().color(QPalette::Inactive, QPalette::Highlight));
  gradient.setColorAt(1, palette().color(QPalette::Inactive, QPalette::Window));
  QPalette panelPalette = Panel1.palette();
  panelPalette.setBrush(QPalette::Window, QBrush(gradient));
  Panel1.setPalette(panelPalette);
  Image1.setPixmap(aboutLogo(64));
  auto logo = std::make_unique<QVBoxLayout>();
  logo->setContentsMargins(4, 8, 4, 8);
  logo->addWidget(&Image1, 0, Qt::AlignTop | Qt::AlignHCenter);
  logo->addStretch(1);
  Panel1.setLayout(logo.release());

  Label1.setFont(aboutFont(13, true));
  for (QFrame* rule : {&Bevel2, &Bevel1}) rule->setFrameShape(QFrame::HLine);
  Bevel2.setFrameShadow(QFrame::Sunken);
  Bevel1.setFrameShadow(QFrame::Raised);
  StaticText1.setWordWrap(true);
  StaticText1.setFont(aboutFont(11));
  BitBtn1.setMinimumWidth(kButtonWidth);
  BitBtn1.setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  BitBtn1.setDefault(true);

  // The logo panel at the left of the title lines; the makers' panel under
  // those lines; a rule, then the notice beside the OK button.
  auto grid = std::make_unique<QGridLayout>();
  grid->setContentsMargins(0, 0, kMargin, kMargin);
  grid->setHorizontalSpacing(kMargin);
  grid->setColumnStretch(1, 1);
  grid->addWidget(&Panel1, 0, 0, 7, 1);
  grid->addWidget(&Label1, 0, 1);
  grid->addWidget(&Label2, 1, 1);
  grid->addWidget(&Bevel2, 2, 1);
  grid->addWidget(&Label6, 3, 1);
  grid->addWidget(&Label5, 4, 1);
  auto institution = std::make_unique<QHBoxLayout>();
  institution->setSpacing(2 * kMargin);
  institution->addWidget(&StaticText2);
  institution->addWidget(&StaticText3, 1);
  grid->addLayout(institution.release(), 5, 1);
  grid->addWidget(&StaticText4, 6, 1);
  grid->addWidget(&Panel2, 7, 1);
  grid->addWidget(&Bevel1, 8, 0, 1, 2);
  auto foot = std::make_unique<QHBoxLayout>();
  foot->setContentsMargins(kMargin, 0, 0, 0);
  foot->setSpacing(kMargin * 2);
  foot->addWidget(&StaticText1, 1);
  foot->addWidget(&BitBtn1, 0, Qt::AlignBottom);
  grid->addLayout(foot.release(), 9, 0, 1, 2);
  for (const int row : {0, 3, 6}) grid->setRowMinimumHeight(row, 28);
  setLayout(grid.release());  // the window owns its layout, and the layout the nested ones
  // The described size, as far as the texts allow.
  resize(kClientWidth, kClientHeight);
}

void TAbout::buildMakerPanel() {
  Panel2.setFrameStyle(QFrame::Box | QFrame::Raised);
  StaticText10.setText(QString::fromUtf8(kWebAddress).remove(QStringLiteral("https://")));
  StaticText10.setStyleSheet(QStringLiteral("color: red;"));
  StaticText10.setCursor(Qt::PointingHandCursor);
  auto lines = std::make_unique<QGridLayout>();
  lines->setContentsMargins(kMakerIndent, kMargin, kMargin, kMargin);
  lines->setVerticalSpacing(kMargin);
  lines->addWidget(&StaticText5, 0, 0, 1, 2);
  lines->addWidget(&StaticText6, 1, 0, 1, 2);
  lines->addWidget(&StaticText7, 2, 0, 1, 2);
  lines->addWidget(&StaticText11, 3, 0);  // the web address right after its label
  lines->addWidget(&StaticText10, 3, 1);
  lines->setColumnStretch(1, 1);
  Panel2.setLayout(lines.release());
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
