// The program's logo: a dispersion curve over layered ground, drawn in code.
#pragma once

#include <QPixmap>

QPixmap aboutLogo(int size);
