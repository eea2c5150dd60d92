// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the model table with its layer-count spinner, the
// dispersion chart, the command buttons, and the window data that the forward
// run and the inversion read and write.
#pragma once

#include <QAction>
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScatterSeries>
#include <QSplitter>
#include <QValueAxis>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/curve_points.h"
#include "core/forward_engine.h"
#include "core/message_presenter.h"
#include "core/model_table.h"
#include "core/window_language.h"
#include "core/window_limits.h"
#include "inversion/inversion_bounds.h"
#include "inversion/modal_curve_engine.h"
#include "inversion/model_mode_lines.h"
#include "inversion/window_inversion.h"
#include "sampling/background_posterior.h"
#include "sampling/posterior_summary.h"
#include "search/background_search.h"
#include "search/search_request.h"
#include "search/search_summary.h"
#include "site/exported_result.h"
#include "site/fit_statistics.h"
#include "site/measured_curve.h"
#include "site/site_summary.h"
#include "window/chart_legend.h"
#include "window/clickable_label.h"
#include "window/curve_column_chooser.h"
#include "window/export_result_chooser.h"
#include "window/file_chooser.h"
#include "window/layer_count_chooser.h"
#include "window/posterior_results_window.h"
#include "window/printer_source.h"
#include "window/residual_chart.h"
#include "window/result_charts.h"
#include "window/result_export.h"
#include "window/search_request_chooser.h"
#include "window/shot_records_window.h"
#include "window/site_results_panel.h"
#include "window/string_grid.h"
#include "window/up_down.h"
#include "window/vs_profile_chart.h"
#include "window/window_translations.h"

namespace dispfit {

class TAbout;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCurveCapacity = 100;
  // The window opens with a client area of the described 688 x 377 pixels
  // below its menu bar, plus the column at its right that holds the Vs-depth
  // chart and the results panel; it can be resized from there, down to what
  // its layouts need.
  static constexpr int kClientWidth = 688;
  static constexpr int kClientHeight = 377;
  static constexpr int kSiteColumnWidth = 320;
  // The layer count a suggested starting model is offered with.
  static constexpr int kSuggestedLayerCount = 4;

  // The window reaches the user, the engine, the printer and the file
  // dialogs only through these; they must outlive it.
  TForm1(MessagePresenter& messages, ForwardEngine& engine, PrinterSource& printers,
         FileChooser& files, QWidget* parent = nullptr);
  // A global search still running is cancelled and waited for.
  ~TForm1() override;

  // The About window shown by Label3Click; none by default.
  void attachAbout(TAbout* about) { about_ = about; }

  // The languages the 语言 / Language menu switches between; without them
  // the menu is disabled. They must outlive the window.
  void attachLanguages(WindowTranslations& languages);
  // Shows the whole application in `language` at once and reports the
  // choice with languageChosen, for the settings to remember.
  void LanguageClick(WindowLanguage language);

  // --- Event handlers ---------------------------------------------------
  void FormCreate();
  // Runs after the spinner moved; the direction is not used.
  void LUpDownClick(bool up);
  void Button1Click();  // compute the dispersion curve
  void Button2Click();  // invert the dispersion curve (with the inversion)
  // Asks a running inversion to stop after its current engine run.
  void CancelClick();
  void Button3Click();  // quit
  void Button4Click();  // copy the chart to the clipboard
  void Button5Click();  // print the chart
  void Label3Click();   // the About window

  // --- Menu commands ----------------------------------------------------
  // Each asks for a file, then does what the path-taking command does.
  void OpenCurveClick();
  // 文件 → 打开地震记录 (Ctrl+R): the shot-records window, made on first use.
  void OpenRecordsClick();
  ShotRecordsWindow& shotRecordsWindow();
  void OpenModelClick();
  void SaveModelClick();
  // Copies the last fitted model into the table.
  void ApplyFittedClick();
  // Edits the inversion settings in their dialog.
  void InversionSettingsClick();
  // Asks for a layer count and fills the table with the starting model the
  // measured curve suggests.
  void SuggestModelClick();

  // Where SuggestModelClick asks for the layer count; the desktop's dialog by
  // default. The chooser must outlive the window.
  void setLayerCountChooser(LayerCountChooser& chooser) { layerCounts_ = &chooser; }

