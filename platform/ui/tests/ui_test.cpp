#include <gtest/gtest.h>

#include "ui/doubles.h"
#include "ui/qt_services.h"

namespace ui = platform::ui;

TEST(FakeServices, AnswersInOrderThenFirstButtonAndRecords) {
    ui::ScopedDoubles d;
    d.ui.answers = {ui::Answer::No};
    EXPECT_EQ(ui::show_message("Open Results?", ui::Buttons::YesNo), ui::Answer::No);
    EXPECT_EQ(ui::show_message("again", ui::Buttons::YesNo), ui::Answer::Yes);
    EXPECT_EQ(ui::show_message("plain"), ui::Answer::Ok);
    EXPECT_EQ(d.ui.message_texts(), (std::vector<std::string>{"Open Results?", "again", "plain"}));
    EXPECT_FALSE(ui::services().open_file({}).has_value());
}

TEST(FakeClock, PollingWaitEndsAndAdvanceIsReported) {
    ui::ScopedDoubles d;
    uint64_t told = 0;
    d.clock.on_advance = [&](uint64_t us) { told += us; };
    double start = ui::clock().seconds();
    int polls = 0;
    while (ui::clock().seconds() < start + 0.05) ++polls;
    EXPECT_GT(polls, 10);
    EXPECT_GE(told, 50000u);
}

TEST(DefaultsRestored, AfterScopedDoubles) {
    { ui::ScopedDoubles d; }
    double a = ui::clock().seconds();
    EXPECT_GE(ui::clock().seconds(), a);
}

TEST(QtFilter, PairsBecomeQtFilters) {
    EXPECT_EQ(ui::qt_filter("EEPROM Program Templates|*.ept"), "EEPROM Program Templates (*.ept)");
    EXPECT_EQ(ui::qt_filter("Setting (*.SET)|*.SET|All|*.*;*.txt"),
              "Setting (*.SET) (*.SET);;All (*.* *.txt)");
}

#if __has_include(<QtGui/qpa/qwindowsysteminterface.h>)
#include <QtGui/qpa/qwindowsysteminterface.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include "ui/menu_shortcuts.h"

namespace {

struct Application {
    Application() {
        static int argc = 1;
        static char name[] = "platform_ui_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
};

// A window with a text box that has the focus, and a menu item.
struct BoxWindow : Application {
    BoxWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        window.addAction(item);
        QObject::connect(item, &QAction::triggered, [this] { ++runs; });
        window.show();
        QApplication::setActiveWindow(&window);
        box->setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // A key as the window system delivers a user's: queued until events are next let run.
    void queue_key(Qt::Key key, const QString& text) {
        for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
            QWindowSystemInterface::handleKeyEvent(window.windowHandle(), type, key, Qt::NoModifier,
                                                   text);
    }
    QWidget window;
    QLineEdit* box = new QLineEdit;
    QAction* item = new QAction("Select", &window);
    int runs = 0;
};

TEST(QtWaits, HoldingInputRunsOtherEventsAndKeepsTheKeysForLater) {
    BoxWindow w;
    w.queue_key(Qt::Key_A, "a");
    bool timer_ran = false;
    QTimer::singleShot(0, [&] { timer_ran = true; });
    ui::QtServices qt;
    qt.wait_holding_input(5);  // the timer's event ends the sleep
    EXPECT_TRUE(timer_ran);
    EXPECT_EQ(w.box->text(), "");
    ui::release_held_input();
    qt.process_events();
    EXPECT_EQ(w.box->text(), "a");
}

TEST(MenuShortcuts, RunFromATextBoxThatWouldClaimTheKey) {
    BoxWindow w;
    w.item->setShortcut(QKeySequence::SelectAll);
    w.box->setText("text");
    QTest::keyClick(w.box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.runs, 0);  // the box took it
    ui::claim_menu_shortcuts(&w.window);
    QTest::keyClick(w.box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.runs, 1);
    w.item->setEnabled(false);  // a disabled item leaves the key to the box
    w.box->deselect();
    QTest::keyClick(w.box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.runs, 1);
    EXPECT_EQ(w.box->selectedText(), "text");
}

}  // namespace
#endif
