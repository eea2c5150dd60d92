// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPrinterInfo>

#include "window/printer_source.h"

namespace dispfit {

std::unique_ptr<QPrinter> DefaultPrinter::defaultPrinter() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return nullptr;
  return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

}  // namespace dispfit