  // --- Global search ----------------------------------------------------
  // Asks for the search's settings and starts it on the measured curve.
  void GlobalSearchClick();
  // Copies the last search's best model, or the posterior's maximum a
  // posteriori model, into the table.
  void ApplyBestClick();
  // Where GlobalSearchClick asks for the settings; the global search dialog
  // by default. The chooser must outlive the window.
  void setSearchRequestChooser(SearchRequestChooser& chooser) { searchRequests_ = &chooser; }
  // Starts a search of the request (or its posterior, as the request's
  // method says) on a thread of its own, the commands disabled and its
  // progress shown until it ends; a request with a fault is refused in a
  // box. True when the search started.
  bool startGlobalSearch(const SearchRequest& request);
  // Stops the search (or the posterior's sampler) running after its current
  // iteration (round); what it found so far is shown, marked as cancelled
  // (the posterior as not converged).
  void cancelGlobalSearch();
  bool globalSearchRunning() const { return search_ != nullptr || posterior_ != nullptr; }
  // What the last search found; none before one has ended, or after a new
  // measured curve.
  const std::optional<SearchSummary>& searchSummary() const { return searchSummary_; }
  // What the last posterior says; none before one has ended, or after a new
  // measured curve or a best-fit search.
  const std::optional<PosteriorSummary>& posteriorSummary() const { return posteriorSummary_; }
  // The window of the posterior's histogram and class probabilities; none
  // before a posterior.
  PosteriorResultsWindow* posteriorWindow() { return PosteriorWindow.get(); }

  // What the results panel shows: the site summary of the last model
  // computed, or fitted to a measured curve; none before either.
  const std::optional<SiteSummary>& siteSummary() const { return siteSummary_; }
  // Asks for a base name or a folder, in the measured curve's folder, then
  // exports there; with more than one result, asks which.
  void ExportResultsClick();
  // Where the export asks which result to write; a small list dialog by
  // default. The chooser must outlive the window.
  void setExportResultChooser(ExportResultChooser& chooser) { resultChooser_ = &chooser; }
  // Where opening a curve whose header is not understood asks which column
  // is which; a dialog by default. The chooser must outlive the window.
  void setCurveColumnChooser(CurveColumnChooser& chooser) { columnChooser_ = &chooser; }
  // The width of the exported chart pictures, pixels, within
  // kLeastChartPictureWidth .. kMostChartPictureWidth.
  void setExportPictureWidth(int width);
  int exportPictureWidth() const { return exportPictureWidth_; }

  // The bounds and iteration limit of every inversion; limits with a fault
  // are refused in a box and change nothing.
  bool setInversionLimits(const InversionLimits& limits);
  const InversionLimits& inversionLimits() const { return inversionLimits_; }

  // Reads a measured curve; a refused file is named in a box and changes
  // nothing. True when the curve was taken.
  bool openMeasuredCurve(const QString& path);
  // A measured curve from the text of a curve file, named `name`: what
  // opening a curve file does after reading it; 用作实测曲线 hands its table here.
  // `path` is the file as opened, empty for a table of the shot records.
  bool useMeasuredCurveText(const std::string& text, const std::string& name,
                            const QString& path = QString());
  // Reads a model into the table; likewise.
  bool openModel(const QString& path);
  // Writes the table's model, checked as the forward run checks it.
  bool saveModel(const QString& path);
  // Writes the results, all files or none, named from `chosen`: a base name,
  // or a folder in which they are named from "dispfit". A model that cannot
  // be checked, or a file that cannot be written, is told in a box.
  bool exportResults(const QString& chosen);

  // The measured curve loaded, if any.
  const std::optional<MeasuredCurve>& measuredCurve() const { return measured_; }

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

  // What the status line says and, for its tool tip, any detail beyond it.
  struct StatusText {
    QString shown;
    QString detail;
  };

