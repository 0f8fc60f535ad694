#include "main_form.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolBar>
#include <array>
#include <utility>
#include <variant>

#include "device_operations.h"
#include "ui/menu_shortcuts.h"
#include "ui/qt_text.h"

namespace pelmo {
namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// One byte per character, as the chip's descriptors hold them; characters beyond
// Latin-1 become "?".
std::string Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

// The option group boxes that edit mode enables and program mode disables.
constexpr std::array<std::string_view, 21> kEditGroups = {
    "GB1",        "GB2",        "GB3",        "GB4",        "GB5",        "GB6",
    "GB8",        "GB9",        "GB10",       "GB11",       "GB12",       "GB13",
    "GB14",       "GroupBox1",  "GroupBox10", "GroupBox13", "GroupBox14", "GroupBox15",
    "GroupBox16", "GroupBox17", "GroupBox18"};

constexpr int kClientWidth = 650;
constexpr int kClientHeight = 559;

}  // namespace

void SetButtonChecked(QAbstractButton* button, bool checked) {
    if (button->isChecked() == checked) return;
    if (checked || !button->autoExclusive()) {
        button->setChecked(checked);
        return;
    }
    // An exclusive group keeps one button ticked; this one is unticked all the same.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

TMainForm::TMainForm(std::string program_dir, QWidget* parent)
    : QMainWindow(parent), program_dir_(std::move(program_dir)) {
    setObjectName("MainForm");
    setFont(QFont("Arial", 8));
    BuildControls();
    BuildActions();
    BuildMenusAndToolBar();
    ConnectEditHandlers();
    platform::ui::claim_menu_shortcuts(this);
    // The client area (tool bar and panel) is 650 x 559; the menu bar stands above it.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    install_window(this);

    // FormCreate
    clear_log();
    setWindowTitle(QString("%1 V %2").arg(kApplicationTitle, kVersionText));
    state().OnlyBlank = qobject_cast<QAbstractButton*>(control("CheckBox6"))->isChecked();
    // FormShow
    qobject_cast<QComboBox*>(control("CB1"))->setCurrentIndex(0);
    qobject_cast<QComboBox*>(control("CB2"))->setCurrentIndex(0);
    qobject_cast<QComboBox*>(control("CB3"))->setCurrentIndex(1);
    apply_page(ClearedPage());
}

TMainForm::~TMainForm() {
    install_window(nullptr);
}

QWidget* TMainForm::control(std::string_view name) const {
    return controls_.value(Latin1(name));
}

QAction* TMainForm::action(std::string_view name) const {
    return actions_.value(Latin1(name));
}

void TMainForm::set_enabled(std::initializer_list<std::string_view> names, bool enabled) {
    for (auto name : names) control(name)->setEnabled(enabled);
}

void TMainForm::set_visible(std::initializer_list<std::string_view> names, bool visible) {
    for (auto name : names) control(name)->setVisible(visible);
}

// Enabled by itself: a box inside a disabled group box still counts as enabled.
bool TMainForm::own_enabled(std::string_view name) const {
    return !control(name)->testAttribute(Qt::WA_ForceDisabled);
}

FormValues TMainForm::form_values() const {
    FormValues v;
    for (const auto& b : kFormBindings) {
        QWidget* w = control(b.control);
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(v.*member)>;
                if constexpr (std::is_same_v<T, int>) {
                    v.*member = qobject_cast<QComboBox*>(w)->currentIndex();
                } else if constexpr (std::is_same_v<T, bool>) {
                    v.*member = qobject_cast<QAbstractButton*>(w)->isChecked();
                } else {
                    v.*member = Bytes(qobject_cast<QLineEdit*>(w)->text());
                }
            },
            b.member);
    }
    return v;
}

// Writing a value runs the control's handler when the value changes, as an edit would.
void TMainForm::apply_control(std::string_view name, const FormValues& v) {
    const FormBinding* b = FindBinding(name);
    QWidget* w = control(name);
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(v.*member)>;
            if constexpr (std::is_same_v<T, int>) {
                auto* list = qobject_cast<QComboBox*>(w);
                const int entry = v.*member;
                list->setCurrentIndex(entry >= 0 && entry < list->count() ? entry : -1);
            } else if constexpr (std::is_same_v<T, bool>) {
                SetButtonChecked(qobject_cast<QAbstractButton*>(w), v.*member);
            } else {
                qobject_cast<QLineEdit*>(w)->setText(Latin1(v.*member));
            }
        },
        b->member);
}

void TMainForm::apply_values(const FormValues& v) {
    write_from_code([&] {
        for (const auto& b : kFormBindings) apply_control(b.control, v);
    });
}

void TMainForm::write_from_code(const std::function<void()>& writes) {
    ++code_writes_;
    writes();
    if (--code_writes_ == 0 && std::exchange(strings_written_, false)) StringLengthsFit();
}

void TMainForm::clear_log() {
    Memo1->clear();
}

void TMainForm::add_log_line(const std::string& line) {
    add_log_text(Latin1(line));
}

void TMainForm::add_log_text(const QString& line) {
    Memo1->appendPlainText(line);
    Memo1->repaint();
}

void TMainForm::log_about_file(const std::string& text, const std::string& file,
                               const std::string& reason) {
    QString line = Latin1(text) + platform::ui::qs(file);
    if (!reason.empty()) line += " (" + platform::ui::qs(reason) + ")";
    add_log_text(line);
}

StringFields TMainForm::string_fields() {
    const FormValues v = form_values();
    return {v.Edit10, v.Edit5, v.Edit11, v.Edit6, v.CheckBox5};
}

bool TMainForm::ignore_upper_type() {
    return qobject_cast<QAbstractButton*>(control("CB14"))->isChecked();
}

