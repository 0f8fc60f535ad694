// The main window's block command frame `frm_Block_Cmd`: block read, block write and the
// block write-then-read process call, with the data box that the request layer reads.
#pragma once

#include <QGroupBox>
#include <string>

#include "panel_send.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace velmora {

class BlockCommandFrame : public QGroupBox, private BlockFields {
    Q_OBJECT
  public:
    explicit BlockCommandFrame(QWidget* parent);

    QRadioButton* const btn_Block_Read_Cmd;
    QRadioButton* const btn_Block_Write_Cmd;
    QRadioButton* const BlockWRPrc;
    QLabel* const Label1;
    QLineEdit* const txt_Block_Cmd_Addr;
    QLabel* const Label3;
    QLineEdit* const txt_Block_Device_Cmd;
    QLabel* const Label9;
    QLabel* const Label4;
    QLineEdit* const txt_Block_Count;
    QLabel* const Label5;
    QPlainTextEdit* const txt_Block_Data;
    QLabel* const Label10;
    QLabel* const Label8;
    QLineEdit* const txt_Block1_Count;
    QLabel* const Label12;
    QPlainTextEdit* const txt_Block_Data1;
    QLabel* const Label2;
    QPushButton* const SendBlock;

    // The data boxes' texts with CR LF line ends.
    std::string Block_Data_Text() const;
    void set_Block_Data_Text(const std::string& text);
    std::string Block_Data1_Text() const;
    void set_Block_Data1_Text(const std::string& text);

    void btn_Block_Read_Cmd_Click() { apply(BlockOption::Read); }
    void btn_Block_Write_Cmd_Click() { apply(BlockOption::Write); }
    void BlockWRPrc_Click() { apply(BlockOption::WriteRead); }
    void SendBlock_Click();

  private:
    void apply(BlockOption option);
    std::optional<BlockOption> selected_option() const override;
    std::string text(BlockField field) const override;
};

}  // namespace velmora