  // --- Controls (children of the window) --------------------------------
  QMenuBar MenuBar{this};
  QMenu* FileMenu = nullptr;  // owned by the menu bar
  QMenu* ViewMenu = nullptr;
  QMenu* InversionMenu = nullptr;
  QMenu* LanguageMenu = nullptr;
  QAction* ChineseAction = nullptr;  // checkable, one of the two checked
  QAction* EnglishAction = nullptr;
  // The area below the menu bar that holds every other control, and the
  // panes inside it; each is declared before the controls it holds, so that
  // it outlives them.
  QWidget Client{this};
  // The described area (the model group, the dispersion chart, the commands)
  // | the site column; dragged to give either more room.
  QSplitter SiteSplitter{&Client};
  QWidget MainArea{&SiteSplitter};
  // The model group | the dispersion chart.
  QSplitter FormSplitter{&MainArea};
  QWidget DispersionColumn{&FormSplitter};  // the chart over its residuals and the status line
  QWidget SiteColumn{&SiteSplitter};        // the Vs-depth chart over the results panel
  QAction* OpenCurveAction = nullptr;       // owned by the menu bar's menus
  QAction* OpenRecordsAction = nullptr;
  QAction* OpenModelAction = nullptr;
  QAction* SaveModelAction = nullptr;
  QAction* QuitAction = nullptr;
  QAction* LogFrequencyAction = nullptr;   // checkable: the frequency axis in log scale
  QAction* WavelengthAction = nullptr;     // checkable: wavelength (m) instead of frequency
  QMenu* ModesMenu = nullptr;              // 视图 → 模态: the modes the chart draws
  std::vector<QAction*> ModeCountActions;  // checkable, one checked: modes 0 to 0, 2 or 4
  QAction* LoveAction = nullptr;           // checkable: the Love modes too
  QAction* SettingsAction = nullptr;
  QAction* ApplyFittedAction = nullptr;
  QAction* SuggestModelAction = nullptr;  // enabled with a measured curve loaded
  QAction* ExportAction = nullptr;
  QAction* ExportWidthAction = nullptr;   // the width of the exported pictures
  QAction* CancelAction = nullptr;        // Escape: 取消 while an inversion runs
  QAction* GlobalSearchAction = nullptr;  // enabled with a measured curve loaded
  QAction* ApplyBestAction = nullptr;     // enabled after a global search found a model
  QChartView Chart{&DispersionColumn};
  QChart* chart = nullptr;                   // owned by Chart
  QLineSeries* Series1 = nullptr;            // owned by chart
  QScatterSeries* MeasuredSeries = nullptr;  // every measured point
  QAreaSeries* BandSeries = nullptr;         // their velocity band
  QLineSeries* FittedSeries = nullptr;       // the fitted model's curve
  QAreaSeries* EnvelopeSeries = nullptr;     // the accepted curves' band of a global search
  QLineSeries* BestCurveSeries = nullptr;    // the search's best model's curve
  QAreaSeries* PredictiveSeries = nullptr;   // the posterior's 10-90 % band of the samples' curves
  QLineSeries* PredictiveMedianSeries = nullptr;
  // The table's model's higher Rayleigh modes, then its Love modes, as the
  // 模态 menu asks; owned by chart.
  std::vector<QLineSeries*> ModeSeries;
  // Each of those lines' name (modeLineName) at its middle point, a series
  // of one labelled point a line that has points; owned by chart.
  std::vector<QScatterSeries*> ModeNameSeries;
  // The measured points that name their mode, a series a mode, each point
  // labelled with its mode's number; owned by chart.
  std::vector<QScatterSeries*> MeasuredModeSeries;
  // The computed curve at the measured points that name a higher mode, a
  // line a mode (Series1 holds the rest); owned by chart.
  std::vector<QLineSeries*> ComputedModeSeries;
  QValueAxis* BottomAxis = nullptr;
  QValueAxis* LeftAxis = nullptr;
  // The frequency (or wavelength) axis in logarithmic scale, shown instead
  // of BottomAxis when chosen: the points then lie at the common logarithm
  // of their abscissa, and its labels name the round values.
  QCategoryAxis* LogBottomAxis = nullptr;
  // Names the curves drawn once a measured curve is loaded; the described
  // chart of the window's own curve has none.
  std::unique_ptr<ChartLegend> DispersionLegend;
  // Under the dispersion chart while a measured curve is loaded: each fitted
  // curve's residual at every measured point.
  ResidualChart Residuals{&DispersionColumn};
  QGroupBox GroupBox1{&FormSplitter};
  QLabel StaticText1{&GroupBox1};
  QLineEdit Edit1{&GroupBox1};
  UpDown LUpDown{Edit1, SpinnerRange{1, kWindowLayerLimit}, &GroupBox1};
  StringGrid Model{4, &GroupBox1};
  ClickableLabel Label3{&GroupBox1};
  QLabel Label4{&GroupBox1};
  ClickableLabel Label2{&GroupBox1};
  QFrame Bevel1{&MainArea};
  QFrame Bevel2{&MainArea};
  QLabel Label1{&MainArea};
  QLabel StatusLine{&DispersionColumn};
  QPushButton Button4{&MainArea};
  QPushButton Button5{&MainArea};
  QPushButton Button1{&MainArea};
  QPushButton Button2{&MainArea};
  QPushButton Button3{&MainArea};
  VsProfileChart VsChart{&SiteColumn};
  SiteResultsPanel ResultsPanel{&SiteColumn};
  // 取消: enabled only while an inversion runs; Escape does the same.
  QPushButton CancelButton{&MainArea};
  // The running search's progress and its cancel button; none otherwise.
  std::unique_ptr<QProgressDialog> SearchProgressDialog;
  // The posterior's histogram and class probabilities, made at its first run.
  std::unique_ptr<PosteriorResultsWindow> PosteriorWindow;

