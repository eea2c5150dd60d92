// Replacing a file without ever leaving it truncated or half-written: the new
// contents go to a file beside it, which is renamed over it once complete.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace swcore {

// Writes what `fill` puts into the stream it is given into "<path>.new" and
// renames that over `path` once it is complete. On any failure `path` is left
// as it was, the partial file is removed, `error` names the file and the
// cause, and false is returned.
bool replaceFileContents(const std::filesystem::path& path,
                         const std::function<void(std::FILE*)>& fill, std::string& error);

// replaceFileContents with `text` as the whole new contents, byte for byte.
bool replaceFileText(const std::filesystem::path& path, std::string_view text, std::string& error);

}  // namespace swcore
