// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: its texts, opening it from the unit notes, closing it and
// following its web link.
#include "window/tabout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest/QTest>

#include "window_fixture.h"

namespace dispfit {

namespace {

class RecordingLinkOpener : public LinkOpener {
 public:
  void open(const QUrl& address) override { opened.push_back(address); }
  std::vector<QUrl> opened;
};

class AboutWindow : public WindowTest {
 protected:
  AboutWindow() { form.attachAbout(&about); }

  // Clicks a label, then, once the About window is up, records its caption
  // and closes it with close.
  QString openWith(QWidget& label, const std::function<void(TAbout&)>& close) {
    QString caption;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      wasModal = modal == &about;
      caption = about.windowTitle();
      close(about);
    });
    QTest::mouseClick(&label, Qt::LeftButton);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(about.isVisible());
    return caption;
  }

  RecordingLinkOpener links;
  TAbout about{links};
};

TEST_F(AboutWindow, OpensFromBothUnitNotesWithTheSameCaption) {
  form.show();
  const auto pressOk = [](TAbout& window) { window.BitBtn1.click(); };
  EXPECT_EQ(openWith(form.Label3, pressOk), "关于DispFit...");
  EXPECT_EQ(openWith(form.Label2, pressOk), "关于DispFit...");
  EXPECT_EQ(about.result(), QDialog::Accepted);
  // The caption's close box returns to the unchanged main window too.
  EXPECT_EQ(openWith(form.Label3, [](TAbout& window) { window.close(); }), "关于DispFit...");
  EXPECT_EQ(form.layerCount, 1);
  EXPECT_EQ(form.Model.cell(3, 1), "1.79999995231628");
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(AboutWindow, HasItsLayoutAndTexts) {
  EXPECT_EQ(about.size(), QSize(443, 422));  // the described size
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.Label6.text(), "版本: 2004.04");
  EXPECT_EQ(about.Label5.text(), "最后日期:  2004-04-25");
  EXPECT_EQ(about.StaticText4.text(), "本软件由");
  EXPECT_EQ(about.StaticText11.text(), "网址：");
  EXPECT_EQ(about.BitBtn1.text(), "确定");
  about.show();
  // The logo panel at the top left, the makers' panel beside it below the
  // title lines, the OK button at the bottom right, the link right of its
  // label inside the makers' panel.
  EXPECT_EQ(about.Panel1.geometry().topLeft(), QPoint(0, 0));
  EXPECT_GE(about.Panel2.x(), about.Panel1.geometry().right());
  EXPECT_GT(about.Panel2.y(), about.Label5.geometry().bottom());
  EXPECT_GT(about.BitBtn1.y(), about.Panel2.geometry().bottom());
  EXPECT_GT(about.BitBtn1.x(), about.StaticText1.geometry().right());
  EXPECT_LE(about.BitBtn1.geometry().right(), about.width());
  EXPECT_EQ(about.StaticText10.parentWidget(), &about.Panel2);
  EXPECT_EQ(about.StaticText10.y(), about.StaticText11.y());
  EXPECT_GT(about.StaticText10.x(), about.StaticText11.geometry().right());
  about.hide();
  EXPECT_FALSE(about.Image1.pixmap().isNull());
  EXPECT_EQ(about.Image1.pixmap().size(), QSize(64, 64));
  EXPECT_EQ(about.StaticText10.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(about.StaticText10.toolTip().isEmpty());
  for (const QLabel* label :
       {&about.Label1, &about.Label2, &about.StaticText1, &about.StaticText2}) {
    EXPECT_FALSE(label->text().isEmpty());
  }
}

TEST_F(AboutWindow, WebLinkOpensTheAddressItShows) {
  about.show();
  QTest::mouseClick(&about.StaticText10, Qt::LeftButton);
  ASSERT_EQ(links.opened.size(), 1u);
  EXPECT_EQ(links.opened[0], about.webAddress());
  EXPECT_TRUE(about.webAddress().isValid());
  EXPECT_TRUE(about.webAddress().toString().contains(about.StaticText10.text()));
  about.hide();
}

}  // namespace

}  // namespace dispfit
