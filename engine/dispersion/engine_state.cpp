#include "dispersion/engine_state.h"

namespace swcore {

EngineState engineState{};

}  // namespace swcore
