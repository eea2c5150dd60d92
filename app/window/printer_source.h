// SPDX-License-Identifier: GPL-3.0-or-later
// Where the chart is printed: the default printer in the program, a PDF file
// in tests.
#pragma once

#include <QPrinter>
#include <memory>

namespace dispfit {

class PrinterSource {
 public:
  virtual ~PrinterSource() = default;

  // A printer set up for one job, or nullptr when none is available.
  virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;
};

// The system's default printer, through the platform's print system.
class DefaultPrinter : public PrinterSource {
 public:
  std::unique_ptr<QPrinter> defaultPrinter() override;
};

}  // namespace dispfit
