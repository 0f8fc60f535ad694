// A main window on a simulated world, with the ui doubles answering its dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <filesystem>
#include <memory>

#include "main_form.h"
#include "rawlnk/rawlnk_sim.h"
#include "temp_folder.h"
#include "ui/doubles.h"

namespace pelmo::testing {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "pelmo_window_test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

// One blank second-generation chip unless a test loads another world.
inline constexpr const char* kBlankChipWorld =
    "chip blank2\n  kind gen2\n  eeprom 64\n  image blank\n";

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() {
        EnsureApplication();
        ResetState();
        RLSIM_SetStateDir(nullptr);
        RLSIM_ClearFaults();
        EXPECT_EQ(RLSIM_LoadWorldText(kBlankChipWorld), 0) << RLSIM_LastError();
        std::filesystem::create_directories(dir_ / "Templates");
        form = std::make_unique<TMainForm>(dir_.string());
    }
    ~WindowTest() override {
        form.reset();
        ResetState();
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* act(const char* name) const { return find<QAction>(name); }
    // The user picks a list entry.
    void pick(const char* list, int entry) {
        auto* box = find<QComboBox>(list);
        box->setCurrentIndex(entry);
        emit box->activated(entry);
    }
    void type(const char* edit, const QString& text) { find<QLineEdit>(edit)->setText(text); }
    QString text(const char* edit) const { return find<QLineEdit>(edit)->text(); }
    QStringList log() const {
        return find<QPlainTextEdit>("Memo1")->toPlainText().split('\n', Qt::SkipEmptyParts);
    }
    bool enabled(const char* action) const { return act(action)->isEnabled(); }
    std::string templates() const { return (dir_ / "Templates").string(); }

    platform::ui::ScopedDoubles doubles;
    TempFolder folder_{"pelmo_window_"};
    std::filesystem::path dir_ = folder_.path();
    std::unique_ptr<TMainForm> form;
};

}  // namespace pelmo::testing
