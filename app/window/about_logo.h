// SPDX-License-Identifier: GPL-3.0-or-later
// The program's logo: a dispersion curve over layered ground, drawn in code.
#pragma once

#include <QPixmap>

namespace dispfit {

QPixmap aboutLogo(int size);

}  // namespace dispfit
