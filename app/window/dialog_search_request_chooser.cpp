// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/global_search_dialog.h"
#include "window/search_request_chooser.h"

namespace dispfit {

std::optional<SearchRequest> DialogSearchRequestChooser::searchRequest(
    QWidget* parent, const SearchRequest& offered) {
  GlobalSearchDialog dialog(offered, files_, messages_, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.request();
}

}  // namespace dispfit
