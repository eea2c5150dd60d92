// SPDX-License-Identifier: GPL-3.0-or-later
// Not a test: writes the fuzz targets' seed records, small files of every
// format and byte order made by the test writers, into the corpus folders
// under the folder given (tests/fuzz/corpus).
//   app_shots_fuzz_seeds tests/fuzz/corpus
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "record_writers.h"

namespace {

using dispfit::ByteOrder;

// Four receivers, 16 samples: small seeds mutate fastest.
dispfit::ShotGather seedGather() {
  dispfit::ShotGather gather;
  gather.sampleInterval = 0.001;
  gather.delay = -0.002;
  gather.sourcePosition = -2.0;
  for (int j = 0; j < 4; ++j) {
    gather.receiverPositions.push_back(1.0 * j);
    std::vector<double> trace;
    for (int k = 0; k < 16; ++k) trace.push_back(std::round(100.0 * std::sin(0.5 * k + j)));
    gather.traces.push_back(trace);
  }
  return gather;
}

void write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: app_shots_fuzz_seeds CORPUS_FOLDER\n";
    return 2;
  }
  const std::filesystem::path corpus = argv[1];
  const dispfit::ShotGather gather = seedGather();
  for (int format = 1; format <= 5; ++format) {
    for (const ByteOrder order : {ByteOrder::little, ByteOrder::big}) {
      const std::string name = "format" + std::to_string(format) +
                               (order == ByteOrder::big ? "_big.sg2" : "_little.sg2");
      write(corpus / "seg2" / name,
            dispfit_test::seg2Bytes(
                dispfit_test::seg2Traces(gather, {"DESCALING_FACTOR 2", "STACK 3"}),
                {order, format, {"SOURCE_LOCATION -2"}}));
    }
  }
  const int formats[] = {1, 3, 5, 6, 8};
  for (const int format : formats) {
    for (const ByteOrder order : {ByteOrder::little, ByteOrder::big}) {
      const int revision = format >= 6 ? 2 : format % 2;
      const std::string name = "format" + std::to_string(format) + "_rev" +
                               std::to_string(revision) +
                               (order == ByteOrder::big ? "_big.sgy" : "_little.sgy");
      write(corpus / "segy" / name,
            dispfit_test::segyBytes(
                gather, {order, format, revision, -10, revision >= 1 ? 1 : 0, revision == 2}));
    }
  }
  write(corpus / "seismic_unix" / "little.su",
        dispfit_test::seismicUnixBytes(gather, ByteOrder::little));
  write(corpus / "seismic_unix" / "big.su", dispfit_test::seismicUnixBytes(gather, ByteOrder::big));
  return 0;
}
