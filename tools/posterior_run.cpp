// SPDX-License-Identifier: GPL-3.0-or-later
#include "posterior_run.h"

#include <unistd.h>

#include <iostream>
#include <utility>

#include "posterior_report.h"
#include "progress_line.h"
#include "sampling/posterior_tables.h"
#include "sampling/search_starts.h"
#include "table_files.h"

namespace dispfit {

namespace {

// The samples PREFIX_samples.csv holds at most: enough for any histogram or
// scatter drawn from them, a few megabytes.
constexpr std::size_t kTabledSamples = 10000;

}  // namespace

GlobalOutcome runPosteriorCommand(const GlobalCommand& command, const MeasuredCurve& curve) {
  const std::optional<SearchSpace> space = commandSearchSpace(command);
  if (!space) return GlobalOutcome::InputRefused;
  LayerCountRange counts = command.layerCounts;
  if (command.rangesPath) {
    const int layers = static_cast<int>(space->layers.size());
    counts = {layers, layers};
  }
  if (const std::string fault = modelPriorFault(*space, counts); !fault.empty()) {
    std::cerr << "dispfit-invert: " << fault << '\n';
    return GlobalOutcome::InputRefused;
  }
  const CurveLikelihood likelihood(curve.inverted);
  if (!likelihood.fault().empty()) {
    std::cerr << "dispfit-invert: " << command.curvePath << ": " << likelihood.fault() << '\n';
    return GlobalOutcome::InputRefused;
  }
  const ModelPrior prior(*space, counts);
  const SamplerSettings& settings = command.sampler;
  const bool terminal = isatty(STDERR_FILENO) == 1;
  if (terminal) std::cerr << "Searching for the chains' starts ..." << std::flush;
  StartSearchSettings startSearch{command.startModels, settings.seed, settings.threads,
                                  command.forward};
  const auto chains =
      static_cast<std::size_t>(std::max(settings.chains, 1) + std::max(settings.heatedChains, 0));
  const std::vector<SampledModel> starts = searchStarts(prior, curve.inverted, chains, startSearch);
  if (terminal) std::cerr << '\r';
  if (starts.empty()) {
    std::cerr << "dispfit-invert: no model of the ranges has a curve at every measured "
                 "frequency\n";
    return GlobalOutcome::Failed;
  }
  PosteriorLine line(std::cerr, terminal);
  const SamplerRun run =
      runParallelTempering({&prior, &likelihood}, ruleForward(curve.inverted, command.forward),
                           settings, starts, [&line](const SamplerProgress& p) { line.update(p); });
  line.finish();
  if (run.sampleCount() == 0) {
    std::cerr << "dispfit-invert: "
              << (run.failure.empty() ? std::string("no sample was kept") : run.failure) << '\n';
    return GlobalOutcome::Failed;
  }
  const std::unique_ptr<ForwardCurve> forward = ruleForward(curve.inverted, command.forward)();
  PosteriorReportInputs report;
  report.settings = settings;
  report.startModels = command.startModels;
  report.increasing = space->increasing;
  report.fittedPoints = static_cast<int>(curve.inverted.size());
  report.forward = command.forward;
  report.summary =
      summarizePosterior(run, prior, likelihood, *forward, constrainedDepth(curve.points));
  report.summary.forward = command.forward;
  report.summary.recordedModes =
      recordedModeCheckFor(run, prior, likelihood, curve.inverted, command.forward);
  std::cout << posteriorReport(report);
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "dispfit-invert: the report could not be written to standard output\n";
    return GlobalOutcome::Failed;
  }
  for (const std::string& warning :
       {notConvergedWarning(report.summary), misfitWarning(report.summary, command.forward.rule),
        recordedModeWarning(report.summary)}) {
    if (!warning.empty()) std::cerr << "dispfit-invert: " << warning << '\n';
  }
  if (command.csvPrefix) {
    std::vector<std::pair<std::string, std::string>> files = {
        {"_profile.csv", posteriorProfileTable(report.summary)},
        {"_summary.csv", posteriorSummaryTable(report.summary)},
        {"_classes.csv", classProbabilityTable(report.summary)},
        {"_samples.csv", posteriorSampleTable(run, prior, likelihood.noise(), kTabledSamples)},
        {"_predictive.csv", predictiveTable(report.summary)},
    };
    if (prior.variableCount()) files.push_back({"_interfaces.csv", interfaceTable(report.summary)});
    if (!writeTableFiles(*command.csvPrefix, files)) return GlobalOutcome::Failed;
  }
  return GlobalOutcome::Reported;
}

}  // namespace dispfit
