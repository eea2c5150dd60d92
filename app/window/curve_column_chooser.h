// SPDX-License-Identifier: GPL-3.0-or-later
// The step of opening a measured curve whose header the curve table does
// not understand: which column is which, chosen from the header's own
// fields. A dialog in the program, a scripted answer in tests.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

namespace dispfit {

class CurveColumnChooser {
 public:
  virtual ~CurveColumnChooser() = default;

  // The choice as the curve reader takes it ("f=1,v=2,sigma=3"), from the
  // header's fields `header` of the file `fileName`; none when cancelled.
  virtual std::optional<QString> chooseColumns(QWidget* parent, const QString& fileName,
                                               const QStringList& header) = 0;
};

// A dialog of a few lists: the abscissa's kind and its column, the phase
// velocity's column, the spread's kind (none, a standard deviation, low and
// high bounds) and its columns.
class DialogCurveColumnChooser : public CurveColumnChooser {
 public:
  std::optional<QString> chooseColumns(QWidget* parent, const QString& fileName,
                                       const QStringList& header) override;
};

// The choice text of the dialog's answers, columns counted from 1:
// abscissa key "f", "lambda" or "t"; spread "" (none), "sigma" or "bounds"
// with `low` and `high` (`low` alone for sigma).
QString columnChoiceText(const QString& abscissaKey, int abscissa, int velocity,
                         const QString& spread, int low, int high);

}  // namespace dispfit
