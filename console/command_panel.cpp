#include "command_panel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "command_names.h"
#include "console_hooks.h"
#include "formats/word_formats.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "panel_windows.h"
#include "qt_controls.h"

namespace velmora {
namespace {

QComboBox* combo(QWidget* parent, const char* name, const char* text) {
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);  // typing a text never adds an item
    c->setCompleter(nullptr);                 // nor completes it into an item
    c->setEditText(QString::fromLatin1(text));
    return c;
}

// A list box's text shows whole whatever its list holds (an empty list gives it no width):
// at least as wide as the widest text it can hold.
template <typename... Lists>
void fit_texts(QComboBox* box, const Lists&... lists) {
    const QFontMetrics fm = box->fontMetrics();
    int widest = 0;
    auto widen = [&](const auto& list) {
        for (std::string_view t : list) widest = std::max(widest, fm.horizontalAdvance(qs(t)));
    };
    (widen(lists), ...);
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.editable = box->isEditable();
    box->setMinimumWidth(
        box->style()
            ->sizeFromContents(QStyle::CT_ComboBox, &opt, QSize(widest, fm.height()), box)
            .width());
}

void set_vis(QWidget* w, Vis v) {
    if (v != Vis::Keep) w->setVisible(v == Vis::Shown);
}

}  // namespace

CommandPanel::CommandPanel(int n, QWidget* parent)
    : QWidget(parent),
      CmdProtocol(combo(this, "CmdProtocol", "Read Word")),
      label_Device_Addr(make_label(this, "label_Device_Addr", "Device Address")),
      txt_Device_Addr(make_box(this, "txt_Device_Addr", "16", 48)),
      label_Device_Command(make_label(this, "label_Device_Command", "Device Command")),
      txt_Device_Cmd(make_box(this, "txt_Device_Cmd", "16", 48)),
      txt_Device_Cmdlsb(make_box(this, "txt_Device_Cmdlsb", "", 48)),
      label_Hex_Values(make_label(this, "label_Hex_Values", "Hex")),
      label_RW_LSByte(make_label(this, "label_RW_LSByte", "Read/Write_LSByte")),
      txt_RW_LSByte(make_box(this, "txt_RW_LSByte", "", 48)),
      label_RW_MSByte(make_label(this, "label_RW_MSByte", "Read/Write MSByte")),
      txt_RW_MSByte(make_box(this, "txt_RW_MSByte", "", 48)),
      Linear16bit(make_box(this, "Linear16bit", "", 110)),
      TranslationMode(combo(this, "TranslationMode", "Select Format")),
      Xlabel(make_label(this, "Xlabel", "X=")),
      Xtext(make_box(this, "Xtext", "-13", 40)),
      SendBytePgNumber(
          named(new QCheckBox(QStringLiteral("Send Page # First"), this), "SendBytePgNumber")),
      PageNumber(make_box(this, "PageNumber", "0", 32)),
      Nonstop(named(
          new QCheckBox(n == 0 ? QStringLiteral("Repeat /0.5s") : QStringLiteral("Rpt."), this),
          "Nonstop")),
      Pmbus(make_label(this, "Pmbus", "SBS Command")),
      PMBuscmd(make_label(this, "PMBuscmd", "BATTERY STATUS")),
      SendButton(new QPushButton(QStringLiteral("Send"), this)),
      n_(n) {
    SendButton->setObjectName(n == 0 ? QStringLiteral("cmd_Send")
                                     : QStringLiteral("Send%1").arg(n));
    for (QLineEdit* read_box : {txt_RW_LSByte, txt_RW_MSByte, Linear16bit})
        apply_look(read_box, Look::Read);
    // Hidden in the design. The format list is not: the main panel shows it until a mode
    // switch hides it, and a panel window's start-up sets it by the bus mode.
    for (QWidget* hidden : {static_cast<QWidget*>(txt_Device_Cmdlsb), static_cast<QWidget*>(Xlabel),
                            static_cast<QWidget*>(Xtext)})
        hidden->hide();
    fit_texts(CmdProtocol, kBasicTypes, kExtTypes);
    fit_texts(TranslationMode, formats::kFormatItems);
    build_layout();
    connect_handlers();
    if (n == 0) {
        setObjectName(QStringLiteral("MainPanel"));
        return;
    }
    setObjectName(QStringLiteral("Control%1").arg(n));
    setWindowTitle(objectName());
    setWindowFlag(Qt::Window);
    Form_Load();
}

CommandPanel::~CommandPanel() = default;

