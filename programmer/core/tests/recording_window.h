// A window double for the programmer core: records the log and the steps, and fills
// ProgramData from the settings the test or benchmark puts in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "eeprom_image.h"
#include "programmer_state.h"
#include "text_helpers.h"
#include "window_steps.h"

namespace pelmo::testing {

// Records the log and the steps; the settings fields are what the test puts in.
class RecordingWindow : public WindowSteps {
  public:
    std::vector<std::string> log;
    std::vector<std::string> history;  // every line, however often the log was cleared
    // Called after each line is added, and when the string fields are read (a test may
    // inject a fault between two steps of an operation).
    std::function<void(const std::string&)> on_line;
    std::function<void()> on_string_fields;
    std::vector<std::string> steps;
    std::vector<BasicDetails> shown;
    StringFields fields;
    bool ignore_upper = false;
    // Filled into ProgramData by FormToProgramData (strings from `fields`).
    ProgrammingRecord settings;
    KindFlags kinds;
    bool serial_disabled = false;

    void clear_log() override { log.clear(); }
    void add_log_line(const std::string& line) override {
        log.push_back(line);
        history.push_back(line);
        if (on_line) on_line(line);
    }
    StringFields string_fields() override { return fields; }
    bool ignore_upper_type() override { return ignore_upper; }
    void FormToProgramData(int counter) override;
    void LockBasicDetails() override { steps.push_back("LockBasicDetails"); }
    void UpdateDeviceTypePage() override {
        steps.push_back("UpdateDeviceTypePage");
        state().Kinds = kinds;
    }
    void ProgramDataToForm() override { steps.push_back("ProgramDataToForm"); }
    void ShowBasicDetails(const BasicDetails& d) override { shown.push_back(d); }
};

inline void RecordingWindow::FormToProgramData(int counter) {
    if (on_string_fields) on_string_fields();
    ClearProgramData();
    auto& s = state();
    s.ProgramData = settings;
    // as the window does: the selected kind decides which options are valid
    if (s.Kinds.KindT2) s.ProgramData.IsT2 = 1;
    PointAtBuffers(s.ProgramData);
    SetBufferText(s.ManufacturerBuffer, fields.manufacturer);
    SetBufferText(s.PrefixBuffer, fields.prefix);
    SetBufferText(s.DescriptionBuffer, fields.description);
    if (fields.use_fixed_serial) {
        std::string serial = fields.fixed_serial;
        if (!serial.empty()) serial.back() = static_cast<char>(serial.back() + counter);
        SetBufferText(s.SerialBuffer, serial);
    }
    s.SerialDisabled = serial_disabled;
}

}  // namespace pelmo::testing
