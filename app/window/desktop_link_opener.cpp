#include <QDesktopServices>

#include "window/link_opener.h"

void DesktopLinkOpener::open(const QUrl& address) {
  QDesktopServices::openUrl(address);
}
