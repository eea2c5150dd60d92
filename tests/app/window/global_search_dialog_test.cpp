// SPDX-License-Identifier: GPL-3.0-or-later
// The search dialog's table of each layer's ranges: filled from the uniform
// fields until edited, read from a ranges file, and refused when a cell is
// not a number.
#include <QFile>
#include <QPushButton>
#include <string>
#include <vector>

#include "window/global_search_dialog.h"
#include "window/vs30_histogram_chart.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

class GlobalSearchDialogTable : public ::testing::Test {
 protected:
  QString cell(int row, int column) const { return dialog.LayerTable.item(row, column)->text(); }

  // A file in the test's own folder, named `name`, holding `text`.
  QString writeFile(const QString& name, const std::string& text) {
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
  }

  QTemporaryDir folder;
  ScriptedFileChooser files;
  RecordingPresenter messages;
  GlobalSearchDialog dialog{SearchRequest{}, files, messages};
};

using Column = GlobalSearchDialog::Column;

TEST_F(GlobalSearchDialogTable, FollowsTheUniformFieldsUntilACellIsEdited) {
  // The default form: 4 layers of 80 .. 1000 m/s and 1 .. 15 m, 1.9 g/cm3;
  // the half-space's thickness cells show that they are not used.
  ASSERT_EQ(dialog.LayerTable.rowCount(), 4);
  EXPECT_EQ(cell(0, Column::VsMin), "80");
  EXPECT_EQ(cell(2, Column::HMax), "15");
  EXPECT_EQ(cell(3, Column::HMin), QStringLiteral("—"));
  EXPECT_FALSE(dialog.LayerTable.item(3, Column::HMin)->flags() & Qt::ItemIsEditable);
  EXPECT_TRUE(dialog.LayerTable.verticalHeaderItem(3)->text().contains(QStringLiteral("半空间")));
  EXPECT_TRUE(dialog.request().layerRanges.empty());  // untouched: the uniform request

  dialog.VsLow.setValue(120.0);
  dialog.Layers.setValue(5);
  ASSERT_EQ(dialog.LayerTable.rowCount(), 5);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(cell(r, Column::VsMin), "120");

  // Edited: the cell kept through a uniform change and a new layer, which
  // comes above the half-space with the uniform ranges.
  dialog.LayerTable.item(1, Column::VsMax)->setText(QStringLiteral("455.5"));
  dialog.VsLow.setValue(150.0);
  EXPECT_EQ(cell(0, Column::VsMin), "120");
  dialog.LayerTable.item(4, Column::VsMin)->setText(QStringLiteral("600"));  // the half-space
  dialog.Layers.setValue(6);
  ASSERT_EQ(dialog.LayerTable.rowCount(), 6);
  EXPECT_EQ(cell(1, Column::VsMax), "455.5");
  EXPECT_EQ(cell(4, Column::VsMin), "150");
  EXPECT_EQ(cell(4, Column::HMin), "1");
  EXPECT_EQ(cell(5, Column::VsMin), "600");
  EXPECT_EQ(cell(5, Column::HMin), QStringLiteral("—"));
  const SearchRequest request = dialog.request();
  ASSERT_EQ(request.layerRanges.size(), 6u);
  EXPECT_EQ(request.layerRanges[1].vs, (Range{120.0, 455.5}));
  EXPECT_EQ(request.layerRanges[5].vs.low, 600.0);
  EXPECT_EQ(searchRequestFault(request), "");

  // The button puts the uniform ranges back in every row.
  dialog.FillLayers.click();
  for (int r = 0; r < 6; ++r) EXPECT_EQ(cell(r, Column::VsMin), "150");
  EXPECT_TRUE(dialog.request().layerRanges.empty());
}

TEST(GlobalSearchDialogOffered, ShowsTheLastRangesAtTheCountOffered) {
  // The window offers the last request again with its own table's layer
  // count: the ranges shown, resized to that count from above the half-space.
  SearchRequest offered;
  offered.layers = 2;
  offered.layerRanges = {{{100.0, 200.0}, {1.0, 2.0}, 1.8, std::nullopt, std::nullopt},
                         {{300.0, 400.0}, {3.0, 4.0}, 1.9, std::nullopt, std::nullopt},
                         {{500.0, 600.0}, {0.0, 0.0}, 2.0, std::nullopt, std::nullopt}};
  ScriptedFileChooser files;
  RecordingPresenter messages;
  GlobalSearchDialog dialog(offered, files, messages);
  const SearchRequest shown = dialog.request();
  EXPECT_EQ(shown.layers, 2);
  ASSERT_EQ(shown.layerRanges.size(), 2u);
  EXPECT_EQ(shown.layerRanges[0].vs, (Range{100.0, 200.0}));
  EXPECT_EQ(shown.layerRanges[1].vs, (Range{500.0, 600.0}));  // the half-space kept
  EXPECT_EQ(searchRequestFault(shown), "");
}

