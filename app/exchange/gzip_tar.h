// SPDX-License-Identifier: GPL-3.0-or-later
// A file packed as a gzip-compressed tar archive, as Geopsy keeps its target
// files: one member read out of such an archive, and an archive of one
// member written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dispfit {

// Unpacked bytes beyond this are no data file (a target of a thousand points
// unpacks to some hundred kilobytes); the limit stops a crafted archive from
// filling the memory.
inline constexpr std::size_t kMostUnpackedBytes = 16u << 20;

// True when `bytes` begin as gzip data do (0x1f 0x8b).
bool isGzip(std::string_view bytes);

// The bytes gzip data `bytes` unpack to; false with what is wrong in `error`.
bool gunzip(std::string_view bytes, std::string& unpacked, std::string& error);

// True when `bytes` begin with a tar header (the ustar mark, or a header
// whose checksum holds).
bool isTar(std::string_view bytes);

// The first member of the tar archive `bytes` whose name ends in `suffix`;
// false with what is wrong in `error`.
bool tarMember(std::string_view bytes, std::string_view suffix, std::string& member,
               std::string& error);

// A gzip-compressed tar archive holding `content` under `name` (at most 99
// bytes), as tar and gzip write one.
std::string tarGzOf(std::string_view name, std::string_view content);

}  // namespace dispfit
