// SPDX-License-Identifier: GPL-3.0-or-later
// Records written into a C++ output stream, so that a test can read back what
// the engine printed.
#pragma once

#include <ios>
#include <ostream>

#include "records/record_writer.h"

inline swcore::TextSink streamSink(std::ostream& out) {
  return {[](void* context, const char* text, std::size_t length) {
            static_cast<std::ostream*>(context)->write(text, static_cast<std::streamsize>(length));
          },
          &out};
}
