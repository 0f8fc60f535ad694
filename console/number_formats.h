// What the number formats library needs to know of the windows: the user's regional
// number format.
#pragma once

#include "formats/number_text.h"
#include "formats/value_entry.h"

namespace velmora {

// Separators of the default locale, which is the system's (tests may set another).
formats::NumberFormat user_number_format();

}  // namespace velmora
