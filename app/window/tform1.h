// The main window: the model table with its layer-count spinner, the
// dispersion chart, the command buttons, and the window data that the forward
// run and the inversion read and write.
#pragma once

#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "core/forward_engine.h"
#include "core/message_presenter.h"
#include "core/model_table.h"
#include "window/clickable_label.h"
#include "window/printer_source.h"
#include "window/string_grid.h"
#include "window/up_down.h"

namespace dispfit {

class TAbout;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLayerCapacity = 20;
  static constexpr int kCurveCapacity = 100;
  static constexpr int kClientWidth = 688;
  static constexpr int kClientHeight = 377;

  // The window reaches the user, the engine and the printer only through
  // these; they must outlive it.
  TForm1(MessagePresenter& messages, ForwardEngine& engine, PrinterSource& printers,
         QWidget* parent = nullptr);

  // The About window shown by Label3Click; none by default.
  void attachAbout(TAbout* about) { about_ = about; }

  // --- Event handlers ---------------------------------------------------
  void FormCreate();
  // Runs after the spinner moved; the direction is not used.
  void LUpDownClick(bool up);
  void Button1Click();  // compute the dispersion curve
  void Button2Click();  // invert the dispersion curve (with the inversion)
  void Button3Click();  // quit
  void Button4Click();  // copy the chart to the clipboard
  void Button5Click();  // print the chart
  void Label3Click();   // the About window

  // Enables or disables the five command buttons and the model group, e.g.
  // while a long command runs.
  void setCommandsEnabled(bool enabled);

  // True while an inversion runs; its message pump keeps the window live.
  bool inversionRunning() const { return inversionRunning_; }

  MessagePresenter& messages() { return messages_; }
  ForwardEngine& engine() { return engine_; }

  // The table's layer rows as texts, and writing them back with numbering.
  std::vector<LayerTexts> tableRows() const;
  void setTableRows(const std::vector<LayerTexts>& rows);

  // --- Controls (children of the window) --------------------------------
  QChartView Chart{this};
  QChart* chart = nullptr;         // owned by Chart
  QLineSeries* Series1 = nullptr;  // owned by chart
  QValueAxis* BottomAxis = nullptr;
  QValueAxis* LeftAxis = nullptr;
  QGroupBox GroupBox1{this};
  QLabel StaticText1{&GroupBox1};
  QLineEdit Edit1{&GroupBox1};
  UpDown LUpDown{Edit1, SpinnerRange{1, kLayerCapacity}, &GroupBox1};
  StringGrid Model{4, &GroupBox1};
  ClickableLabel Label3{&GroupBox1};
  QLabel Label4{&GroupBox1};
  ClickableLabel Label2{&GroupBox1};
  QFrame Bevel1{this};
  QFrame Bevel2{this};
  QLabel Label1{this};
  QPushButton Button4{this};
  QPushButton Button5{this};
  QPushButton Button1{this};
  QPushButton Button2{this};
  QPushButton Button3{this};

  // --- Window data ------------------------------------------------------
  int32_t layerCount = 0;
  float vs[kLayerCapacity] = {};
  float thickness[kLayerCapacity] = {};
  float density[kLayerCapacity] = {};
  int32_t freqCount = 0;
  float vr[kCurveCapacity] = {};
  float freq[kCurveCapacity] = {};

 protected:
  // A close asked for while an inversion runs waits for the inversion's end.
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildLayout();
  void buildChart();
  void buildModelGroup();
  void buildButtons();
  void connectEvents();
  void setDefaults();

  // Takes parsed layers into layerCount and the layer arrays.
  void storeLayers(const ParsedLayers& layers);
  // Fits the velocity axis to vr, then draws it.
  void showCurve();
  // Sets the velocity axis's fixed range.
  void setVelocityRange(double minimum, double maximum);
  // Puts freqCount points (freq, vr) on Series1 and spans the frequency axis.
  void drawSeries();
  // Runs an event handler; an error leaving it goes to the error box.
  template <typename Handler>
  void handle(Handler handler);

  MessagePresenter& messages_;
  ForwardEngine& engine_;
  PrinterSource& printers_;
  TAbout* about_ = nullptr;
  bool inversionRunning_ = false;
  bool closeDeferred_ = false;
};

}  // namespace dispfit
