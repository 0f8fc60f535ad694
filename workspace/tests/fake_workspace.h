// A console without windows for the workspace rules: nine panels whose controls are plain
// values, with the panel windows' start-up and the option buttons' select-runs-switch
// rule. No change handling runs. Reaching a panel outside 1..8 is a fault and aborts.
#pragma once

#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bus_mode_switch.h"
#include "transaction_types.h"
#include "workspace_windows.h"

namespace velmora::workspace::testing {

class FakePanel final : public PanelControls {
  public:
    FakePanel(int n, BusMode mode) : n_(n) {
        for (std::string_view t : kBasicTypes) list.emplace_back(t);
        texts[PanelField::CmdProtocol] = "Read Word";
        texts[PanelField::TranslationMode] = "Select Format";
        texts[PanelField::Xtext] = "-13";
        texts[PanelField::Xlabel] = "X=";
        texts[PanelField::PageNumber] = "0";
        const PanelStartup& s = panel_startup(mode);
        texts[PanelField::txt_Device_Addr] = std::string(s.addr);
        texts[PanelField::txt_Device_Cmd] = std::string(s.cmd);
    }

    int number() const override { return n_; }
    std::string text(PanelField f) const override {
        auto it = texts.find(f);
        return it == texts.end() ? std::string() : it->second;
    }
    void set_text(PanelField f, const std::string& t) override { texts[f] = t; }
    void set_text_only(PanelField f, const std::string& t) override { texts[f] = t; }
    void set_visible(PanelField f, bool shown) override { visible[f] = shown; }
    bool ticked(PanelField f) const override { return ticks.count(f) && ticks.at(f); }
    void set_ticked(PanelField f, bool on) override { ticks[f] = on; }
    int CmdProtocol_ListCount() const override { return static_cast<int>(list.size()); }
    void CmdProtocol_AddItem(std::string_view item) override { list.emplace_back(item); }
    void CmdProtocol_RemoveItem(int index) override {
        if (index < 0 || index >= static_cast<int>(list.size())) std::abort();
        list.erase(list.begin() + index);
    }
    void CmdProtocol_Click() override { ++clicks; }

    std::map<PanelField, std::string> texts;
    std::map<PanelField, bool> visible;
    std::map<PanelField, bool> ticks;
    std::vector<std::string> list;
    int clicks = 0;

  private:
    const int n_;
};

class FakeWorkspace final : public WorkspaceWindows {
  public:
    FakeWorkspace() : main_(0, BusMode::SBS) {}

    BusMode bus_mode() const override { return mode; }
    void select_bus_mode(BusMode m) override {
        if (m == mode) return;
        mode = m;
        run_bus_mode_switch(*this, m);
    }
    PanelControls& main_panel() override { return main_; }
    PanelControls& panel(int k) override {
        auto& slot = windows_.at(checked(k));
        if (!slot) slot = std::make_unique<FakePanel>(k, mode);
        return *slot;
    }
    void show_panel(int k) override {
        panel(k);
        shown.at(checked(k)) = true;
    }
    void unload_panel(int k) override {
        windows_.at(checked(k)).reset();
        shown.at(checked(k)) = false;
    }
    void enable_SendBlock() override { send_block_enabled = true; }
    FrameSize frame_size(int) override { return {200, 250}; }
    void set_left(int window, int pixels) override { places.at(checked(window, 0)).first = pixels; }
    void set_top(int window, int pixels) override { places.at(checked(window, 0)).second = pixels; }

    FakePanel& fake(int k) { return k == 0 ? main_ : static_cast<FakePanel&>(panel(k)); }

    BusMode mode = BusMode::SBS;
    std::array<bool, kPanelWindows + 1> shown{};
    std::array<std::pair<int, int>, kPanelWindows + 1> places{};
    bool send_block_enabled = false;

  private:
    static size_t checked(int k, int lowest = 1) {
        if (k < lowest || k > kPanelWindows) std::abort();
        return static_cast<size_t>(k);
    }

    FakePanel main_;
    std::array<std::unique_ptr<FakePanel>, kPanelWindows + 1> windows_;
};

}  // namespace velmora::workspace::testing
