// Window tests: a QApplication on the offscreen platform, the simulated world, and a
// clean slate of windows after each test.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "command_panel.h"
#include "console_hooks.h"
#include "frm_send_smb_cmds.h"
#include "panel_windows.h"
#include "sim_fixture.h"

namespace velmora::testing {

inline QApplication& test_app() {
    static int argc = 1;
    static char name[] = "console_window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

class WindowFixture : public SimFixture {
  protected:
    WindowFixture() {
        test_app();
        QCoreApplication::setApplicationName(QStringLiteral("velmora"));
        console_hooks() = ConsoleHooks{};
    }
    ~WindowFixture() override {
        if (frmSendSMB_cmds* c = console_window()) c->Unload();
        for (int n = 1; n <= kPanelWindows; ++n) Unload_Control(n);
        QCoreApplication::processEvents();  // the end-of-program check of an unload
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        console_hooks() = ConsoleHooks{};
    }

    frmSendSMB_cmds* load() {
        frmSendSMB_cmds* c = frmSendSMB_cmds::Load();
        EXPECT_NE(c, nullptr);
        return c;
    }

    static void press_key(QWidget* w) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(w, &press);
    }
    static void click(QWidget* w) {
        const QPointF at(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &press);
        QCoreApplication::sendEvent(w, &release);
    }
    // Picks list item `text` as the user does: the list dropped down, the item taken in it
    // with Return.
    static void pick_item(QComboBox* box, const char* text) {
        const int i = box->findText(QString::fromLatin1(text));
        ASSERT_GE(i, 0) << text;
        box->showPopup();
        box->view()->setCurrentIndex(box->model()->index(i, box->modelColumn()));
        QTest::keyClick(box->view(), Qt::Key_Return);
        ASSERT_EQ(box->currentText(), QString::fromLatin1(text));
    }
    static void pick(CommandPanel& p, const char* type) { pick_item(p.CmdProtocol, type); }
    // Gives `w` the keyboard focus as a click into it does: its window shown and active.
    static void focus(QWidget* w) {
        w->window()->show();
        QApplication::setActiveWindow(w->window());
        w->setFocus(Qt::MouseFocusReason);
    }
    // Types `text` over what the box holds (selected with keys that are no shortcut).
    static void type_over(QWidget* box, const char* text) {
        focus(box);
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClicks(box, QString::fromLatin1(text));
    }
    // Turns the mouse wheel over `w` by `notches`: positive up, negative down.
    static void wheel(QWidget* w, int notches) {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w, &e);
    }
    template <typename T>
    static T* top_level(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(name) && qobject_cast<T*>(w))
                return qobject_cast<T*>(w);
        return nullptr;
    }
};

// A loaded console whose start-up writes are taken, numbers in the C locale's format
// (a test may set another default locale).
class LoadedConsole : public WindowFixture {
  protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        c = load();
        ASSERT_NE(c, nullptr);
        writes();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    frmSendSMB_cmds* c = nullptr;
};

}  // namespace velmora::testing
