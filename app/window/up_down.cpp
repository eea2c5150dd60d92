// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/up_down.h"

#include <QKeyEvent>
#include <algorithm>

namespace dispfit {

UpDown::UpDown(QLineEdit& buddy, SpinnerRange range, QWidget* parent)
    : QWidget(parent), buddy_(buddy), range_(range), position_(range.minimum) {
  upButton_.setArrowType(Qt::UpArrow);
  downButton_.setArrowType(Qt::DownArrow);
  upButton_.setAutoRepeat(true);
  downButton_.setAutoRepeat(true);
  upButton_.setFocusPolicy(Qt::NoFocus);
  downButton_.setFocusPolicy(Qt::NoFocus);
  connect(&upButton_, &QToolButton::clicked, this, [this] { stepBy(+1); });
  connect(&downButton_, &QToolButton::clicked, this, [this] { stepBy(-1); });
  buddy_.installEventFilter(this);
  buddy_.setText(QString::number(position_));
  buddy_.setValidator(&validator_);
  connect(&buddy_, &QLineEdit::editingFinished, this, &UpDown::takeTypedPosition);
}

QValidator::State UpDown::BoxValidator::validate(QString& input, int& /*position*/) const {
  if (input.isEmpty()) return Intermediate;
  for (const QChar ch : input) {
    if (ch < u'0' || ch > u'9') return Invalid;
  }
  const int value = input.toInt();
  if (value > owner_.range_.maximum) return Invalid;
  return value >= owner_.range_.minimum ? Acceptable : Intermediate;
}

void UpDown::takeTypedPosition() {
  bool isNumber = false;
  const int typed = buddy_.text().toInt(&isNumber);
  if (!isNumber || typed < range_.minimum || typed > range_.maximum) {
    buddy_.setText(QString::number(position_));
    return;
  }
  if (typed == position_) return;
  const bool up = typed > position_;
  position_ = typed;
  Q_EMIT stepped(up);
}

void UpDown::setPosition(int position) {
  position_ = std::clamp(position, range_.minimum, range_.maximum);
  buddy_.setText(QString::number(position_));
}

void UpDown::stepBy(int delta) {
  const int start = steppedPosition(position_, buddy_.text().toStdString(), 0, range_);
  const int next = steppedPosition(position_, buddy_.text().toStdString(), delta, range_);
  position_ = next;
  buddy_.setText(QString::number(position_));
  if (next != start) Q_EMIT stepped(delta > 0);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &buddy_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      stepBy(key == Qt::Key_Up ? +1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int half = height() / 2;
  upButton_.setGeometry(0, 0, width(), half);
  downButton_.setGeometry(0, half, width(), height() - half);
}

}  // namespace dispfit
