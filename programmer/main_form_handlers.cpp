// The change and click handlers of the setting controls. Each follows one rule: with a
// template file known, Save becomes available; Program does not until the template is
// saved again; the title shows edit mode. Some add a step of their own.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <functional>

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

void TMainForm::Edit9Change() {
    EditRule(true);
    auto* edit = qobject_cast<QLineEdit*>(control("Edit9"));
    if (auto replacement = MaxPowerReplacement(edit->text().toLatin1().toStdString())) {
        ui::show_message("Max current exceeded - setting to 500mA", ui::Buttons::Ok,
                         ui::Icon::Information);
        edit->setText(QString::fromStdString(*replacement));
    }
}

void TMainForm::ConnectEditHandlers() {
    auto enable_save_as = [this] { action("MPSaveAs")->setEnabled(true); };
    auto set_power = [this](const char* mA) {
        qobject_cast<QLineEdit*>(control("Edit9"))->setText(mA);
    };
    // Handlers with steps of their own; every other control runs EditRule(true) alone.
    const std::map<std::string_view, std::function<void()>> own = {
        {"CB1",
         [=, this] {
             EditRule(false);
             UpdateDeviceTypePage();
             enable_save_as();
         }},
        {"CB2",
         [=, this] {
             EditRule(false);
             UpdateDeviceTypePage();
             enable_save_as();
         }},
        {"CheckBox5",
         [this] {
             EditRule(false);
             UpdateDeviceTypePage();
         }},
        {"RB1",
         [=, this] {
             set_power("100");
             EditRule(false);
             enable_save_as();
         }},
        {"RB2",
         [=, this] {
             set_power("0");
             EditRule(false);
             enable_save_as();
         }},
        {"Edit1", [this] { Edit1Change(); }},
        {"Edit2",
         [=, this] {
             EditRule(true);
             enable_save_as();
             action("MPErase")->setEnabled(false);
         }},
        {"Edit9", [this] { Edit9Change(); }},
        {"Edit5",
         [this] {
             CheckStringLengths();
             EditRule(true);
         }},
        {"Edit6",
         [this] {
             CheckStringLengths();
             EditRule(true);
         }},
        {"Edit10",
         [this] {
             CheckStringLengths();
             EditRule(true);
         }},
        {"Edit11",
         [this] {
             CheckStringLengths();
             EditRule(true);
         }},
        {"CheckBox6",
         [this] {
             state().OnlyBlank = qobject_cast<QAbstractButton*>(control("CheckBox6"))->isChecked();
             if (!template_file_.empty()) action("MPSave")->setEnabled(true);
         }},
    };
    for (const auto& b : kFormBindings) {
        const auto it = own.find(b.control);
        std::function<void()> run = it != own.end() ? it->second : [this] { EditRule(true); };
        QWidget* w = control(b.control);
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            // A list's handler runs when the user picks an entry, not when code sets one.
            connect(list, &QComboBox::activated, this, [run](int) { run(); });
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            connect(edit, &QLineEdit::textChanged, this, [run](const QString&) { run(); });
        } else if (auto* button = qobject_cast<QAbstractButton*>(w); button->autoExclusive()) {
            // An option button's click runs when it becomes the selected one.
            connect(button, &QAbstractButton::toggled, this, [run](bool on) {
                if (on) run();
            });
        } else {
            connect(button, &QAbstractButton::toggled, this, [run](bool) { run(); });
        }
    }
}

}  // namespace pelmo