  // --- Window data ------------------------------------------------------
  int32_t layerCount = 0;
  float vs[kWindowLayerLimit] = {};
  float thickness[kWindowLayerLimit] = {};
  float density[kWindowLayerLimit] = {};
  int32_t freqCount = 0;
  float vr[kCurveCapacity] = {};
  float freq[kCurveCapacity] = {};

 Q_SIGNALS:
  // The user chose the language in the menu.
  void languageChosen(WindowLanguage language);

 protected:
  // A close asked for while an inversion runs waits for the inversion's end.
  void closeEvent(QCloseEvent* event) override;
  // A change of the application's language sets every text anew.
  void changeEvent(QEvent* event) override;

 private:
  // Sets every text of the window in the language the application shows:
  // the fixed texts, then those that depend on what the window holds, from
  // the functions that made them. Runs at construction and at every change
  // of language; a new text of the window goes here, or into a function it
  // calls.
  void retranslate();
  void retranslateMenus();
  void retranslateCharts();
  void buildLanguageMenu();
  void buildLayout();
  // Puts every control into the window's layouts and gives it the described
  // size.
  void layOutWindow();
  // The divider and the row of buttons under the form and the chart.
  std::unique_ptr<QGridLayout> commandRows();
  // Lays out `widget` and everything in it now, even while not shown.
  static void layOutNow(QWidget& widget);
  void buildChart();
  void buildModelGroup();
  void buildButtons();
  void buildMenus();
  void buildMeasuredSeries();
  void buildSiteColumn();
  void buildCancelButton();
  void buildExportCommand();
  // The results the window holds, with their names in the window's
  // language; `fault` says why the table's model is none of them.
  std::vector<std::unique_ptr<ExportedResult>> exportableResults(QStringList& names,
                                                                 std::string& fault);
  // Where the result comes from: the files read, the date, the program's
  // version, its settings and its misfit.
  ExportMetadata exportMetadata(const ExportedResult& result) const;
  // The global search's commands in the inversion menu, and its curves.
  void buildSearchActions(QMenu& menu);
  void buildSearchSeries();
  void buildModeActions();
  void retranslateModeActions();
  // Chooses what the chart draws besides the fundamental mode, and draws it.
  void showModes(const ModeDisplay& display);
  // Draws the table's model's lines that modeDisplay_ asks for, at the
  // curve's frequencies, widening the velocity axis to hold them.
  void drawModeLines();
  // A mode line's name at `at`, in the line's colour (ModeNameSeries).
  void addModeName(const QString& name, QPointF at, const QColor& colour);
  // Draws the measured points that name their mode.
  void drawMeasuredModes();
  // The computed curve Series1 draws: every frequency with a root, but those
  // of measured points that name a higher mode, which drawComputedModes
  // draws a line a mode.
  DrawableCurve drawableFundamental() const;
  void drawComputedModes();
  // Enables the search's commands as the other commands are.
  void enableSearchCommands(bool enabled);
  void connectEvents();
  void setDefaults();

