// The actions of the main window: New, Open, Edit, Save, Save As, the device operations,
// Help and About.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <functional>
#include <utility>

#include "device_operations.h"
#include "drive_word.h"
#include "files/atomic_file.h"
#include "main_form.h"
#include "template_file.h"
#include "ui/qt_services.h"
#include "ui/services.h"

namespace pelmo {
namespace {

namespace ui = platform::ui;

ui::FileDialog TemplateDialog(const std::string& dir) {
    ui::FileDialog dlg;
    dlg.filter = "EEPROM Program Templates|*.ept";
    dlg.default_ext = "ept";
    dlg.initial_dir = dir;
    return dlg;
}

}  // namespace

std::string TMainForm::templates_dir() const {
    return program_dir_ + "/Templates";
}

void TMainForm::enter_program_mode() {
    action("MPSave")->setEnabled(false);
    action("MPSaveAs")->setEnabled(false);
    action("MPProgram")->setEnabled(true);
    action("MPEdit")->setEnabled(true);
    action("MPErase")->setEnabled(
        EraseAllowed(qobject_cast<QComboBox*>(control("CB1"))->currentIndex()));
    set_program_title();
    DisableEditGroups();
}

void TMainForm::MPNewExecute() {
    FormValues v = form_values();
    ApplyNewDefaults(v);
    apply_values(v);
    state().SerialDisabled = false;
    apply_page(ClearedPage());
    LockBasicDetails();
    UpdateDeviceTypePage();
    clear_log();
    template_file_.clear();
    EnableEditGroups();
    for (auto name : {"MPSave", "MPSaveAs", "MPEdit", "MPProgram", "MPErase"}) {
        action(name)->setEnabled(false);
    }
    set_edit_title();
}

void TMainForm::MPOpenExecute() {
    const auto file = ui::services().open_file(TemplateDialog(templates_dir()));
    if (!file) return;
    const auto doc = ReadIniFile(*file);
    if (!doc) {
        log_about_file("ERROR : Could not read the template file ", *file,
                       platform::files::read_failure(*file, kIniReadLimit));
        return;
    }
    const FormValues v = ReadTemplate(*doc, form_values());
    // Refused as Save refuses it: a key the file lacks reads as 0 or empty, and Program
    // would write that into every chip. The window keeps what it showed. Strings too long
    // do not refuse it: a template saved before they were counted as Program counts them
    // opens, so that they can be shortened, and says why it programs nothing until then.
    const auto errors = ValidateTemplate(v, StringCheck::Leave);
    if (!errors.empty()) {
        log_about_file("ERROR : Template not opened: ", *file);
        for (const auto& line : errors) add_log_line(line);
        return;
    }
    template_file_ = *file;
    // Control by control in the order of the file, each running its handler; the log
    // stays as it was. The strings are checked once the kind they are for is shown.
    write_from_code([&] {
        apply_template(v);
        state().SerialDisabled = v.CheckBox8;
        UpdateDeviceTypePage();
        strings_written_ = !TemplateStringsFit(v);
    });
    enter_program_mode();
}

void TMainForm::apply_template(const FormValues& v) {
    for (const auto& row : kTemplateRows) {
        if (!row.control.empty()) apply_control(row.control, v);
        if (!row.paired.empty()) apply_control(row.paired, v);
        if (row.value == TemplateValue::DualDrive || row.value == TemplateValue::QuadDrive) {
            const auto& groups =
                row.value == TemplateValue::DualDrive ? kDualDriveGroups : kQuadDriveGroups;
            for (const auto& g : groups) {
                for (auto name : {g.drive, g.slow_slew, g.schmitt}) apply_control(name, v);
            }
        }
    }
    for (const auto& b : kHsDualSides) apply_control(b.uart, v);
}

void TMainForm::MPEditExecute() {
    EnableEditGroups();
    action("MPSaveAs")->setEnabled(true);
    for (auto name : {"MPProgram", "MPErase", "MPEdit"}) action(name)->setEnabled(false);
    set_edit_title();
}

bool TMainForm::log_template_errors(const FormValues& v) {
    const auto errors = ValidateTemplate(v);
    for (const auto& line : errors) add_log_line(line);
    return errors.empty();
}

bool TMainForm::save_template(const std::string& file) {
    if (std::string why; !WriteTemplate(file, form_values(), &why)) {
        // Not saved: the window stays in edit mode, so that nobody programs chips from
        // settings that no file holds.
        log_about_file("ERROR : Could not write the template file ", file, why);
        return false;
    }
    enter_program_mode();
    clear_log();
    return true;
}

void TMainForm::MPSaveExecute() {
    if (template_file_.empty() || !log_template_errors(form_values())) return;
    save_template(template_file_);
}

void TMainForm::MPSaveAsExecute() {
    if (!log_template_errors(form_values())) return;
    auto dlg = TemplateDialog(templates_dir());
    dlg.file_name = template_file_;
    dlg.overwrite_prompt = true;
    const auto file = ui::services().save_file(dlg);
    if (!file) return;
    if (save_template(*file)) template_file_ = *file;
}

// A second operation asked for from inside the waits of a running one is refused, so
// that two operations never share the one open device. Input given meanwhile is dropped:
// a second click on Program would program the chips again, a New would clear the lines
// just logged.
void TMainForm::run_operation(const std::function<void()>& operation) {
    if (busy_) return;
    busy_ = true;
    operation();
    platform::ui::drop_held_input();
    busy_ = false;
    if (std::exchange(close_asked_, false)) close();
}

void TMainForm::MPScanExecute() {
    run_operation(ScanDevices);
}

void TMainForm::MPEraseExecute() {
    run_operation(EraseAllDevices);
}

void TMainForm::MPProgramExecute() {
    run_operation([this] {
        clear_log();
        Memo1->repaint();
        LockBasicDetails();
        UpdateDeviceTypePage();
        ProgramAllDevices();
    });
}

void TMainForm::ReadExecute() {
    run_operation(ReadAllDevices);
}

void TMainForm::ReadAndParseExecute() {
    run_operation([this] {
        LockBasicDetails();
        ReadAndParseAll();
        UpdateDeviceTypePage();
    });
}

void TMainForm::ToolButton11Click() {
    run_operation([this] {
        control("ToolButton11")->setEnabled(false);
        CycleAllDevices();
        control("ToolButton11")->setEnabled(true);
    });
}

void TMainForm::MPHelpExecute() {
    // Nothing is said when the file or a program to show it is missing.
    ui::services().shell_open(program_dir_ + "/Help/Pelmo.chm", "open");
}

void TMainForm::MPAboutExecute() {
    if (about_box_) about_box_->exec();
}

}  // namespace pelmo
