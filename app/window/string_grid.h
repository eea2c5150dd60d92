// SPDX-License-Identifier: GPL-3.0-or-later
// A string grid with one fixed header row and one fixed left column, read and
// written cell by cell as text. Rows are counted with the header row, so a
// grid of n layers has n + 1 rows; cell(column, row) addresses the header row
// as row 0.
#pragma once

#include <QString>
#include <QTableWidget>

namespace dispfit {

class StringGrid : public QTableWidget {
  Q_OBJECT

 public:
  StringGrid(int columns, QWidget* parent);

  int gridRowCount() const { return rowCount() + 1; }
  void setGridRowCount(int rows);

  QString cell(int column, int row) const;
  void setCell(int column, int row, const QString& text);

  // The item of a cell below the header row (row >= 1), for its look.
  QTableWidgetItem* cellItem(int column, int row) { return item(row - 1, column); }

 Q_SIGNALS:
  // The user asked to paste (Ctrl+V) this clipboard text into the grid.
  void pasteRequested(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace dispfit
