// Fixtures shared by the programmer core tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "eeprom_image.h"
#include "programmer_state.h"
#include "recording_window.h"
#include "text_helpers.h"
#include "ui/doubles.h"

namespace pelmo::testing {

// Fresh state, the ui doubles and a recording window for each test.
class ProgrammerTest : public ::testing::Test {
  protected:
    ProgrammerTest() {
        ResetState();
        install_window(&win);
    }
    ~ProgrammerTest() override {
        install_window(nullptr);
        ResetState();
    }

    platform::ui::ScopedDoubles doubles;
    RecordingWindow win;
};

// The record in state with its strings set.
inline ProgrammingRecord& RecordWithStrings(const std::string& manufacturer,
                                            const std::string& description,
                                            const std::string& prefix, const std::string& serial) {
    ClearProgramData();
    auto& s = state();
    SetBufferText(s.ManufacturerBuffer, manufacturer);
    SetBufferText(s.DescriptionBuffer, description);
    SetBufferText(s.PrefixBuffer, prefix);
    SetBufferText(s.SerialBuffer, serial);
    return s.ProgramData;
}

}  // namespace pelmo::testing
