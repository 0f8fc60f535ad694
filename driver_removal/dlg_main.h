// The dialog "dlgMAIN": asks to unplug the device; OK removes the driver, Cancel (or
// the close box) leaves. The work is MainDlgProc's.
#pragma once

#include <QDialog>

class QCloseEvent;
class QEvent;
class QKeyEvent;

namespace drendle {

class DlgMain : public QDialog {
    Q_OBJECT
  public:
    explicit DlgMain(QWidget* parent = nullptr);

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter and Escape do nothing: the dialog's keys are not given dialog handling.
    void keyPressEvent(QKeyEvent* event) override;
    // Nor does Return on the focused OK button, which as the default would click itself.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Nor do Tab, Backtab and the arrows: the focus stays on the button that has it.
    bool focusNextPrevChild(bool next) override;

  private:
    void Command(int id);
    bool ended_ = false;
};

}  // namespace drendle
