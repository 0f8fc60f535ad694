// Stage 3a of the monitor: a finished transaction -> its Smart Battery line text.
// Input: Events(1)..Events(EventCount) of one transaction, from its "[S]" to its "[P]".
// Output: the texts of the events appended to the line text, with the device address,
// the command of a word transfer and its data word named where the tables know them.
// The shape is recognised by the number of events alone; other counts stay as digits.
#pragma once

#include <string>
#include <string_view>

#include "events.h"

namespace velmora::monitor {

class SbsDecoder {
  public:
    // `events` is indexed from 1 (Events(1) is events[1]). A temperature is written with
    // `decimal` as its separator.
    void decode(const Event* events, int count, std::string_view decimal, std::string& line);

  private:
    // Scratch text of the data word (its number or its flag texts), kept to spare an
    // allocation per transaction.
    std::string value_;
};

}  // namespace velmora::monitor
