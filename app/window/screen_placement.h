// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window opens: at the size it has, made smaller where the screen's
// room is smaller (down to what its layouts need), centred in that room.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

namespace dispfit {

// Room the desktop's frame takes around a window (its caption and borders),
// which Qt knows only once the window is shown: enough for the usual
// captions at 100 % to 150 % scaling.
inline constexpr QSize kFrameAllowance{16, 40};

// The size of the window's contents that fits `available` (the screen's
// geometry without its panels, in the window's own pixels) with its frame:
// `wanted`, no larger than the room, no smaller than `minimum`.
QSize sizeOnScreen(QSize wanted, QSize minimum, const QRect& available);

// Resizes the window to sizeOnScreen and centres it in `available`.
void placeOnScreen(QWidget& window, const QRect& available);

}  // namespace dispfit
