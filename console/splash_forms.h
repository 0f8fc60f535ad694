// The splash screen `frmSplash`, shown during the console's start-up wait, and the About
// box `frmSplash1`. Both show the logo and the firmware version; a key or a click on one
// of their controls closes them.
#pragma once

#include <QDialog>
#include <QWidget>
#include <vector>

class QFrame;
class QLabel;

namespace velmora {

class frmSplash : public QWidget {
    Q_OBJECT
  public:
    // Loads the splash screen (Form_Load runs: version queries); not yet shown.
    frmSplash();

    QFrame* const Frame1;
    QLabel* const imgLogo;
    QLabel* const Label1;
    QLabel* const Label2;
    QLabel* const Label3;
    QLabel* const lblVersion;
    QLabel* const firmwarelabel;
    QLabel* const lblWarning;

    // Form_KeyPress and the click handlers: end the start-up wait and unload.
    void Form_KeyPress();
    bool unloaded() const { return unloaded_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
    bool unloaded_ = false;
};

class frmSplash1 : public QDialog {
    Q_OBJECT
  public:
    // Loads the About box (Form_Load runs: program title, version queries).
    explicit frmSplash1(QWidget* parent = nullptr);

    QFrame* const Frame1;
    QLabel* const Image1;
    QLabel* const Label1;
    QLabel* const Label2;
    QLabel* const Label3;
    QLabel* const lblVersion;
    QLabel* const firmwareversionlabel;

    // Form_KeyPress and the click handlers: unload the About box.
    void Form_KeyPress() { accept(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
};

}  // namespace velmora
