// A pair of arrow buttons bound to a text box: each step moves the position
// by one within its range, writes it into the box and reports the step. The
// Up and Down keys in the box step it too.
#pragma once

#include <QLineEdit>
#include <QToolButton>
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

 signals:
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
};

}  // namespace dispfit