void TMainForm::FormToProgramData(int counter) {
    const OwnEnabled enabled{own_enabled("CheckBox1"), own_enabled("CheckBox3"),
                             own_enabled("CheckBox8"), own_enabled("CheckBox11")};
    pelmo::FormToProgramData(form_values(), enabled, counter);
}

void TMainForm::ProgramDataToForm() {
    action("MPSaveAs")->setEnabled(true);
    action("MPProgram")->setEnabled(false);
    FormValues v = form_values();
    const bool suspend_visible = pelmo::ProgramDataToForm(v);
    apply_values(v);
    if (suspend_visible) control("CheckBox27")->show();
}

void TMainForm::ShowBasicDetails(const BasicDetails& d) {
    set_enabled({"CB1", "CB2", "Edit1", "Edit2"}, true);
    qobject_cast<QComboBox*>(control("CB1"))->setCurrentIndex(d.device_type_entry);
    qobject_cast<QComboBox*>(control("CB2"))->setCurrentIndex(d.vid_pid_entry);
    if (d.set_id_fields) {
        qobject_cast<QLineEdit*>(control("Edit1"))->setText(Latin1(d.vendor_id_text));
        qobject_cast<QLineEdit*>(control("Edit2"))->setText(Latin1(d.product_id_text));
    }
    for (auto name : {"CB1", "CB2", "Edit1", "Edit2"}) control(name)->repaint();
    set_enabled({"CB1", "CB2", "Edit1", "Edit2"}, false);
}

void TMainForm::LockBasicDetails() {
    set_enabled(
        {"Label1", "CB1", "Label2", "CB2", "Label3", "Edit1", "Label4", "Edit2", "CheckBox6"},
        false);
}

void TMainForm::UpdateDeviceTypePage() {
    apply_page(DeviceTypePage(qobject_cast<QComboBox*>(control("CB1"))->currentIndex(),
                              qobject_cast<QComboBox*>(control("CB2"))->currentIndex(),
                              qobject_cast<QAbstractButton*>(control("CheckBox5"))->isChecked()));
}

void TMainForm::apply_page(const PageState& p) {
    state().Kinds = p.kinds;
    set_enabled({"Label1", "CB1"}, p.device_type_enabled);
    set_enabled({"CheckBox6"}, p.only_blank_enabled);
    set_enabled({"Label2", "CB2"}, p.vid_pid_type_enabled);
    set_enabled({"Label3", "Edit1"}, p.vendor_id_enabled);
    set_enabled({"Label4", "Edit2"}, p.product_id_enabled);
    set_enabled({"RB1", "RB2", "Label5", "Edit9", "Label6"}, p.power_enabled);
    set_enabled({"CheckBox5"}, p.fixed_serial_check_enabled);
    set_enabled({"Label7", "Edit5"}, p.prefix_enabled);
    set_enabled({"Label8", "Edit6"}, p.fixed_serial_enabled);
    set_enabled({"CheckBox1"}, p.wake_up_enabled);
    set_enabled({"CheckBox3"}, p.plug_and_play_enabled);
    set_enabled({"Label9", "Edit10", "Label10", "Edit11"}, p.strings_enabled);
    set_enabled({"Label11", "CB3"}, p.usb_version_enabled);
    set_enabled({"CheckBox8"}, p.serial_disable_enabled);
    set_enabled({"CheckBox11"}, p.pull_down_enabled);
    set_visible({"GB10"}, p.dual_visible);
    set_visible({"RB5", "RB11"}, p.cpu_fifo_visible);
    set_visible({"GB11"}, p.fourth_gen_visible);
    set_visible({"GB12"}, p.invert_visible);
    set_enabled({"CBX1", "CBX2", "CBX3", "CBX4", "CBX5"}, p.c_pins_enabled);
    auto* pages = qobject_cast<QTabWidget*>(control("PageControl1"));
    if (p.fourth_gen_caption) pages->setTabText(1, Latin1(*p.fourth_gen_caption));
    set_visible({"GroupBox1", "GroupBox10", "GroupBox13", "CheckBox27"}, p.hs_dual_visible);
    set_visible({"GroupBox14", "GroupBox15", "GroupBox16", "GroupBox17", "GroupBox18"},
                p.hs_quad_visible);
    pages->setCurrentIndex(p.tab);
    if (p.vendor_id_text) {
        qobject_cast<QLineEdit*>(control("Edit1"))->setText(Latin1(*p.vendor_id_text));
    }
    if (p.product_id_text) {
        qobject_cast<QLineEdit*>(control("Edit2"))->setText(Latin1(*p.product_id_text));
    }
    if (p.untick_only_blank)
        SetButtonChecked(qobject_cast<QAbstractButton*>(control("CheckBox6")), false);
    if (p.untick_plug_and_play)
        SetButtonChecked(qobject_cast<QAbstractButton*>(control("CheckBox3")), false);
}

void TMainForm::EnableEditGroups() {
    set_edit_groups_enabled(true);
}

void TMainForm::DisableEditGroups() {
    set_edit_groups_enabled(false);
}

void TMainForm::set_edit_groups_enabled(bool enabled) {
    for (auto name : kEditGroups) control(name)->setEnabled(enabled);
}

void TMainForm::set_edit_title() {
    setWindowTitle(QString("%1 ( Edit Mode )").arg(kApplicationTitle));
}

void TMainForm::set_program_title() {
    setWindowTitle(QString("%1 ( Program Mode )").arg(kApplicationTitle));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Not from inside an operation's wait: the window closes when the operation is over.
    if (busy_) {
        close_asked_ = true;
        event->ignore();
        return;
    }
    CloseOpenDevice();
    event->accept();
}

}  // namespace pelmo
