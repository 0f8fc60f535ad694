#include "settings_commands.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "bus_mode_switch.h"
#include "files/atomic_file.h"
#include "formats/number_text.h"
#include "formats/word_formats.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "panel_send.h"
#include "panel_set.h"
#include "transaction_types.h"
#include "ui/services.h"

namespace velmora::workspace {
namespace {

namespace fs = std::filesystem;

// The panel's control for each field of a record, in file order.
constexpr std::array<PanelField, formats::kRecordFields> kRecordControls{
    PanelField::SendBytePgNumber, PanelField::PageNumber,      PanelField::CmdProtocol,
    PanelField::txt_Device_Addr,  PanelField::txt_Device_Cmd,  PanelField::txt_Device_Cmdlsb,
    PanelField::txt_RW_LSByte,    PanelField::txt_RW_MSByte,   PanelField::Nonstop,
    PanelField::Linear16bit,      PanelField::TranslationMode, PanelField::Xtext,
    PanelField::Xlabel,
};
static_assert(formats::kMaxOpenPanels == kPanelWindows);
static_assert(kRecordControls[formats::kCmdProtocol] == PanelField::CmdProtocol &&
              kRecordControls[formats::kTranslationMode] == PanelField::TranslationMode &&
              kRecordControls[formats::kXlabel] == PanelField::Xlabel);

// The class the load gives an Ext type, one the send check does not test.
constexpr int16_t kExtLoadedClass = kClassNoTest;

// A settings file is a few kilobytes; reading stops at this bound so that a special or
// runaway file cannot hold the load. Anything beyond reads as a file that ended there.
constexpr size_t kMostFileBytes = size_t{16} << 20;

bool is_check_box(PanelField f) {
    return f == PanelField::SendBytePgNumber || f == PanelField::Nonstop;
}

// Files store a check box as 0 or 1. Any other number counts as ticked, a text without a
// number as unticked.
bool stored_tick(std::string_view value) {
    return formats::round_half_even(formats::leading_number(value)) != 0;
}

void load_field(WorkspaceWindows& w, PanelControls& p, PanelField f, const std::string& value) {
    if (is_check_box(f)) {
        p.set_ticked(f, stored_tick(value));
        return;
    }
    // The value box shows the stored bytes in the stored format. Converting it here would
    // redo those bytes under the format and exponent the panel still shows, which the
    // record only sets after it.
    if (f == PanelField::Linear16bit)
        p.set_text_only(f, value);
    else
        p.set_text(f, value);
    if (f == PanelField::CmdProtocol) p.CmdProtocol_Click();
    if (f == PanelField::TranslationMode && w.bus_mode() == BusMode::PMBus) {
        const bool manual = value == formats::kExpManual;
        p.set_visible(PanelField::Xtext, manual);
        p.set_visible(PanelField::Xlabel, manual);
    }
}

void load_file(WorkspaceWindows& w, const std::string& path, std::string_view missing_message,
               bool mark_ext_class) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        platform::ui::show_message(std::string(missing_message));
        return;
    }
    // A path that cannot be opened ends the load silently.
    namespace files = platform::files;
    if (auto text = files::read_whole_file(path, kMostFileBytes, files::Overlong::Cut))
        Load_Settings(w, *text, mark_ext_class);
}

}  // namespace

formats::PanelRecord Panel_Record(const PanelControls& p) {
    formats::PanelRecord r;
    for (size_t i = 0; i < r.size(); ++i) {
        const PanelField f = kRecordControls[i];
        r[i] = is_check_box(f) ? (p.ticked(f) ? "1" : "0") : p.text(f);
    }
    return r;
}

bool Save_Settings(WorkspaceWindows& w, const std::string& path) {
    std::vector<formats::PanelRecord> records{Panel_Record(w.main_panel())};
    const int open = open_panel_count();
    for (int k = 1; k <= open; ++k) records.push_back(Panel_Record(w.panel(k)));
    const std::string text = formats::settings_text(w.bus_mode(), records);
    return platform::files::write_file_atomically(path, text);
}

bool Load_Settings(WorkspaceWindows& w, std::string_view file, bool mark_ext_class) {
    const formats::SettingsRead read = formats::read_settings(file);
    SharedState& s = shared();
    if (!read.panel_count) return false;
    // The stored count becomes the panel count, each panel opened in turn. The reader
    // holds it to 0..8, so a negative count opens nothing and leaves 0.
    const int count = *read.panel_count;
    s.PanelCount = 0;
    for (int k = 1; k <= count; ++k) {
        s.PanelCount = static_cast<int16_t>(k - 1);
        mainAdd_Click(w);
    }
    if (!read.mode) return false;
    const BusMode mode = *read.mode;
    // Selecting the button runs its switch only when it was not selected; the switch is
    // run again here so that it always runs, and a second run changes nothing.
    w.select_bus_mode(mode);
    run_bus_mode_switch(w, mode);

    size_t next = 0;
    auto load_record = [&](PanelControls& p) {
        for (PanelField f : kRecordControls) {
            if (next == read.fields.size()) return false;
            load_field(w, p, f, read.fields[next++]);
        }
        if (mark_ext_class && is_ext_type(p.text(PanelField::CmdProtocol)))
            s.CmdClass[static_cast<size_t>(p.number())] = kExtLoadedClass;
        return true;
    };
    if (!load_record(w.main_panel())) return false;
    for (int k = 1; k <= kPanelWindows; ++k) {
        if (s.PanelCount < k) {
            for (int j = k; j <= kPanelWindows; ++j) w.unload_panel(j);
            break;
        }
        if (!load_record(w.panel(k))) return false;
    }
    mainRearrange_Click(w);
    return true;
}

void menuSaveassettings_Click(WorkspaceWindows& w) {
    platform::ui::FileDialog dlg;
    dlg.filter = std::string(kSaveFilter);
    const std::optional<std::string> path = platform::ui::services().save_file(dlg);
    if (!path) return;
    if (formats::settings_path_refused(*path)) {
        platform::ui::show_message(std::string(formats::kProgramFilesMessage));
        return;
    }
    // Every failure to create or write the file is reported, so that no save fails
    // unnoticed. There is no separate "File Exists" case: the file is always replaced.
    if (!Save_Settings(w, *path)) platform::ui::show_message(std::string(kCannotCreateMessage));
}

void menuopen_Click(WorkspaceWindows& w) {
    platform::ui::FileDialog dlg;
    dlg.filter = std::string(kOpenFilter);
    const std::optional<std::string> path = platform::ui::services().open_file(dlg);
    Stop_Repeat_All();  // every load stops repetition, a cancelled one too
    if (path) load_file(w, *path, kCannotFindMessage, true);
}

void Load_Default_Settings(WorkspaceWindows& w) {
    Stop_Repeat_All();
    load_file(w, App_Folder() + shared().SettingsFileName, kNoSavedSettingsMessage, false);
}

}  // namespace velmora::workspace
