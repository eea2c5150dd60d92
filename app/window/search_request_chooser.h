// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window asks what a global search should search: a dialog in the
// program, a scripted answer in tests.
#pragma once

#include <QWidget>
#include <optional>

#include "core/message_presenter.h"
#include "search/search_request.h"
#include "window/file_chooser.h"

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
  // `files` chooses a ranges file for the dialog's table; `messages` shows
  // what the dialog refuses.
  DialogSearchRequestChooser(FileChooser& files, MessagePresenter& messages)
      : files_(files), messages_(messages) {}

  std::optional<SearchRequest> searchRequest(QWidget* parent,
                                             const SearchRequest& offered) override;

 private:
  FileChooser& files_;
  MessagePresenter& messages_;
};

}  // namespace dispfit
