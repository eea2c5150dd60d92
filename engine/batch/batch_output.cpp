// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/batch_output.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include "batch/batch_files.h"
#include "records/file_replacement.h"
#include "records/number_text.h"
#include "records/record_writer.h"

namespace swcore {

namespace {

// The position of the first value that is not finite, or values.size().
template <typename Real>
std::size_t firstNonFinite(std::span<const Real> values) {
  const auto it =
      std::find_if(values.begin(), values.end(), [](Real value) { return !std::isfinite(value); });
  return static_cast<std::size_t>(it - values.begin());
}

// False, with a message naming the entry, when an entry of `values` is not
// finite: `what` names the values, `consequence` ends the message.
template <typename Real>
bool allFinite(std::span<const Real> values, const std::string& what,
               const std::string& consequence, std::string& error) {
  const std::size_t bad = firstNonFinite(values);
  if (bad == values.size()) {
    return true;
  }
  error = what + " " + std::to_string(bad + 1) + " is " +
          std::string(formatNumber(values[bad]).view()) + ", not a finite number; " + consequence;
  return false;
}

}  // namespace

bool writeForwardCurve(const std::filesystem::path& directory, const ForwardCurve& curve,
                       std::string& error) {
  const std::string untouched = std::string(kCurveFileName) + " is left as it was";
  if (!allFinite<float>(curve.frequency, "the forward run's frequency of datum", untouched,
                        error) ||
      !allFinite<float>(curve.velocity, "the forward run's phase velocity of datum", untouched,
                        error)) {
    return false;
  }
  const auto count = static_cast<std::int32_t>(curve.velocity.size());
  return replaceFileKeepingBackup(
      directory / kCurveFileName,
      [&](const RecordWriter& out) {
        out.write(Record().add(count));
        for (std::size_t j = 0; j < curve.velocity.size(); ++j) {
          out.write(Record().add(curve.frequency[j]).add(curve.velocity[j]));
        }
      },
      error);
}

bool writeInversionResult(const std::filesystem::path& directory, const InversionResult& result,
                          std::string& error) {
  const std::string untouched = std::string(kFittedCurveFileName) + " and " +
                                kFittedParametersFileName + " are left as they were";
  if (!allFinite<double>(result.period, "the period of datum", untouched, error) ||
      !allFinite<double>(result.fittedVelocity, "the fitted velocity of datum", untouched, error) ||
      !allFinite<double>(result.observedVelocity, "the observed velocity of datum", untouched,
                         error) ||
      !allFinite<double>(result.fittedParameter, "fitted parameter", untouched, error) ||
      !allFinite<double>(result.startingParameter, "starting parameter", untouched, error)) {
    return false;
  }
  const OutputFile files[] = {
      {directory / kFittedCurveFileName,
       [&](const RecordWriter& out) {
         Record record;
         for (std::size_t j = 0; j < result.period.size(); ++j) {
           record.add(result.period[j])
               .add(result.fittedVelocity[j])
               .add(result.observedVelocity[j]);
         }
         out.write(record);
       }},
      {directory / kFittedParametersFileName,
       [&](const RecordWriter& out) {
         for (std::size_t k = 0; k < result.fittedParameter.size(); ++k) {
           out.write(Record().add(result.fittedParameter[k]).add(result.startingParameter[k]));
         }
       }},
  };
  return replaceFilesTogether(files, error);
}

}  // namespace swcore
