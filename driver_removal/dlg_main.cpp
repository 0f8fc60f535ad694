#include "dlg_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "drendle.h"

namespace drendle {
namespace {

// Dialog units of the dialog's layout, in pixels of its usual 8-point font (a dialog
// unit is a quarter of the average character width and an eighth of its height).
constexpr int DluX(int x) {
    return x * 6 / 4;
}
constexpr int DluY(int y) {
    return y * 13 / 8;
}

QRect DluRect(int x, int y, int w, int h) {
    return {DluX(x), DluY(y), DluX(w), DluY(h)};
}

}  // namespace

DlgMain::DlgMain(QWidget* parent) : QDialog(parent) {
    setObjectName("dlgMAIN");
    setWindowTitle(kDialogCaption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    move(DluX(100), DluY(50));
    setFixedSize(DluX(204), DluY(107));

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btnOK");
    ok->setProperty("controlId", IDOK);
    ok->setGeometry(DluRect(28, 86, 50, 14));
    ok->setDefault(true);
    ok->setAutoDefault(false);
    ok->installEventFilter(this);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("btnCancel");
    cancel->setProperty("controlId", IDCANCEL);
    cancel->setGeometry(DluRect(126, 86, 50, 14));
    cancel->setAutoDefault(false);
    auto* text = new QLabel(kDialogText, this);
    text->setObjectName("lblMessage");
    text->setProperty("controlId", IDC_TEXT);
    text->setGeometry(DluRect(7, 26, 190, 50));
    text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);

    connect(ok, &QPushButton::clicked, this, [this] { Command(IDOK); });
    connect(cancel, &QPushButton::clicked, this, [this] { Command(IDCANCEL); });
    ok->setFocus();
}

void DlgMain::Command(int id) {
    if (ended_ || !MainDlgProc(id)) return;
    ended_ = true;
    close();
    QCoreApplication::exit(0);
}

void DlgMain::closeEvent(QCloseEvent* event) {
    if (!ended_) Command(IDCANCEL);
    event->accept();
}

void DlgMain::keyPressEvent(QKeyEvent* event) {
    QWidget::keyPressEvent(event);
}

bool DlgMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool DlgMain::focusNextPrevChild(bool) {
    return false;
}

}  // namespace drendle
