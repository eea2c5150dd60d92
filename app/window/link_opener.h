// SPDX-License-Identifier: GPL-3.0-or-later
// Opens a web address in the user's browser; tests record the address instead.
#pragma once

#include <QUrl>

namespace dispfit {

class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  virtual void open(const QUrl& address) = 0;
};

// Hands the address to the desktop, which opens it in the default browser.
// A failure is ignored.
class DesktopLinkOpener : public LinkOpener {
 public:
  void open(const QUrl& address) override;
};

}  // namespace dispfit
