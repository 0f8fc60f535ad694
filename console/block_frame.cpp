#include "block_frame.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "qt_controls.h"

namespace velmora {
namespace {

QLineEdit* box(QWidget* p, const char* name, const char* text) {
    return make_box(p, name, text, 48);
}

QPlainTextEdit* data_box(QWidget* p, const char* name) {
    auto* b = named(new QPlainTextEdit(p), name);
    b->setFixedSize(64, 110);
    return b;
}

}  // namespace

BlockCommandFrame::BlockCommandFrame(QWidget* parent)
    : QGroupBox(QStringLiteral("Block Command"), parent),
      btn_Block_Read_Cmd(make_option(this, "btn_Block_Read_Cmd", "Block Read")),
      btn_Block_Write_Cmd(make_option(this, "btn_Block_Write_Cmd", "Block Write")),
      BlockWRPrc(make_option(this, "BlockWRPrc", "Block W/R Proc.")),
      Label1(make_label(this, "Label1", "Addr (Hex)")),
      txt_Block_Cmd_Addr(box(this, "txt_Block_Cmd_Addr", "16")),
      Label3(make_label(this, "Label3", "Cmd (Hex)")),
      txt_Block_Device_Cmd(box(this, "txt_Block_Device_Cmd", "20")),
      Label9(make_label(this, "Label9", "Read")),
      Label4(make_label(this, "Label4", "Blk Count")),
      txt_Block_Count(box(this, "txt_Block_Count", "4")),
      Label5(make_label(this, "Label5", "Data (Hex)")),
      txt_Block_Data(data_box(this, "txt_Block_Data")),
      Label10(make_label(this, "Label10", "Read")),
      Label8(make_label(this, "Label8", "Blk Count")),
      txt_Block1_Count(box(this, "txt_Block1_Count", "")),
      Label12(make_label(this, "Label12", "Data (Hex)")),
      txt_Block_Data1(data_box(this, "txt_Block_Data1")),
      Label2(
          make_label(this, "Label2",
                     "Note:  The Block Data Hex Bytes must be entered as 05, 02, etc. instead of "
                     "5, 2. Enter one Hex Byte per line, as per the default example.")),
      SendBlock(make_button(this, "SendBlock", "Send Block Cmd")) {
    setObjectName(QStringLiteral("frm_Block_Cmd"));
    set_Block_Data_Text("A1\r\n04\r\n2B\r\n33\r\n");
    Label2->setWordWrap(true);
    Label2->setMinimumWidth(420);
    Label2->setMinimumHeight(Label2->fontMetrics().lineSpacing() * 3);
    apply_look(txt_Block1_Count, Look::Read);
    apply_look(txt_Block_Data1, Look::Read);
    btn_Block_Read_Cmd->setChecked(true);
    apply(BlockOption::Read);

    auto* g = new QGridLayout(this);
    g->addWidget(btn_Block_Read_Cmd, 0, 0, 1, 2);
    g->addWidget(btn_Block_Write_Cmd, 1, 0, 1, 2);
    g->addWidget(BlockWRPrc, 2, 0, 1, 2);
    g->addWidget(Label1, 3, 0);
    g->addWidget(txt_Block_Cmd_Addr, 3, 1);
    g->addWidget(Label3, 4, 0);
    g->addWidget(txt_Block_Device_Cmd, 4, 1);
    g->addWidget(SendBlock, 5, 0, 1, 2);
    g->addWidget(Label9, 0, 2, 1, 2, Qt::AlignHCenter);
    g->addWidget(Label4, 1, 2);
    g->addWidget(txt_Block_Count, 1, 3);
    g->addWidget(Label5, 2, 2);
    g->addWidget(txt_Block_Data, 2, 3, 4, 1);
    g->addWidget(Label10, 0, 4, 1, 2, Qt::AlignHCenter);
    g->addWidget(Label8, 1, 4);
    g->addWidget(txt_Block1_Count, 1, 5);
    g->addWidget(Label12, 2, 4);
    g->addWidget(txt_Block_Data1, 2, 5, 4, 1);
    g->addWidget(Label2, 6, 0, 1, 6);
    g->setColumnStretch(6, 1);

    // An option button's click handling runs when it becomes selected.
    connect(btn_Block_Read_Cmd, &QRadioButton::toggled, this, [this](bool on) {
        if (on) btn_Block_Read_Cmd_Click();
    });
    connect(btn_Block_Write_Cmd, &QRadioButton::toggled, this, [this](bool on) {
        if (on) btn_Block_Write_Cmd_Click();
    });
    connect(BlockWRPrc, &QRadioButton::toggled, this, [this](bool on) {
        if (on) BlockWRPrc_Click();
    });
    connect(SendBlock, &QPushButton::clicked, this, [this] { SendBlock_Click(); });
}

std::string BlockCommandFrame::Block_Data_Text() const {
    return crlf_text(txt_Block_Data);
}
void BlockCommandFrame::set_Block_Data_Text(const std::string& t) {
    set_crlf_text(txt_Block_Data, t);
}
std::string BlockCommandFrame::Block_Data1_Text() const {
    return crlf_text(txt_Block_Data1);
}
void BlockCommandFrame::set_Block_Data1_Text(const std::string& t) {
    set_crlf_text(txt_Block_Data1, t);
}

void BlockCommandFrame::apply(BlockOption option) {
    const BlockLayout& l = block_layout(option);
    Label9->setText(qs(l.label9));
    for (QWidget* w : {static_cast<QWidget*>(Label10), static_cast<QWidget*>(Label8),
                       static_cast<QWidget*>(Label12), static_cast<QWidget*>(txt_Block_Data1),
                       static_cast<QWidget*>(txt_Block1_Count)})
        w->setVisible(l.readback_shown);
    const Look look = l.read_look ? Look::Read : Look::Write;
    apply_look(txt_Block_Count, look);
    apply_look(txt_Block_Data, look);
    if (l.count_prefill) write_box(txt_Block_Count, qs(*l.count_prefill));
    if (l.data_prefill) set_Block_Data_Text(std::string(*l.data_prefill));
}

void BlockCommandFrame::SendBlock_Click() {
    velmora::SendBlock(*this);
}

std::optional<BlockOption> BlockCommandFrame::selected_option() const {
    if (btn_Block_Read_Cmd->isChecked()) return BlockOption::Read;
    if (btn_Block_Write_Cmd->isChecked()) return BlockOption::Write;
    if (BlockWRPrc->isChecked()) return BlockOption::WriteRead;
    return std::nullopt;
}

std::string BlockCommandFrame::text(BlockField field) const {
    switch (field) {
        case BlockField::txt_Block_Cmd_Addr:
            return ss(txt_Block_Cmd_Addr->text());
        case BlockField::txt_Block_Device_Cmd:
            return ss(txt_Block_Device_Cmd->text());
        case BlockField::txt_Block_Count:
            return ss(txt_Block_Count->text());
    }
    return {};
}

}  // namespace velmora
