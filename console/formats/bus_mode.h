// The console's bus mode. It has no variable of its own: it is whichever of the console's
// option buttons `I2C`, `PMBus_sel`, `SBS` is selected, read again at each use.
#pragma once

namespace velmora {

enum class BusMode { I2C, PMBus, SBS };

}  // namespace velmora
