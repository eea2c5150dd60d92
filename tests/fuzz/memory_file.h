// SPDX-License-Identifier: GPL-3.0-or-later
// A fuzz input held in memory under a file name, for readers that open
// their file by path.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

class MemoryFile {
 public:
  // The file holds `size` bytes from `data`; memfd_create keeps it off disk.
  MemoryFile(const std::uint8_t* data, std::size_t size)
      : fd_(memfd_create("fuzz-input", MFD_CLOEXEC)) {
    std::size_t written = 0;
    while (fd_ >= 0 && written < size) {
      const ssize_t n = ::write(fd_, data + written, size - written);
      if (n <= 0) {
        break;
      }
      written += static_cast<std::size_t>(n);
    }
    complete_ = fd_ >= 0 && written == size;
  }
  ~MemoryFile() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // False when the input could not be stored; the fuzz target then skips it.
  bool complete() const { return complete_; }
  // A path that opens the file afresh, from its first byte.
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
  bool complete_ = false;
};

// Ends the run as a crash, so libFuzzer keeps the input, when a reader
// accepts a file that breaks the rules it promises to check.
inline void require(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

}  // namespace fuzz
