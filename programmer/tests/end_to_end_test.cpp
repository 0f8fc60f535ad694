// pelmo programs a blank chip as the board's bridge and cycles it; velmora's board
// discovery then finds that chip as a board.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QToolButton>

#include "mod_Miscellaneous_Subroutines.h"
#include "window_fixture.h"

namespace pelmo {
namespace {

class EndToEnd : public testing::WindowTest {};

TEST_F(EndToEnd, ProgrammedAndCycledChipIsFoundAsTheBoard) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    type("Edit11", "ZOQ ONBOARD RS232 CNTLR");
    // Cycling looks for programmed chips too.
    find<QAbstractButton>("CheckBox6")->click();
    ASSERT_FALSE(state().OnlyBlank);
    doubles.ui.file_answers.push_back(templates() + "/board.ept");
    act("MPSaveAs")->trigger();
    ASSERT_TRUE(enabled("MPProgram"));

    act("MPProgram")->trigger();
    ASSERT_EQ(log().size(), 1);
    const QString line = log().first();
    ASSERT_TRUE(line.startsWith("Programmed Serial Number : RL")) << line.toStdString();
    const std::string serial =
        line.mid(QString("Programmed Serial Number : ").size()).toStdString();
    // Until the chip re-enumerates it shows its factory description.
    EXPECT_EQ(velmora::Find_Board(), "");

    find<QToolButton>("ToolButton11")->click();
    EXPECT_EQ(log(), QStringList({"CyclePort successful Device 0"}));
    EXPECT_EQ(velmora::Find_Board(), serial);
    EXPECT_TRUE(doubles.ui.messages.empty());
}

}  // namespace
}  // namespace pelmo
