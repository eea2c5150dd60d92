// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDesktopServices>

#include "window/link_opener.h"

namespace dispfit {

void DesktopLinkOpener::open(const QUrl& address) {
  QDesktopServices::openUrl(address);
}

}  // namespace dispfit
