// Test double of the console controls: records what the link layer did to them.
#pragma once

#include <string>
#include <vector>

#include "shared_state.h"

namespace velmora::testing {

class RecordingConsole : public ConsoleControls {
  public:
    std::vector<std::string> sn_captions;  // every caption given to SNlabel, in order
    int page_controls_hidden = 0;
    std::string block_data;  // what txt_Block_Data holds
    int block_data_reads = 0;
    int repeat_all_stops = 0;
    std::vector<int> unticked;  // panel numbers whose Nonstop was unticked, in order

    void set_SNlabel(const std::string& caption) override { sn_captions.push_back(caption); }
    void hide_page_number_controls() override { ++page_controls_hidden; }
    std::string txt_Block_Data() override {
        ++block_data_reads;
        return block_data;
    }
    void stop_repeat_all() override { ++repeat_all_stops; }
    void untick_nonstop(int n) override { unticked.push_back(n); }
};

// Installs a RecordingConsole for the lifetime of the object.
class ScopedConsole {
  public:
    ScopedConsole() { install_console_controls(&console); }
    ~ScopedConsole() { install_console_controls(nullptr); }
    ScopedConsole(const ScopedConsole&) = delete;
    ScopedConsole& operator=(const ScopedConsole&) = delete;
    RecordingConsole console;
};

}  // namespace velmora::testing
