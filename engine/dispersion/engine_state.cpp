// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/engine_state.h"

namespace swcore {

EngineState engineState{};

}  // namespace swcore
