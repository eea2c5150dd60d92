// SPDX-License-Identifier: GPL-3.0-or-later
#include "masw_run.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "core/number_text.h"
#include "records/file_replacement.h"
#include "shots/dispersion_picture.h"
#include "shots/masw_tables.h"
#include "shots/placed_records.h"
#include "shots/record_file.h"

namespace dispfit {
namespace {

bool readRecords(const MaswCommand& command, std::vector<ShotRecord>& records,
                 std::ostream& messages) {
  for (const std::string& path : command.recordPaths) {
    ShotRecord record;
    std::string error;
    if (!readRecordFile(path, record, error)) {
      messages << "dispfit-masw: " << error << '\n';
      return false;
    }
    records.push_back(std::move(record));
  }
  return true;
}

std::string transformName(ImageTransform transform) {
  return transform == ImageTransform::phaseShift ? "phase shift" : "beamformer (cylindrical)";
}

void printReport(const MaswCommand& command, const SurveyResult& survey, std::size_t records,
                 std::ostream& out) {
  const ImageGrid& grid = command.settings.request.image.grid;
  out << "dispfit-masw: " << records << " records from " << survey.offsets.size()
      << " source positions, " << transformName(command.settings.request.image.transform) << ", "
      << fixedText(grid.frequency.first, 2) << " to " << fixedText(grid.frequency.last, 2)
      << " Hz by " << fixedText(grid.frequency.step, 3) << ", " << fixedText(grid.velocity.first, 1)
      << " to " << fixedText(grid.velocity.last, 1) << " m/s by "
      << fixedText(grid.velocity.step, 2) << "\n";
  out << "  source (m)  offset (m)  records  picks  inside  limits (m)\n";
  for (const OffsetResult& offset : survey.offsets) {
    const auto inside = std::count_if(offset.picks.begin(), offset.picks.end(),
                                      [](const Pick& p) { return p.insideLimits; });
    out << rightAligned(fixedText(offset.group.sourcePosition, 3), 12)
        << rightAligned(fixedText(offset.group.sourceOffset, 3), 12)
        << rightAligned(std::to_string(offset.group.records.size()), 9)
        << rightAligned(std::to_string(offset.picks.size()), 7)
        << rightAligned(std::to_string(inside), 8) << "  "
        << fixedText(offset.limits.shortestWavelength, 2) << " to "
        << fixedText(offset.limits.longestWavelength, 2) << "\n";
  }
  const StatisticsRules& rules = command.settings.request.statistics;
  if (!survey.curve.empty()) {
    out << "curve: " << survey.curve.size() << " points, "
        << fixedText(survey.curve.back().frequency, 2) << " to "
        << fixedText(survey.curve.front().frequency, 2) << " Hz, each seen at "
        << std::max<std::size_t>(rules.leastOffsets, 2) << " or more of the "
        << survey.offsets.size() << " source offsets"
        << (rules.domain == StatisticsDomain::logWavelength
                ? " (in " + std::to_string(rules.binsPerDecade) + " bins a decade of wavelength)"
                : std::string())
        << "\n";
    out << "sigma: the scatter of the phase velocity between source offsets (sample standard\n"
           "deviation, at least "
        << fixedText(rules.sigmaFloor, 2)
        << " m/s), not the error of the mean nor a bias all offsets share\n";
  }
}

std::string offsetName(double offset) {
  return fixedText(offset, 1);
}

// Every output file together, or none.
bool writeOutputs(const MaswCommand& command, const SurveyResult& survey, std::ostream& messages) {
  std::vector<std::string> paths;
  std::vector<std::string> texts;
  if (command.csvPrefix) {
    if (!survey.curve.empty()) {
      paths.push_back(*command.csvPrefix + "_curve.csv");
      texts.push_back(curveTableText(survey.curve, command.settings.request.statistics.domain));
    }
    paths.push_back(*command.csvPrefix + "_picks.csv");
    texts.push_back(picksTableText(offsetPicks(survey.offsets)));
  }
  if (command.imagesPrefix) {
    for (const OffsetResult& offset : survey.offsets) {
      const std::string name = offsetName(offset.group.sourceOffset);
      paths.push_back(*command.imagesPrefix + "_offset_" + name + ".png");
      texts.push_back(encodePng(drawDispersionPicture(offset.image, offset.limits, offset.picks,
                                                      "offset " + name + " m")));
    }
  }
  std::vector<swcore::OutputText> files;
  for (std::size_t n = 0; n < paths.size(); ++n) files.push_back({paths[n], texts[n]});
  std::string error;
  if (!swcore::replaceFileTextsTogether(files, error)) {
    messages << "dispfit-masw: the output files could not be written: " << error << '\n';
    return false;
  }
  return true;
}

}  // namespace

int runMasw(const MaswCommand& command, std::ostream& report, std::ostream& messages,
            bool showProgress) {
  std::vector<ShotRecord> records;
  if (!readRecords(command, records, messages)) return kMaswUsageOrFileError;
  PlacedRecords placed;
  std::string error;
  if (!placeRecords(records, command.settings, placed, error)) {
    messages << "dispfit-masw: " << error << '\n';
    return kMaswUsageOrFileError;
  }
  records.clear();
  const unsigned threads =
      command.threads ? command.threads : std::max(1u, std::thread::hardware_concurrency());
  const SurveyProgress progress = [&](std::size_t done, std::size_t total) {
    if (!showProgress) return;
    messages << "\rimages: " << done << " of " << total << " source positions" << std::flush;
    if (done == total) messages << '\n';
  };
  const SurveyResult survey =
      analyseSurvey(placed.gathers, placed.groups, command.settings.request, threads, progress);
  printReport(command, survey, placed.gathers.size(), report);
  const std::size_t least =
      std::max<std::size_t>(command.settings.request.statistics.leastOffsets, 2);
  const bool written = writeOutputs(command, survey, messages);
  if (survey.offsets.size() < least) {
    messages << "dispfit-masw: the records come from " << survey.offsets.size()
             << " source positions; a curve with its spread needs " << least
             << " (--min-offsets N, at least 2)\n";
    return kMaswNoCurve;
  }
  if (survey.curve.empty()) {
    messages << "dispfit-masw: no frequency was picked inside the array's limits at " << least
             << " source offsets or more\n";
    return kMaswNoCurve;
  }
  if (!written) return kMaswNoCurve;
  if (!command.csvPrefix)
    report << curveTableText(survey.curve, command.settings.request.statistics.domain);
  report.flush();
  if (!report) {
    messages << "dispfit-masw: the report could not be written to standard output\n";
    return kMaswNoCurve;
  }
  return kMaswDone;
}

}  // namespace dispfit
