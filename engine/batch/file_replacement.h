// Replacing an output file without ever leaving it truncated or
// half-written.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "records/record_writer.h"

namespace swcore {

// Writes the records produced by `fill` into a new file beside `path` and
// renames it over `path` once it is complete. On any failure `path` is left
// as it was, the partial file is removed and false is returned.
bool replaceFile(const std::filesystem::path& path,
                 const std::function<void(const RecordWriter&)>& fill, std::string& error);

}  // namespace swcore
