// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/string_grid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <memory>

namespace dispfit {

StringGrid::StringGrid(int columns, QWidget* parent) : QTableWidget(0, columns, parent) {
  verticalHeader()->hide();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setTabKeyNavigation(true);
  setShowGrid(true);
  for (int c = 0; c < columns; ++c) {
    setHorizontalHeaderItem(c, std::make_unique<QTableWidgetItem>(QString()).release());
  }
}

void StringGrid::setGridRowCount(int rows) {
  const int before = rowCount();
  setRowCount(std::max(rows - 1, 0));
  for (int r = before; r < rowCount(); ++r) {
    for (int c = 0; c < columnCount(); ++c) {
      auto cellItem = std::make_unique<QTableWidgetItem>(QString());
      if (c == 0) {  // the fixed column: not editable, drawn like the header
        cellItem->setFlags(Qt::ItemIsEnabled);
        cellItem->setBackground(palette().button());
      }
      setItem(r, c, cellItem.release());
    }
  }
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste) && state() != QAbstractItemView::EditingState) {
    Q_EMIT pasteRequested(QGuiApplication::clipboard()->text());
    event->accept();
    return;
  }
  QTableWidget::keyPressEvent(event);
}

QString StringGrid::cell(int column, int row) const {
  const QTableWidgetItem* found = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
  return found != nullptr ? found->text() : QString();
}

void StringGrid::setCell(int column, int row, const QString& text) {
  QTableWidgetItem* found = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
  if (found != nullptr) found->setText(text);
}

}  // namespace dispfit
