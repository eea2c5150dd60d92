// SPDX-License-Identifier: GPL-3.0-or-later
// Free-format reading of numbers separated by blanks, commas or line breaks.
//
// Every read starts on a new line. A read that needs more numbers than the
// line holds continues on the following lines; whatever is left on the last
// line it touches is skipped. A UTF-8 byte-order mark before the first line
// is passed over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace swcore {

class FreeFormatReader {
 public:
  // `sourceName` names the input in error messages.
  FreeFormatReader(std::istream& in, std::string sourceName);

  // Reads `count` finite numbers into `values`. Returns false when the input
  // ends early or a field is not a number; error() then says where and why.
  bool readReals(std::size_t count, std::vector<double>& values);

  // Reads `count` integers; fails as readReals does, and also for a number
  // that is not an integer of 32 bits.
  bool readIntegers(std::size_t count, std::vector<std::int32_t>& values);

  bool readInteger(std::int32_t& value);

  // The line of the first number the reads have left unread: on the rest of
  // the last line read, or first on a later line. 0 when there is none.
  // Reads the input to its end.
  std::size_t lineOfUnreadNumber();

  // The line of the last field read (from 1), 0 before the first read.
  std::size_t lineOfLastRead() const { return lineNumber_; }

  // The input's name in error messages.
  const std::string& sourceName() const { return sourceName_; }

  // The message of the last failed read: "<source>, line <n>: <what>".
  const std::string& error() const { return error_; }

 private:
  // Fields of the next line(s) until `count` are gathered; the rest of the
  // last line is dropped.
  bool readFields(std::size_t count, std::vector<std::string>& fields);
  // `count` numbers; `parse` reads one field, `kind` names them in the
  // error message.
  template <class T>
  bool readNumbers(std::size_t count, std::vector<T>& values, bool (*parse)(std::string_view, T&),
                   std::string_view kind);
  bool fail(std::string_view what);
  bool failAt(std::size_t line, std::string_view what);

  std::istream* in_;
  std::string sourceName_;
  std::size_t lineNumber_ = 0;
  std::vector<std::size_t> fieldLines_;  // line of each field of the current read
  std::vector<std::string> skipped_;     // the rest of the last line read
  std::string error_;
};

}  // namespace swcore
