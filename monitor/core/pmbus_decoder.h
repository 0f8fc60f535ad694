// Stage 3b of the monitor: a finished transaction -> its PMBus line text.
// Input: Events(1)..Events(EventCount) of one transaction, from its "[S]" to its "[P]".
// Output: the texts of the events appended to the line text, with the command's two
// digits replaced by its bracketed name, the page of a PAGE write by its page name and
// the data of a status register read by the texts of its set bits. No numeric values.
// The shape is recognised by the number of events alone; other counts stay as digits.
#pragma once

#include <string>

#include "events.h"

namespace velmora::monitor {

class PmbusDecoder {
  public:
    // `events` is indexed from 1 (Events(1) is events[1]).
    void decode(const Event* events, int count, std::string& line);

  private:
    // Scratch texts, kept to spare an allocation per transaction.
    std::string name_;
    std::string bits_;
};

}  // namespace velmora::monitor
