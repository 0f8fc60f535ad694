// Window tests of the workspace: the console loaded on the simulated board with the
// workspace's handlers installed, as the program runs it.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <string>
#include <string_view>

#include "block_frame.h"
#include "qt_controls.h"
#include "qt_workspace.h"
#include "transaction_types.h"
#include "window_fixture.h"

namespace velmora::testing {

class WorkspaceFixture : public WindowFixture {
  protected:
    void SetUp() override {
        install_workspace_hooks();
        c = load();
        ASSERT_NE(c, nullptr);
    }

    CommandPanel& main() { return *c->panel0; }
    // Panel 0 is the main panel, 1..8 the panel windows (loaded hidden when not loaded).
    CommandPanel& panel(int n) { return n == 0 ? main() : Control(n); }

    void add(int times = 1) {
        for (int i = 0; i < times; ++i) c->mainAdd->trigger();
    }
    void choose(QRadioButton* mode) { mode->click(); }
    static QStringList items(const QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }
    static QStringList type_list(bool with_ext) {
        QStringList out;
        for (std::string_view t : kBasicTypes) out << QString::fromLatin1(t.data(), t.size());
        if (with_ext)
            for (std::string_view t : kExtTypes) out << QString::fromLatin1(t.data(), t.size());
        return out;
    }

    frmSendSMB_cmds* c = nullptr;
};

}  // namespace velmora::testing