TEST_F(GlobalSearchDialogTable, ReadsTheExampleRangesFileIntoItsFourRows) {
  files.answers.push_back(QStringLiteral(DISPFIT_EXAMPLES_DIR "/search_ranges.csv"));
  ASSERT_TRUE(dialog.readRangesFile());
  EXPECT_TRUE(messages.messages.empty());
  // The file's rows, copied from it by eye.
  const std::vector<std::vector<QString>> rows = {{"80", "300", "0.5", "4", "1.8"},
                                                  {"100", "500", "1", "6", "1.85"},
                                                  {"150", "700", "2", "10", "1.95"},
                                                  {"200", "900", "—", "—", "2.05"}};
  EXPECT_EQ(dialog.Layers.value(), 4);
  ASSERT_EQ(dialog.LayerTable.rowCount(), 4);
  for (int r = 0; r < 4; ++r) {
    SCOPED_TRACE(r);
    for (int c = 0; c < kRangeColumns; ++c) EXPECT_EQ(cell(r, c), rows[r][c]);
  }
  // Every layer's Poisson's ratio 0.3 .. 0.45: the form's one rule shows it.
  EXPECT_EQ(dialog.VpRule.currentIndex(), static_cast<int>(PVelocityRule::PoissonRange));
  EXPECT_EQ(dialog.PoissonLow.value(), 0.3);
  EXPECT_EQ(dialog.PoissonHigh.value(), 0.45);
  EXPECT_TRUE(dialog.PerLayerNote.isHidden());
  const SearchRequest request = dialog.request();
  ASSERT_EQ(request.layerRanges.size(), 4u);
  EXPECT_EQ(request.layerRanges[1].thickness, (Range{1.0, 6.0}));
  EXPECT_EQ(request.layerRanges[3].density, 2.05);
  EXPECT_EQ(searchRequestFault(request), "");
}

TEST_F(GlobalSearchDialogTable, KeepsEachLayersOwnPoissonRangeTheFormCannotShow) {
  files.answers.push_back(
      writeFile("own.csv",
                "vs min, vs max, h min, h max, density, poisson min, poisson max\n"
                "100, 300, 1, 3, 1.8, 0.40, 0.45\n"
                "300, 800, 0, 0, 2.0, 0.25, 0.30\n"));
  ASSERT_TRUE(dialog.readRangesFile());
  EXPECT_FALSE(dialog.PerLayerNote.isHidden());
  const SearchRequest request = dialog.request();
  ASSERT_EQ(request.layerRanges.size(), 2u);
  EXPECT_EQ(request.layerRanges[0].poisson, (Range{0.40, 0.45}));
  EXPECT_EQ(request.layerRanges[1].poisson, (Range{0.25, 0.30}));
  // A new layer count no longer lines them up with the layers: the form's
  // rule again.
  dialog.Layers.setValue(3);
  EXPECT_TRUE(dialog.PerLayerNote.isHidden());
  EXPECT_FALSE(dialog.request().layerRanges[0].poisson);
}

TEST_F(GlobalSearchDialogTable, RefusesAFileOrACellThatDoesNotRead) {
  // A refused file: a box naming the file and the line; the table as it was.
  const QString bad = writeFile("bad.csv", "100, 300, 1, 3, 1.8\nabc, 800, 0, 0, 2.0\n");
  files.answers.push_back(bad);
  EXPECT_FALSE(dialog.readRangesFile());
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
  EXPECT_NE(messages.messages[0].text.find(bad.toStdString()), std::string::npos);
  EXPECT_NE(messages.messages[0].text.find("line 2"), std::string::npos)
      << messages.messages[0].text;
  EXPECT_EQ(dialog.LayerTable.rowCount(), 4);
  // A chooser cancelled: nothing read, nothing said.
  EXPECT_FALSE(dialog.readRangesFile());
  EXPECT_EQ(messages.messages.size(), 1u);

  // Cells that are not numbers, a decimal comma among them: OK names the
  // layer and the column, and the dialog stays open.
  struct Row {
    const char* name;
    int row, column;
    const char* text;
    const char* layer;
  } const rows[] = {
      {"decimal comma", 1, Column::VsMax, "450,5", "第 2 层 Vs 上限 (m/s)：「450,5」"},
      {"empty", 0, Column::HMin, "", "第 1 层 h 下限 (m)：「」"},
      {"word", 3, Column::DensityColumn, "dense", "第 4 层 密度 (g/cm³)：「dense」"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    messages.messages.clear();
    dialog.FillLayers.click();
    dialog.LayerTable.item(row.row, row.column)->setText(QString::fromUtf8(row.text));
    dialog.setResult(QDialog::Rejected);
    dialog.Buttons.button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].text.find(row.layer), std::string::npos)
        << messages.messages[0].text;
  }
  // A full stop reads: accepted.
  dialog.FillLayers.click();
  dialog.LayerTable.item(1, Column::VsMax)->setText(QStringLiteral(" 450.5 "));
  messages.messages.clear();
  dialog.Buttons.button(QDialogButtonBox::Ok)->click();
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.request().layerRanges[1].vs.high, 450.5);
}

}  // namespace

}  // namespace dispfit

