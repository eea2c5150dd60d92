// Where the window asks what a global search should search: a dialog in the
// program, a scripted answer in tests.
#pragma once

#include <QWidget>
#include <optional>

#include "search/search_request.h"

namespace dispfit {

class SearchRequestChooser {
 public:
  virtual ~SearchRequestChooser() = default;

  // The request the user settled on, starting from `offered`, or none when
  // the choice was cancelled. Not checked: the window refuses a faulty one.
  virtual std::optional<SearchRequest> searchRequest(QWidget* parent,
                                                     const SearchRequest& offered) = 0;
};

// The global search dialog.
class DialogSearchRequestChooser : public SearchRequestChooser {
 public:
  std::optional<SearchRequest> searchRequest(QWidget* parent,
                                             const SearchRequest& offered) override;
};

}  // namespace dispfit