  // Pastes a block of tab-separated cells at the current cell; rows beyond the
  // table add layers, up to kWindowLayerLimit.
  void pasteIntoTable(const QString& text);
  // Marks the table's last row as the half-space, whose thickness is not used.
  void markHalfSpace();
  // Takes parsed layers into layerCount and the layer arrays.
  void storeLayers(const ParsedLayers& layers);
  // Fits the velocity axis to vr, then draws it.
  void showCurve();
  // Sets the velocity axis's fixed range.
  void setVelocityRange(double minimum, double maximum);
  // Puts freqCount points (freq, vr) on Series1 and spans the frequency axis.
  void drawSeries();
  // Draws the measured points and their band and fits both axes to them.
  void drawMeasuredCurve();
  // The forward run at the measured frequencies, with its misfit.
  void computeAtMeasuredFrequencies();
  // Spans both axes over the measured curve and the drawn curves.
  void fitAxesToMeasuredCurve();
  // After a fit of the measured curve: keeps the fitted model for the apply
  // command, draws its curve and returns the report's line on the band.
  std::string showFittedCurve();
  // Why a fit of a measured curve stopped, and a parameter it left on a
  // bound, in the window's words for its report box.
  static QString stopReasonText(const WindowInversionOutcome& outcome);
  static QString atBoundText(const ParameterAtBound& at, const InversionLimits& limits);
  // Shows an inversion's iteration and misfit (the report's, m/s) on the
  // status line; iteration 0 is the starting model.
  void showInversionProgress(int32_t iteration, float misfit);
  // Draws every curve over wavelength (m) or over frequency (Hz).
  void showWavelengthAxis(bool wavelength);
  // Where a point of frequency f (Hz) and velocity c (m/s) lies on the
  // horizontal axis: f, or the wavelength c / f; on the logarithmic axis
  // their common logarithm. Every point of the dispersion chart goes
  // through it.
  double abscissa(double frequency, double velocity) const;
  // Spans both horizontal axes over the abscissa's values (Hz or m).
  void setAbscissaRange(double lowest, double highest);
  // Draws every curve again at abscissa().
  void redrawOverAbscissa();
  // Names in the legend the curves drawn, with a measured curve loaded.
  void updateDispersionLegend();
  // Shows the residuals of the computed curve, the local fit and the
  // search's best model at the measured points, under the dispersion chart
  // and over its abscissa; hides the chart without a measured curve.
  void drawResiduals();
  // Grows the window from about the described size by the residual chart's
  // height, within the screen's free room.
  void makeRoomForResiduals();
  // Spans the horizontal axis over every point drawn.
  void spanAbscissaAxis();
  // Puts the last fitted curve on FittedSeries.
  void drawFittedCurve();
  // Shows the frequency axis in logarithmic or linear scale.
  void showLogFrequencyAxis(bool logarithmic);
  // Shows the text on the status line, its detail in the line's tool tip;
  // `text` is asked again after every change of language.
  void showStatus(std::function<StatusText()> text);
  void clearStatus();
  // The depth the loaded curve constrains (m), none without a curve.
  std::optional<double> curveConstrainedDepth() const;
  // Keeps the model (m, m/s) as the starting profile and redraws the chart.
  void showStartingProfile(const ParsedLayers& model);
  // Draws the starting and fitted profiles and the constrained depth.
  void drawVsProfiles();
  // Shows the site summary of the model (the fitted one or the table's) with
  // its unweighted RMS misfit (m/s), when there is one, in the results panel.
  void showSiteResults(const ParsedLayers& model, bool fitted, std::optional<double> rmsMisfit);
  void clearSiteResults();
  // The layers the window holds (layerCount and the layer arrays).
  ParsedLayers heldLayers() const;
  // After a forward run of the held layers: they become the starting profile
  // and the panel's model.
  void showComputedModel(std::optional<double> rmsMisfit);
  // After a fit of the measured curve: the fitted profile and its results.
  void showFittedProfile(std::optional<double> rmsMisfit);
  // A new measured curve: no profile and no results until a compute or a fit.
  void resetSiteResults();
  // On the window's thread, while a search runs and when it has ended.
  void showSearchProgress(const SearchProgress& progress);
  void finishGlobalSearch();
  // Draws the last search's ensemble in the Vs chart, its envelope and best
  // curve on the dispersion chart and its figures in the results panel.
  void showSearchResults();
  void drawSearchCurves();
  // A new measured curve: the last search's (and posterior's) results no
  // longer apply.
  void clearSearchResults();
  // The posterior's run on the window's thread: start, progress, end,
  // results, the predictive band, and clearing them.
  bool startPosterior(const SearchRequest& request);
  void showPosteriorProgress(const PosteriorRunProgress& progress);
  void finishPosterior();
  void showPosteriorResults();
  void drawPosteriorCurves();
  void clearPosteriorResults();
  // The progress dialog both runs show, its cancel wired to cancelGlobalSearch.
  void openProgressDialog(const QString& title, int steps);
  // Writes the model into the table and the layer arrays.
  void applyModelToTable(const ParsedLayers& model);
  // Runs an event handler; an error leaving it goes to the error box.
  template <typename Handler>
  void handle(Handler handler);