namespace dispfit {

namespace {

TEST(GlobalSearchDialogMethod, ThePosteriorsFieldsGoWithItsChoice) {
  ScriptedFileChooser files;
  RecordingPresenter messages;
  SearchRequest offered;
  offered.layers = 5;
  offered.method = SearchMethod::Posterior;
  offered.samples = 30000;
  offered.fewestLayers = 2;
  // The posterior under the surface-observed rule by default.
  EXPECT_TRUE(offered.posteriorObserved);
  GlobalSearchDialog dialog(offered, files, messages);
  // Offered back as given; only the posterior's fields open for editing.
  EXPECT_EQ(dialog.Method.currentIndex(), static_cast<int>(SearchMethod::Posterior));
  EXPECT_TRUE(dialog.Samples.isEnabled());
  EXPECT_TRUE(dialog.FewestLayers.isEnabled());
  EXPECT_TRUE(dialog.PosteriorObserved.isEnabled());
  EXPECT_TRUE(dialog.PosteriorObserved.isChecked());
  EXPECT_FALSE(dialog.Models.isEnabled());
  EXPECT_FALSE(dialog.Threshold.isEnabled());
  SearchRequest got = dialog.request();
  EXPECT_EQ(got.method, SearchMethod::Posterior);
  EXPECT_EQ(got.samples, 30000);
  EXPECT_EQ(got.fewestLayers, 2);
  EXPECT_TRUE(got.posteriorObserved);
  dialog.PosteriorObserved.setChecked(false);
  EXPECT_FALSE(dialog.request().posteriorObserved);
  // The least count follows the layer count down and as many is a fixed count.
  dialog.Layers.setValue(3);
  EXPECT_EQ(dialog.FewestLayers.maximum(), 3);
  dialog.FewestLayers.setValue(3);
  EXPECT_EQ(dialog.request().fewestLayers, 0);
  // The best-fit search: its own fields again.
  dialog.Method.setCurrentIndex(static_cast<int>(SearchMethod::BestFit));
  EXPECT_FALSE(dialog.Samples.isEnabled());
  EXPECT_FALSE(dialog.PosteriorObserved.isEnabled());
  EXPECT_TRUE(dialog.Models.isEnabled());
  EXPECT_EQ(dialog.request().method, SearchMethod::BestFit);
}

TEST(Vs30Histogram, DrawsTheClassBoundsWithinItsRangeAndTheBinsAsShares) {
  Vs30HistogramChart chart;
  // Bins from 340 to 380 m/s straddle 360 (EC8 B/C, NEHRP C/D); the axis
  // reaches 15 % further each way (334 to 386), which holds no other bound.
  std::vector<HistogramBin> bins;
  for (int b = 0; b < 4; ++b) bins.push_back({340.0 + 10.0 * b, 350.0 + 10.0 * b, 25 * (b + 1)});
  chart.showHistogram(bins);
  ASSERT_EQ(chart.boundsDrawn().size(), 1u);
  EXPECT_EQ(chart.boundsDrawn()[0].vs30, 360.0);
  EXPECT_EQ(chart.boundsDrawn()[0].label, "EC8 B/C, NEHRP C/D");
  // The bars' heights are the bins' shares of the 250 samples.
  const QList<QPointF> bars = chart.Bars->upperSeries()->points();
  ASSERT_EQ(bars.size(), 8);
  EXPECT_DOUBLE_EQ(bars[0].y(), 0.1);
  EXPECT_DOUBLE_EQ(bars[7].y(), 0.4);
  // A wider one, 150 to 450 m/s (105 to 495 with the margins), meets six:
  // 152.4, 180, 213.36, 304.8, 360 and 441.96.
  chart.showHistogram({{150.0, 450.0, 10}});
  EXPECT_EQ(chart.boundsDrawn().size(), 6u);
  chart.showHistogram({});
  EXPECT_TRUE(chart.boundsDrawn().empty());
}

}  // namespace

}  // namespace dispfit
