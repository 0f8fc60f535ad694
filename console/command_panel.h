// One command panel: the single-command design shared by the main panel (number 0, inside
// the console window) and the panel windows Control1..Control8 (numbers 1..8). Every
// control carries its name as objectName; per-panel differences are data.
#pragma once

#include <QWidget>
#include <string>

#include "formats/bus_mode.h"
#include "panel_send.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class CommandPanel : public QWidget, private PanelFields {
    Q_OBJECT
  public:
    // n = 0: the main panel, a child of the console window; its start-up is part of the
    // console's load step. n = 1..8: the window `Control`n, whose start-up (Form_Load)
    // runs here under the console's bus mode of this moment; the window stays hidden.
    explicit CommandPanel(int n, QWidget* parent = nullptr);
    ~CommandPanel() override;

    int number() const { return n_; }

    // Controls.
    QComboBox* const CmdProtocol;  // editable: the type is its text
    QLabel* const label_Device_Addr;
    QLineEdit* const txt_Device_Addr;
    QLabel* const label_Device_Command;
    QLineEdit* const txt_Device_Cmd;
    QLineEdit* const txt_Device_Cmdlsb;
    QLabel* const label_Hex_Values;
    QLabel* const label_RW_LSByte;
    QLineEdit* const txt_RW_LSByte;
    QLabel* const label_RW_MSByte;
    QLineEdit* const txt_RW_MSByte;
    QLineEdit* const Linear16bit;
    QComboBox* const TranslationMode;
    QLabel* const Xlabel;
    QLineEdit* const Xtext;
    QCheckBox* const SendBytePgNumber;
    QLineEdit* const PageNumber;
    QCheckBox* const Nonstop;
    QLabel* const Pmbus;
    QLabel* const PMBuscmd;
    QPushButton* const SendButton;  // `cmd_Send` on the main panel, `Send`n on Control n

    // The controls by field, as the send path and the workspace reach them: the text of a
    // box or list or the caption of a label. Writing a box runs its change handling as
    // typing does, even when it held that text already; writing a list box sets its text
    // only, with no click handling.
    QWidget* control(PanelField field) const;
    std::string text(PanelField field) const override;
    void set_text(PanelField field, const std::string& text);
    // Writes the text alone: no change handling runs.
    void set_text_only(PanelField field, const std::string& text);
    bool ticked(PanelField check_box) const;
    void set_ticked(PanelField check_box, bool on);

    // The type box's text and list. As the console expects of this box, writing the text
    // runs no click handling, and adding or removing list items leaves the text alone.
    std::string CmdProtocol_Text() const;
    void set_CmdProtocol_Text(const std::string& text);
    int CmdProtocol_ListCount() const;
    void CmdProtocol_AddItem(const std::string& text);
    void CmdProtocol_RemoveItem(int index);

    // Fills the type list with the six basic types and the format list (three formats on
    // the main panel, four on the panel windows).
    void Fill_Lists();

    // Handlers.
    void CmdProtocol_Click();  // applies the layout of the type text; a pick runs it
    // True while the repeat box is ticked and the type text is the one it was ticked with.
    // A repetition never sends another type: any change of the text ends it.
    bool Repeats_Its_Own_Type() const;
    // Whether the result waiting for this panel answers what it asks now.
    bool Result_Answers() const;
    void Send_Click();  // cmd_Send_Click / Send1_Click..Send8_Click
    void Check_Cmd_Protocol();
    void Send_Page_First();
    void Clamp_Page_Number();
    void Send_SW_MB905_Cmd();
    void txt_Device_Cmd_Change();
    void txt_Device_Addr_Change();
    // Value box, format list and exponent box.
    void Linear16bit_Change();
    void TranslationMode_Click();
    void Xtext_Change();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void build_layout();
    void connect_handlers();
    void Form_Load();
    void run_name_lookup();
    // The one VOUT_MODE read of "Exp(2^X) Auto input"; neither waits for nor takes BusBusy.
    void Read_Vout_Mode();

    // PanelFields
    int panel_number() const override { return n_; }
    bool SendBytePgNumber_ticked() const override;
    void set_PageNumber(const std::string& text) override;
    void untick_Nonstop() override;

    const int n_;
    QString repeat_type_;  // the type text when the repeat box was ticked
};

}  // namespace velmora