  MessagePresenter& messages_;
  // The texts of the code without Qt in the language shown.
  ApplicationTextTranslator translator_;
  WindowTranslations* languages_ = nullptr;
  std::function<StatusText()> status_;  // what the status line says; none: nothing
  ForwardEngine& engine_;
  PrinterSource& printers_;
  FileChooser& files_;
  std::optional<MeasuredCurve> measured_;
  // The measured curve's forward engine where its points name their modes
  // (each point fitted against its mode through the curve core); none for
  // every other curve, which FORWARD fits.
  std::optional<ModalCurveEngine> modalEngine_;
  ForwardEngine& fitEngine() {
    return modalEngine_ ? static_cast<ForwardEngine&>(*modalEngine_) : engine_;
  }
  std::optional<ParsedLayers> fitted_;
  InversionLimits inversionLimits_;
  std::vector<CurvePoint> fittedCurve_;  // the fitted model's curve, Hz and m/s
  ComputedCurve fittedVelocities_;       // the same at the fitted points, for the export
  bool wavelengthAxis_ = false;
  ModeDisplay modeDisplay_;  // the fundamental alone until chosen
  bool logarithmicAxis_ = false;
  std::optional<ParsedLayers> startingProfile_;  // the table's model as last computed or inverted
  std::optional<SiteSummary> siteSummary_;
  DialogLayerCountChooser dialogLayerCounts_;
  LayerCountChooser* layerCounts_ = &dialogLayerCounts_;
  TAbout* about_ = nullptr;
  bool inversionRunning_ = false;
  bool closeDeferred_ = false;
  bool cancelRequested_ = false;
  SearchRequest searchRequest_;  // the last one asked for, offered again
  std::optional<SearchSummary> searchSummary_;
  QString curvePath_;    // the measured curve's file, as opened, or its name
  QString curveFolder_;  // its folder, where the export's dialog opens
  QString modelPath_;    // the model's file last opened into the table
  int exportPictureWidth_ = kDefaultChartPictureWidth;
  DialogExportResultChooser dialogResultChooser_;
  ExportResultChooser* resultChooser_ = &dialogResultChooser_;
  DialogCurveColumnChooser dialogColumnChooser_;
  CurveColumnChooser* columnChooser_ = &dialogColumnChooser_;
  std::optional<PosteriorSummary> posteriorSummary_;
  MisfitKind progressKind_ = MisfitKind::MetresPerSecond;  // of the search running
  DialogSearchRequestChooser dialogSearchRequests_{files_, messages_};
  SearchRequestChooser* searchRequests_ = &dialogSearchRequests_;
  // Declared last, so destroyed first: its thread is joined while every
  // member it reports to still exists.
  std::unique_ptr<BackgroundSearch> search_;
  std::unique_ptr<BackgroundPosterior> posterior_;
  std::unique_ptr<ShotRecordsWindow> shotRecords_;
};

}  // namespace dispfit
