// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/record_geometry.h"

#include <algorithm>
#include <cmath>

namespace dispfit {
namespace {

// Two positions or intervals read from one file agree within this share of
// their size: the file's text or its scalars round them, a true difference
// is a whole receiver spacing or sample.
constexpr double kAgreement = 1e-6;

bool agree(double a, double b) {
  return std::abs(a - b) <= kAgreement * std::max({std::abs(a), std::abs(b), 1.0});
}

std::string traceName(const ShotRecord& record, std::size_t i) {
  return record.name + ": trace " + std::to_string(i + 1) + ": ";
}

bool sampleInterval(const ShotRecord& record, const GeometryOverrides& overrides, double& dt,
                    std::string& error) {
  if (overrides.sampleInterval) {
    dt = *overrides.sampleInterval;
    return true;
  }
  const std::string keyword = record.format == "SEG-2" ? "SAMPLE_INTERVAL" : "the sample interval";
  for (std::size_t i = 0; i < record.traces.size(); ++i) {
    const std::optional<double>& own = record.traces[i].sampleInterval;
    if (!own) {
      error = traceName(record, i) + "no " + keyword + "; give it with --sample-interval S";
      return false;
    }
    if (i == 0) {
      dt = *own;
    } else if (!agree(*own, dt)) {
      error = traceName(record, i) + "its sample interval differs from the first trace's";
      return false;
    }
  }
  return true;
}

bool receiverPositions(const ShotRecord& record, const GeometryOverrides& overrides,
                       std::vector<double>& x, std::string& error) {
  const std::size_t n = record.traces.size();
  x.assign(n, 0.0);
  if (overrides.firstReceiver.has_value() != overrides.spacing.has_value()) {
    error = "--first and --spacing are given together";
    return false;
  }
  if (overrides.firstReceiver) {
    for (std::size_t i = 0; i < n; ++i)
      x[i] = *overrides.firstReceiver + double(i) * *overrides.spacing;
    return true;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const RecordTrace& trace = record.traces[i];
    if (trace.receiverPosition) {
      x[i] = *trace.receiverPosition;
    } else if (trace.offset) {
      const std::optional<double> source =
          overrides.source ? overrides.source : trace.sourcePosition;
      x[i] = source.value_or(0.0) + *trace.offset;
    } else {
      const std::string keyword =
          record.format == "SEG-2" ? "RECEIVER_LOCATION" : "receiver position or offset";
      error =
          traceName(record, i) + "no " + keyword + "; give the array with --first X0 --spacing DX";
      return false;
    }
  }
  return true;
}

bool sourcePosition(const ShotRecord& record, const GeometryOverrides& overrides,
                    const std::vector<double>& x, double& source, std::string& error) {
  if (overrides.source) {
    source = *overrides.source;
    return true;
  }
  std::optional<double> found;
  for (std::size_t i = 0; i < record.traces.size(); ++i) {
    const RecordTrace& trace = record.traces[i];
    std::optional<double> own = trace.sourcePosition;
    if (!own && trace.offset && trace.receiverPosition) own = x[i] - *trace.offset;
    if (!own && trace.offset && !overrides.firstReceiver) own = 0.0;  // offsets from a source at 0
    if (!own) {
      const std::string keyword = record.format == "SEG-2" ? "SOURCE_LOCATION" : "source position";
      error = traceName(record, i) + "no " + keyword + "; give it with --source X";
      return false;
    }
    if (!found) {
      found = own;
    } else if (!agree(*own, *found)) {
      error = traceName(record, i) +
              "its source position differs from the first trace's; one record a file is read "
              "(give the source with --source X if the file's positions are wrong)";
      return false;
    }
  }
  source = *found;
  return true;
}

}  // namespace

bool resolveGeometry(const ShotRecord& record, const GeometryOverrides& overrides,
                     ShotGather& gather, std::string& error) {
  gather = ShotGather{};
  gather.name = record.name;
  gather.delay = record.delay;
  if (record.traces.empty()) {
    error = record.name + ": the record holds no trace";
    return false;
  }
  for (std::size_t i = 1; i < record.traces.size(); ++i) {
    if (record.traces[i].samples.size() != record.traces[0].samples.size()) {
      error = traceName(record, i) + std::to_string(record.traces[i].samples.size()) +
              " samples, the first trace " + std::to_string(record.traces[0].samples.size()) +
              "; a record's traces must be of one length";
      return false;
    }
  }
  std::vector<double> x;
  if (!sampleInterval(record, overrides, gather.sampleInterval, error) ||
      !receiverPositions(record, overrides, x, error) ||
      !sourcePosition(record, overrides, x, gather.sourcePosition, error)) {
    if (error.rfind("--", 0) == 0) error = record.name + ": " + error;
    return false;
  }
  std::size_t first = 0;
  std::size_t last = record.traces.size() - 1;
  if (overrides.receivers) {
    const auto [a, b] = *overrides.receivers;
    if (a < 1 || b > record.traces.size() || a >= b) {
      error = record.name + ": --receivers " + std::to_string(a) + " " + std::to_string(b) +
              ": the record has receivers 1 to " + std::to_string(record.traces.size()) +
              " and a range needs two at least";
      return false;
    }
    first = a - 1;
    last = b - 1;
  }
  if (last == first) {
    error = record.name + ": one trace; an array needs two receivers at least";
    return false;
  }
  const double direction = x[first + 1] - x[first];
  for (std::size_t i = first; i <= last; ++i) {
    if (i > first && !((x[i] - x[i - 1]) * direction > 0.0)) {
      error = traceName(record, i) +
              "receivers must lie in order along the line, each at its own place";
      return false;
    }
    if (agree(x[i], gather.sourcePosition)) {
      error = traceName(record, i) + "the receiver stands at the source";
      return false;
    }
    gather.receiverPositions.push_back(x[i]);
    gather.traces.push_back(record.traces[i].samples);
  }
  return true;
}

}  // namespace dispfit
