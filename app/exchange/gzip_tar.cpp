// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/gzip_tar.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace dispfit {

namespace {

constexpr std::size_t kBlock = 512;  // tar's record unit
constexpr std::size_t kNameField = 100;
constexpr std::size_t kSizeOffset = 124;
constexpr std::size_t kSizeField = 12;
constexpr std::size_t kChecksumOffset = 148;
constexpr std::size_t kChecksumField = 8;
constexpr std::size_t kTypeOffset = 156;
constexpr std::size_t kMagicOffset = 257;
// zlib's window bits: 15 for the largest window, +16 for a gzip wrapper,
// +32 to take a gzip or a zlib wrapper on reading.
constexpr int kGzipWrite = 15 + 16;
constexpr int kGzipOrZlibRead = 15 + 32;

// An octal number field of a tar header: digits, ended by a NUL or blank.
bool octalField(std::string_view field, std::uint64_t& value) {
  value = 0;
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  bool digits = false;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '7'; ++i) {
    if (value > (UINT64_MAX >> 3)) return false;
    value = value * 8 + static_cast<std::uint64_t>(field[i] - '0');
    digits = true;
  }
  return digits && (i == field.size() || field[i] == '\0' || field[i] == ' ');
}

// The sum of a header's bytes with the checksum field read as blanks.
std::uint64_t headerSum(std::string_view header) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < kBlock; ++i) {
    const bool checksum = i >= kChecksumOffset && i < kChecksumOffset + kChecksumField;
    sum += checksum ? static_cast<unsigned char>(' ') : static_cast<unsigned char>(header[i]);
  }
  return sum;
}

bool checksumHolds(std::string_view header) {
  std::uint64_t written = 0;
  return octalField(header.substr(kChecksumOffset, kChecksumField), written) &&
         written == headerSum(header);
}

std::string fieldText(std::string_view field) {
  return std::string(field.substr(0, std::min(field.find('\0'), field.size())));
}

void putOctal(std::string& header, std::size_t offset, std::size_t width, std::uint64_t value) {
  // width - 1 octal digits and a NUL, as tar writes its number fields.
  for (std::size_t i = width - 1; i-- > 0;) {
    header[offset + i] = static_cast<char>('0' + (value & 7u));
    value >>= 3;
  }
  header[offset + width - 1] = '\0';
}

}  // namespace

bool isGzip(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1f &&
         static_cast<unsigned char>(bytes[1]) == 0x8b;
}

bool gunzip(std::string_view bytes, std::string& unpacked, std::string& error) {
  z_stream stream{};
  if (inflateInit2(&stream, kGzipOrZlibRead) != Z_OK) {
    error = "the gzip data cannot be unpacked (no memory)";
    return false;
  }
  std::string out;
  char buffer[16384];
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
    if (out.size() > kMostUnpackedBytes) {
      inflateEnd(&stream);
      error = "the gzip data unpack to more than " + std::to_string(kMostUnpackedBytes >> 20) +
              " MiB, which no data file comes near";
      return false;
    }
    if (status == Z_BUF_ERROR && stream.avail_in == 0) break;  // the data end early
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) {
    error = "the gzip data are damaged or cut short";
    return false;
  }
  unpacked = std::move(out);
  return true;
}

bool isTar(std::string_view bytes) {
  if (bytes.size() < kBlock) return false;
  const std::string_view header = bytes.substr(0, kBlock);
  return header.substr(kMagicOffset, 5) == "ustar" || checksumHolds(header);
}

bool tarMember(std::string_view bytes, std::string_view suffix, std::string& member,
               std::string& error) {
  std::size_t offset = 0;
  while (offset + kBlock <= bytes.size()) {
    const std::string_view header = bytes.substr(offset, kBlock);
    if (header.find_first_not_of('\0') == std::string_view::npos) break;  // the end blocks
    if (!checksumHolds(header)) {
      error = "the tar archive is damaged (a header's checksum does not hold)";
      return false;
    }
    std::uint64_t size = 0;
    if (!octalField(header.substr(kSizeOffset, kSizeField), size) ||
        size > bytes.size() - offset - kBlock) {
      error = "the tar archive is damaged (a member's size runs past its end)";
      return false;
    }
    const std::string name = fieldText(header.substr(0, kNameField));
    const char type = header[kTypeOffset];
    const bool regular = type == '0' || type == '\0';
    if (regular && name.ends_with(suffix)) {
      member = std::string(bytes.substr(offset + kBlock, static_cast<std::size_t>(size)));
      return true;
    }
    offset += kBlock + (static_cast<std::size_t>(size) + kBlock - 1) / kBlock * kBlock;
  }
  error = "the tar archive holds no member named *" + std::string(suffix);
  return false;
}

std::string tarGzOf(std::string_view name, std::string_view content) {
  std::string header(kBlock, '\0');
  std::memcpy(header.data(), name.data(), std::min(name.size(), kNameField - 1));
  putOctal(header, 100, 8, 0644);  // mode
  putOctal(header, 108, 8, 0);     // owner
  putOctal(header, 116, 8, 0);     // group
  putOctal(header, kSizeOffset, kSizeField, content.size());
  putOctal(header, 136, 12,
           0);  // modification time: none, so the archive depends on its content alone
  header[kTypeOffset] = '0';
  std::memcpy(header.data() + kMagicOffset,
              "ustar\0"
              "00",
              8);
  putOctal(header, kChecksumOffset, 7, headerSum(header));
  header[kChecksumOffset + 7] = ' ';

  std::string archive = header;
  archive += content;
  archive.append((kBlock - content.size() % kBlock) % kBlock, '\0');
  archive.append(2 * kBlock, '\0');  // the two blocks that end an archive

  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWrite, 8, Z_DEFAULT_STRATEGY);
  std::string packed(deflateBound(&stream, static_cast<uLong>(archive.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(archive.data());
  stream.avail_in = static_cast<uInt>(archive.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return packed;
}

}  // namespace dispfit