void CommandPanel::build_layout() {
    auto* g = new QGridLayout(this);
    g->addWidget(CmdProtocol, 0, 0, 1, 2);
    g->addWidget(Nonstop, 0, 2, 1, 2);
    g->addWidget(label_Device_Addr, 1, 0);
    g->addWidget(txt_Device_Addr, 1, 1);
    g->addWidget(label_Device_Command, 2, 0);
    g->addWidget(txt_Device_Cmd, 2, 1);
    g->addWidget(txt_Device_Cmdlsb, 2, 2);
    g->addWidget(label_Hex_Values, 3, 1);
    g->addWidget(label_RW_LSByte, 4, 0);
    g->addWidget(txt_RW_LSByte, 4, 1);
    g->addWidget(label_RW_MSByte, 5, 0);
    g->addWidget(txt_RW_MSByte, 5, 1);
    g->addWidget(Linear16bit, 6, 0);
    g->addWidget(TranslationMode, 6, 1, 1, 2);
    g->addWidget(Xlabel, 7, 1, Qt::AlignRight);
    g->addWidget(Xtext, 7, 2);
    g->addWidget(SendBytePgNumber, 8, 0);
    g->addWidget(PageNumber, 8, 1);
    g->addWidget(Pmbus, 9, 0);
    g->addWidget(PMBuscmd, 9, 1, 1, 3);
    g->addWidget(SendButton, 10, 0, 1, 4);
    g->setColumnStretch(3, 1);
}

void CommandPanel::connect_handlers() {
    // Writing a box from code runs its change handling as typing does (textChanged); a
    // list box's click handling runs only when the user changes its item.
    on_list_pick(CmdProtocol, [this] { CmdProtocol_Click(); });
    // A repeating panel never turns into another request: whatever changes the type text
    // (typing, paste, undo, a write from code) ends its repetition. Typing re-lays nothing.
    connect(Nonstop, &QCheckBox::toggled, this, [this](bool on) {
        if (on) repeat_type_ = CmdProtocol->currentText();
    });
    connect(CmdProtocol, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (Nonstop->isChecked() && text != repeat_type_) Nonstop->setChecked(false);
    });
    connect(txt_Device_Cmd, &QLineEdit::textChanged, this, [this] { txt_Device_Cmd_Change(); });
    connect(txt_Device_Addr, &QLineEdit::textChanged, this, [this] { txt_Device_Addr_Change(); });
    connect(Linear16bit, &QLineEdit::textChanged, this, [this] { Linear16bit_Change(); });
    on_list_pick(TranslationMode, [this] { TranslationMode_Click(); });
    connect(Xtext, &QLineEdit::textChanged, this, [this] { Xtext_Change(); });
    connect(SendButton, &QPushButton::clicked, this, [this] { Send_Click(); });
}

void CommandPanel::Form_Load() {
    Fill_Lists();
    const PanelStartup& s = panel_startup(current_bus_mode());
    if (s.pmbus_heading) Pmbus->setText(qs(*s.pmbus_heading));
    for (QWidget* w : {static_cast<QWidget*>(Pmbus), static_cast<QWidget*>(PMBuscmd),
                       static_cast<QWidget*>(Linear16bit)})
        w->setVisible(s.names_shown);
    // The design texts may equal these: the lookup must run all the same.
    write_box(txt_Device_Addr, qs(s.addr));
    write_box(txt_Device_Cmd, qs(s.cmd));
    SendBytePgNumber->setVisible(s.page_shown);
    PageNumber->setVisible(s.page_shown);
    TranslationMode->setVisible(s.format_shown);
}

std::string CommandPanel::CmdProtocol_Text() const {
    return ss(CmdProtocol->currentText());
}

void CommandPanel::set_CmdProtocol_Text(const std::string& text) {
    write_list_text(CmdProtocol, qs(text));
}

int CommandPanel::CmdProtocol_ListCount() const {
    return CmdProtocol->count();
}

void CommandPanel::CmdProtocol_AddItem(const std::string& text) {
    const QString keep = CmdProtocol->currentText();
    CmdProtocol->addItem(qs(text));
    CmdProtocol->setEditText(keep);
}

void CommandPanel::CmdProtocol_RemoveItem(int index) {
    const QString keep = CmdProtocol->currentText();
    CmdProtocol->removeItem(index);
    CmdProtocol->setEditText(keep);
}

void CommandPanel::Fill_Lists() {
    for (std::string_view t : kBasicTypes) CmdProtocol_AddItem(std::string(t));
    const QString format = TranslationMode->currentText();
    const int count =
        n_ == 0 ? formats::kMainFormatCount : static_cast<int>(formats::kFormatItems.size());
    for (int i = 0; i < count; ++i)
        TranslationMode->addItem(qs(formats::kFormatItems[static_cast<size_t>(i)]));
    TranslationMode->setEditText(format);
}

void CommandPanel::CmdProtocol_Click() {
    const std::string type = CmdProtocol_Text();
    if (is_ext_type(type)) {
        txt_Device_Cmdlsb->show();
        PMBuscmd->setText(qs(kExtendedCommands));
        shared().CmdClass[static_cast<size_t>(n_)] = kClassExtPicked;
    } else {
        txt_Device_Cmdlsb->hide();
    }
    if (Nonstop->isChecked()) Nonstop->setChecked(false);  // a new type ends repetition
    const TransactionType* t = find_transaction_type(type);
    if (!t) return;
    const PanelLayout& l = t->layout;
    set_vis(txt_Device_Cmdlsb, l.ext);
    set_vis(txt_Device_Cmd, l.cmd);
    set_vis(label_Device_Command, l.cmd);
    set_vis(txt_RW_LSByte, l.low.vis);
    set_vis(label_RW_LSByte, l.low.vis);
    apply_look(txt_RW_LSByte, l.low.look);
    set_vis(txt_RW_MSByte, l.high.vis);
    set_vis(label_RW_MSByte, l.high.vis);
    apply_look(txt_RW_MSByte, l.high.look);
    apply_look(Linear16bit, l.value);
    write_box(Linear16bit, QString());
}

