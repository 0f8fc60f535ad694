// What the number formats library needs to know of the windows: the console's bus mode in
// its terms and the user's regional number format.
#pragma once

#include "bus_mode.h"
#include "formats/number_text.h"
#include "formats/value_entry.h"

namespace velmora {

formats::BusMode formats_mode(BusMode mode);

// Separators of the default locale, which is the system's (tests may set another).
formats::NumberFormat user_number_format();

}  // namespace velmora
