// SPDX-License-Identifier: GPL-3.0-or-later
// The global search settings: the method (the best-fit search or the
// posterior), the layer count (for the posterior also a least one, the count
// then sampled), the ranges of Vs and thickness
// shared by every layer and each layer's own in a table (typed, or read from
// a ranges file), the P-velocity rule, the water table, the density,
// whether Vs may decrease with depth, the best-fit search's model budget and
// acceptance thresholds or the posterior's samples, and the seed, shown for
// editing. The table's rules (its rows at a new layer count, its cells read
// as numbers, the P-velocity rule its layers share) are
// search/search_ranges_table.h's; the dialog shows and collects.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <string>
#include <vector>

#include "core/message_presenter.h"
#include "search/search_ranges_table.h"
#include "search/search_request.h"
#include "window/file_chooser.h"

namespace dispfit {

class GlobalSearchDialog : public QDialog {
  Q_OBJECT

 public:
  // `files` chooses a ranges file to read; `messages` shows a refused file or
  // table.
  GlobalSearchDialog(const SearchRequest& request, FileChooser& files, MessagePresenter& messages,
                     QWidget* parent = nullptr);

  // The request as the fields show it: the table's ranges per layer once a
  // cell was edited or a file read, else the uniform ranges alone.
  SearchRequest request() const;

  // The first table cell that is not a number (a full stop before the
  // decimals), named by layer and column; empty when every cell is one.
  std::string tableFault() const;

  // Asks for a ranges file and shows its layers in the table; a refused file
  // goes to a box naming the file and line. False when nothing was read.
  bool readRangesFile();

  // The table's columns.
  using Column = RangeColumn;

  // The whole form and its buttons, as far as the screen's free room allows
  // (a scroll area alone asks for a few dozen lines at most).
  QSize sizeHint() const override;

  // Declared first, so destroyed last: the fields lie in the widget it owns
  // and scrolls when the screen is too small for the whole form.
  QScrollArea Scroll;
  QComboBox Method;  // in SearchMethod's order
  QSpinBox Layers;
  QSpinBox FewestLayers;        // the posterior's least count; as many as Layers: fixed
  QDoubleSpinBox VsLow;         // m/s
  QDoubleSpinBox VsHigh;        // m/s
  QDoubleSpinBox ThicknessLow;  // m
  QDoubleSpinBox ThicknessHigh;
  QComboBox VpRule;        // in PVelocityRule's order
  QDoubleSpinBox FixedVp;  // m/s
  QDoubleSpinBox PoissonLow;
  QDoubleSpinBox PoissonHigh;
  QCheckBox HasWaterTable;
  QDoubleSpinBox WaterTable;  // m
  QDoubleSpinBox Density;     // g/cm3
  QCheckBox Increasing;
  QSpinBox Models;
  QSpinBox Samples;  // the posterior's samples kept
  QCheckBox PosteriorObserved;
  QSpinBox Seed;
  QDoubleSpinBox Threshold;  // normalised misfit
  QDoubleSpinBox Factor;     // times the best misfit in m/s
  QTableWidget LayerTable;   // a row per layer, the half-space last
  QPushButton FillLayers;    // the uniform ranges into every row
  QPushButton ReadRanges;    // a ranges file into the table
  QLabel PerLayerNote;       // shown while the layers keep their own P-velocity ranges
  QDialogButtonBox Buttons{QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                           QDialogButtonBox::RestoreDefaults};

 private:
  void setUpFields();
  void setUpTable();
  // The ranges and the table at the left, the P velocity, the budget and
  // the acceptance at the right, the buttons under both.
  void layOut();
  void connectFields();
  // Grows the dialog to the whole form, within the screen's free room; on a
  // screen too narrow for the whole table beside the rules the table gives
  // up width and scrolls sideways itself.
  void fitToForm();
  // The form's size with the buttons under it, whatever the screen.
  QSize wholeSize() const;

  void showRequest(const SearchRequest& request);
  // Enables the fields the chosen method, P-velocity rule and water table use.
  void enableDependentFields();

  std::vector<RangeRow> tableRows() const;
  // Writes the rows, the last marked as the half-space.
  void setTableRows(const std::vector<RangeRow>& rows);
  RangeRow uniformRow() const;
  // Every row from the uniform fields, the layer count's rows; forgets the
  // layers' own P-velocity ranges.
  void fillTableFromUniform();
  // The layer count's rows by resizeRangeRows, new layers from the uniform
  // fields.
  void resizeTable();
  void showLayerRanges(const std::vector<LayerRanges>& layers);
  // The form's P-velocity rule when every layer's is the same; else the
  // layers keep their own and the note shows.
  void showPVelocityRules(const std::vector<LayerRanges>& layers);
  void markHalfSpace();
  void acceptIfTableReads();

  FileChooser& files_;
  MessagePresenter& messages_;
  bool tableEdited_ = false;  // a cell edited or a file read: the table is the request's
  bool filling_ = false;      // the dialog itself writes the table
  int wholeTableWidth_ = 0;   // every column whole, its headers and frame
  std::vector<LayerRanges> ownPVelocity_;  // per layer, its vp or poisson; empty: the form's rule
};

}  // namespace dispfit