bool CommandPanel::Repeats_Its_Own_Type() const {
    return Nonstop->isChecked() && CmdProtocol->currentText() == repeat_type_;
}

bool CommandPanel::Result_Answers() const {
    return velmora::Result_Answers(*this);
}

void CommandPanel::Send_Click() {
    Send_Panel_Request(*this, current_bus_mode());
}

void CommandPanel::Check_Cmd_Protocol() {
    velmora::Check_Cmd_Protocol(*this, current_bus_mode());
}

void CommandPanel::Send_Page_First() {
    velmora::Send_Page_First(*this);
}

void CommandPanel::Clamp_Page_Number() {
    velmora::Clamp_Page_Number(*this);
}

void CommandPanel::Send_SW_MB905_Cmd() {
    velmora::Send_SW_MB905_Cmd(n_);
}

void CommandPanel::txt_Device_Cmd_Change() {
    run_name_lookup();
}

void CommandPanel::txt_Device_Addr_Change() {
    run_name_lookup();
}

void CommandPanel::run_name_lookup() {
    NameLookup r = lookup_command_name(n_ == 0 ? TableSet::Main : TableSet::Panels,
                                       current_bus_mode(), ss(txt_Device_Addr->text()),
                                       ss(txt_Device_Cmd->text()), CmdProtocol_Text());
    if (r.caption) PMBuscmd->setText(qs(*r.caption));
    if (r.cmd_class) shared().CmdClass[static_cast<size_t>(n_)] = *r.cmd_class;
}

// Panels close only at the top end, so that every open panel is on screen: the close box
// of the highest open panel is "&Delete Control", that of a lower one is refused.
void CommandPanel::closeEvent(QCloseEvent* event) {
    if (n_ == 0) return;
    if (n_ == open_panel_count()) run_hook(console_hooks().mainDelete_Click);
    if (n_ <= open_panel_count()) {
        event->ignore();  // still counted as open: it stays
        return;
    }
    event->accept();
    Unload_Control(n_);
}

QWidget* CommandPanel::control(PanelField field) const {
    switch (field) {
        case PanelField::SendBytePgNumber:
            return SendBytePgNumber;
        case PanelField::PageNumber:
            return PageNumber;
        case PanelField::CmdProtocol:
            return CmdProtocol;
        case PanelField::txt_Device_Addr:
            return txt_Device_Addr;
        case PanelField::txt_Device_Cmd:
            return txt_Device_Cmd;
        case PanelField::txt_Device_Cmdlsb:
            return txt_Device_Cmdlsb;
        case PanelField::txt_RW_LSByte:
            return txt_RW_LSByte;
        case PanelField::txt_RW_MSByte:
            return txt_RW_MSByte;
        case PanelField::Nonstop:
            return Nonstop;
        case PanelField::Linear16bit:
            return Linear16bit;
        case PanelField::TranslationMode:
            return TranslationMode;
        case PanelField::Xtext:
            return Xtext;
        case PanelField::Xlabel:
            return Xlabel;
        case PanelField::Pmbus:
            return Pmbus;
        case PanelField::PMBuscmd:
            return PMBuscmd;
    }
    return nullptr;
}

std::string CommandPanel::text(PanelField field) const {
    QWidget* w = control(field);
    if (auto* b = qobject_cast<QLineEdit*>(w)) return ss(b->text());
    if (auto* c = qobject_cast<QComboBox*>(w)) return ss(c->currentText());
    if (auto* l = qobject_cast<QLabel*>(w)) return ss(l->text());
    return {};
}

void CommandPanel::set_text(PanelField field, const std::string& text) {
    QWidget* w = control(field);
    const QString t = qs(text);
    if (auto* b = qobject_cast<QLineEdit*>(w)) {
        write_box(b, t);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        write_list_text(c, t);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(t);
    }
}

void CommandPanel::set_text_only(PanelField field, const std::string& text) {
    const QSignalBlocker quiet(control(field));
    set_text(field, text);
}

bool CommandPanel::ticked(PanelField check_box) const {
    auto* c = qobject_cast<QCheckBox*>(control(check_box));
    return c && c->isChecked();
}

void CommandPanel::set_ticked(PanelField check_box, bool on) {
    if (auto* c = qobject_cast<QCheckBox*>(control(check_box))) c->setChecked(on);
}

bool CommandPanel::SendBytePgNumber_ticked() const {
    // A box the mode hides (Smart Battery, I2C) writes no page, even if left ticked: at
    // command 00 of another device it is a write the user cannot see.
    return SendBytePgNumber->isChecked() && !SendBytePgNumber->isHidden();
}

void CommandPanel::set_PageNumber(const std::string& text) {
    write_box(PageNumber, qs(text));
}

void CommandPanel::untick_Nonstop() {
    Nonstop->setChecked(false);
}

}  // namespace velmora
