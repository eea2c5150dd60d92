// SPDX-License-Identifier: GPL-3.0-or-later
// A pair of arrow buttons bound to a text box: each step moves the position
// by one within its range, writes it into the box and reports the step. The
// Up and Down keys in the box step it too. The box takes only whole numbers
// of the range: a typed number is taken when the user presses Enter or
// leaves the box, and anything else left there is replaced by the position.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QValidator>
#include <QWidget>

#include "core/spinner_position.h"

namespace dispfit {

class UpDown : public QWidget {
  Q_OBJECT

 public:
  UpDown(QLineEdit& buddy, SpinnerRange range, QWidget* parent);

  int position() const { return position_; }
  void setPosition(int position);

  // One step up (+1) or down (-1). Emits stepped when the position changed;
  // a step at either end of the range changes nothing and emits nothing.
  void stepBy(int delta);

  // Takes the number typed into the box as the position; emits stepped when
  // it differs from the position.
  void takeTypedPosition();

 Q_SIGNALS:
  void stepped(bool up);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLineEdit& buddy_;
  SpinnerRange range_;
  int position_;
  QToolButton upButton_{this};
  QToolButton downButton_{this};

  // Accepts whole numbers of the range; what is left unfinished when the
  // user leaves the box becomes the position again.
  // A number above the range is refused as it is typed.
  class BoxValidator : public QValidator {
   public:
    explicit BoxValidator(UpDown& owner) : QValidator(&owner), owner_(owner) {}
    State validate(QString& input, int& position) const override;
    void fixup(QString& input) const override { input = QString::number(owner_.position_); }

   private:
    const UpDown& owner_;
  };
  BoxValidator validator_{*this};
};

}  // namespace dispfit
