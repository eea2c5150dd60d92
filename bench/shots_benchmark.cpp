// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the shot-record pipeline on synthetic records of the tests' site.
//
// BM_PhaseShiftImage      one record of 24 channels and 1500 samples on 191
//                         frequencies x 1000 velocities, the phase shift
//                         stepped along the frequencies (the target: 10 ms
//                         on one core), FFTs included
// BM_PhaseShiftDirect     the same image evaluated cell by cell, the
//                         exponential at every cell: the straightforward
//                         double loop it is measured against
// BM_BeamformerImage      the same grid through the cylindrical beamformer,
//                         its steering's envelope read from a table and the
//                         exponential stepped along the frequencies
// BM_BeamformerDirect     the same image with the Hankel function evaluated
//                         at every cell and channel, as it was computed first
// BM_SurveyOfTwentyFive   25 SEG-2 records (5 source offsets, 5 records
//                         each) from memory to the combined curve: reading,
//                         geometry, 5 stacked images, picks and statistics,
//                         on 1 and 2 threads (the target: 1 s on two cores)
#include <benchmark/benchmark.h>

#include <vector>

#include "layered_site.h"
#include "record_writers.h"
#include "shots/dispersion_image.h"
#include "shots/masw_survey.h"
#include "shots/record_geometry.h"
#include "shots/seg2_reader.h"

namespace {

dispfit::ImageRequest benchRequest(dispfit::ImageTransform transform) {
  dispfit::ImageRequest request;
  request.grid.frequency = {5.0, 100.0, 0.5};   // 191 frequencies
  request.grid.velocity = {50.0, 1049.0, 1.0};  // 1000 velocities
  request.transform = transform;
  return request;
}

const dispfit::ShotGather& benchRecord() {
  static const dispfit::ShotGather gather = [] {
    const dispfit::ModalCurve modes[] = {dispfit_test::siteFundamental()};
    return dispfit::syntheticRecord(dispfit_test::siteShot(10.0, 0.1), modes);
  }();
  return gather;
}

void BM_PhaseShiftImage(benchmark::State& state) {
  const dispfit::ShotGather gathers[] = {benchRecord()};
  const dispfit::ImageRequest request = benchRequest(dispfit::ImageTransform::phaseShift);
  for (auto _ : state) benchmark::DoNotOptimize(dispfit::dispersionImage(gathers, request));
}
BENCHMARK(BM_PhaseShiftImage)->Unit(benchmark::kMillisecond);

void BM_PhaseShiftDirect(benchmark::State& state) {
  const dispfit::ShotGather gathers[] = {benchRecord()};
  const dispfit::ImageRequest request = benchRequest(dispfit::ImageTransform::phaseShift);
  for (auto _ : state) benchmark::DoNotOptimize(dispfit::directPhaseShiftImage(gathers, request));
}
BENCHMARK(BM_PhaseShiftDirect)->Unit(benchmark::kMillisecond);

void BM_BeamformerImage(benchmark::State& state) {
  const dispfit::ShotGather gathers[] = {benchRecord()};
  const dispfit::ImageRequest request = benchRequest(dispfit::ImageTransform::beamformer);
  for (auto _ : state) benchmark::DoNotOptimize(dispfit::dispersionImage(gathers, request));
}
BENCHMARK(BM_BeamformerImage)->Unit(benchmark::kMillisecond);

void BM_BeamformerDirect(benchmark::State& state) {
  const dispfit::ShotGather gathers[] = {benchRecord()};
  const dispfit::ImageRequest request = benchRequest(dispfit::ImageTransform::beamformer);
  for (auto _ : state) benchmark::DoNotOptimize(dispfit::directBeamformerImage(gathers, request));
}
BENCHMARK(BM_BeamformerDirect)->Unit(benchmark::kMillisecond);

// 25 SEG-2 files in memory: 5 noisy records from each of 5 source offsets.
const std::vector<std::vector<std::uint8_t>>& surveyFiles() {
  static const std::vector<std::vector<std::uint8_t>> files = [] {
    std::vector<std::vector<std::uint8_t>> out;
    std::uint64_t seed = 1;
    for (const double offset : {5.0, 10.0, 20.0, -5.0, -10.0}) {
      for (int copy = 0; copy < 5; ++copy) {
        dispfit::SyntheticShot shot = dispfit_test::siteShot(offset, 0.1, seed++);
        shot.nearField = true;
        const dispfit::ModalCurve modes[] = {dispfit_test::siteFundamental()};
        out.push_back(dispfit_test::seg2Bytes(
            dispfit_test::seg2Traces(dispfit::syntheticRecord(shot, modes)), {}));
      }
    }
    return out;
  }();
  return files;
}

void BM_SurveyOfTwentyFive(benchmark::State& state) {
  const auto threads = static_cast<unsigned>(state.range(0));
  dispfit::SurveyRequest request;
  request.image = benchRequest(dispfit::ImageTransform::phaseShift);
  request.statistics.sigmaFloor = 0.5;
  const auto& files = surveyFiles();
  std::size_t points = 0;
  for (auto _ : state) {
    std::vector<dispfit::ShotGather> gathers;
    for (const auto& bytes : files) {
      dispfit::ShotRecord record;
      dispfit::ShotGather gather;
      std::string error;
      if (!dispfit::readSeg2(bytes, "shot.sg2", record, error) ||
          !dispfit::resolveGeometry(record, {}, gather, error)) {
        state.SkipWithError(error.c_str());
        return;
      }
      gathers.push_back(std::move(gather));
    }
    std::vector<dispfit::SourceGroup> groups;
    std::string error;
    dispfit::groupBySource(gathers, groups, error);
    const dispfit::SurveyResult result = dispfit::analyseSurvey(gathers, groups, request, threads);
    points = result.curve.size();
  }
  state.counters["curve_points"] = double(points);
}
BENCHMARK(BM_SurveyOfTwentyFive)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
