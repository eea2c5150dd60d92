// Free-format reading of numbers separated by blanks, commas or line breaks.
//
// Every read starts on a new line. A read that needs more numbers than the
// line holds continues on the following lines; whatever is left on the last
// line it touches is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace swcore {

class FreeFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FreeFormatReader {
 public:
  // `sourceName` names the input in error messages.
  FreeFormatReader(std::istream& in, std::string sourceName);

  // Reads `count` finite numbers. Throws FreeFormatError when the input ends
  // early or a field is not a number.
  std::vector<double> readReals(std::size_t count);

  // Reads `count` integers. Throws FreeFormatError as readReals does, and for
  // a field that is a number but not an integer of 32 bits.
  std::vector<std::int32_t> readIntegers(std::size_t count);

  std::int32_t readInteger() { return readIntegers(1).front(); }

 private:
  // Fields of the next line(s) until `count` are gathered; the rest of the
  // last line is dropped.
  std::vector<std::string> readFields(std::size_t count);
  [[noreturn]] void fail(std::string_view what) const;

  std::istream* in_;
  std::string sourceName_;
  std::size_t lineNumber_ = 0;
};

}  // namespace swcore
