// The change and click handlers of the setting controls. Each follows one rule
// (EditRule): with a template file known, Save becomes available; Program does not until
// the template is saved again; the title shows edit mode. Some add a step of their own.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <map>

#include "device_operations.h"
#include "main_form.h"
#include "ui/services.h"

namespace pelmo {
namespace {

namespace ui = platform::ui;

}  // namespace

void TMainForm::EditRule(bool set_title) {
    if (!template_file_.empty()) action("MPSave")->setEnabled(true);
    action("MPProgram")->setEnabled(false);
    if (set_title) set_edit_title();
}

void TMainForm::SettingChange() {
    EditRule(true);
}

void TMainForm::CB1Change() {
    EditRule(false);
    UpdateDeviceTypePage();
    action("MPSaveAs")->setEnabled(true);
}

void TMainForm::CB2Change() {
    EditRule(false);
    UpdateDeviceTypePage();
    action("MPSaveAs")->setEnabled(true);
}

void TMainForm::CheckBox5Click() {
    EditRule(false);
    UpdateDeviceTypePage();
}

void TMainForm::set_max_power(const char* mA) {
    qobject_cast<QLineEdit*>(control("Edit9"))->setText(mA);
}

void TMainForm::RB1Click() {
    set_max_power("100");
    EditRule(false);
    action("MPSaveAs")->setEnabled(true);
}

void TMainForm::RB2Click() {
    set_max_power("0");
    EditRule(false);
    action("MPSaveAs")->setEnabled(true);
}

void TMainForm::Edit1Change() {
    EditRule(true);
    action("MPSaveAs")->setEnabled(true);
    action("MPErase")->setEnabled(false);
    auto* edit = qobject_cast<QLineEdit*>(control("Edit1"));
    if (auto replacement = VendorIdReplacement(edit->text().toStdString())) {
        ui::show_message("All zeros is an invalid VID", ui::Buttons::Ok, ui::Icon::Information);
        edit->setText(QString::fromStdString(*replacement));
    }
}

void TMainForm::Edit2Change() {
    EditRule(true);
    action("MPSaveAs")->setEnabled(true);
    action("MPErase")->setEnabled(false);
}

void TMainForm::Edit9Change() {
    EditRule(true);
    auto* edit = qobject_cast<QLineEdit*>(control("Edit9"));
    if (auto replacement = MaxPowerReplacement(edit->text().toLatin1().toStdString())) {
        ui::show_message("Max current exceeded - setting to 500mA", ui::Buttons::Ok,
                         ui::Icon::Information);
        edit->setText(QString::fromStdString(*replacement));
    }
}

// Edit5Change, Edit6Change, Edit10Change and Edit11Change: the descriptor strings.
void TMainForm::StringFieldChange() {
    if (code_writes_ > 0) {
        strings_written_ = true;  // checked once the writes are done
    } else {
        CheckStringLengths();
    }
    EditRule(true);
}

void TMainForm::CheckBox6Click() {
    state().OnlyBlank = qobject_cast<QAbstractButton*>(control("CheckBox6"))->isChecked();
    if (!template_file_.empty()) action("MPSave")->setEnabled(true);
}

void TMainForm::ConnectEditHandlers() {
    // Handlers with steps of their own; every other setting runs SettingChange.
    const std::map<std::string_view, void (TMainForm::*)()> own = {
        {"CB1", &TMainForm::CB1Change},
        {"CB2", &TMainForm::CB2Change},
        {"CheckBox5", &TMainForm::CheckBox5Click},
        {"RB1", &TMainForm::RB1Click},
        {"RB2", &TMainForm::RB2Click},
        {"Edit1", &TMainForm::Edit1Change},
        {"Edit2", &TMainForm::Edit2Change},
        {"Edit9", &TMainForm::Edit9Change},
        {"Edit5", &TMainForm::StringFieldChange},
        {"Edit6", &TMainForm::StringFieldChange},
        {"Edit10", &TMainForm::StringFieldChange},
        {"Edit11", &TMainForm::StringFieldChange},
        {"CheckBox6", &TMainForm::CheckBox6Click},
    };
    for (const auto& b : kFormBindings) {
        const auto it = own.find(b.control);
        const auto handler = it != own.end() ? it->second : &TMainForm::SettingChange;
        auto run = [this, handler] { (this->*handler)(); };
        QWidget* w = control(b.control);
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            // A list's handler runs when the user picks an entry, not when code sets one.
            connect(list, &QComboBox::activated, this, run);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            connect(edit, &QLineEdit::textChanged, this, run);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w); button->autoExclusive()) {
            // An option button's click runs when it becomes the selected one.
            connect(button, &QAbstractButton::toggled, this, [run](bool on) {
                if (on) run();
            });
        } else {
            connect(button, &QAbstractButton::toggled, this, run);
        }
    }
}

}  // namespace pelmo
