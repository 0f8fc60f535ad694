// The controls of the main window, where they stand and what they say.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "drive_word.h"
#include "form_record.h"
#include "main_form.h"

namespace pelmo {
namespace {

template <typename W>
W* Named(W* w, std::string_view name, QRect r) {
    w->setObjectName(QLatin1String(name.data(), static_cast<qsizetype>(name.size())));
    w->setGeometry(r);
    return w;
}

QGroupBox* Group(QWidget* parent, std::string_view name, const char* caption, QRect r) {
    return Named(new QGroupBox(caption, parent), name, r);
}
QLabel* Label(QWidget* parent, std::string_view name, const char* text, QRect r) {
    return Named(new QLabel(text, parent), name, r);
}
QLineEdit* Edit(QWidget* parent, std::string_view name, QRect r) {
    return Named(new QLineEdit(parent), name, r);
}
QCheckBox* Check(QWidget* parent, std::string_view name, const char* caption, QRect r) {
    return Named(new QCheckBox(caption, parent), name, r);
}
QRadioButton* Radio(QWidget* parent, std::string_view name, const char* caption, QRect r) {
    return Named(new QRadioButton(caption, parent), name, r);
}
QComboBox* Combo(QWidget* parent, std::string_view name, QRect r) {
    auto* box = Named(new QComboBox(parent), name, r);
    for (std::string_view item : ListItems(name)) {
        box->addItem(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
    }
    return box;
}

// Mode and driver of one side of a dual chip: " Hardware " and "Driver" boxes.
struct SideNames {
    const char* side;
    const char* side_caption;
    const char* hardware;
    const char* driver;
    const SideButtons& buttons;
    const char* high_current;  // nullptr: none on this page
};

void BuildSide(QWidget* parent, const SideNames& n, QRect r) {
    auto* side = Group(parent, n.side, n.side_caption, r);
    const int w = r.width() - 12;
    auto* hw = Group(side, n.hardware, " Hardware ", {6, 16, w, n.high_current ? 110 : 92});
    Radio(hw, n.buttons.uart, "RS232 UART", {8, 16, w - 12, 18});
    constexpr std::array<const char*, 3> kModeCaptions = {"245 FIFO", "CPU FIFO ", "OPTO Isolate"};
    for (int i = 0; i < 3; ++i)
        Radio(hw, n.buttons.modes[i], kModeCaptions[i], {8, 34 + 18 * i, w - 12, 18});
    if (n.high_current) Check(hw, n.high_current, "High Current I/O's", {8, 88, w - 12, 18});
    const int driver_top = 16 + hw->height() + 4;
    auto* drv = Group(side, n.driver, "Driver", {6, driver_top, w, 56});
    Radio(drv, n.buttons.vcp, "Virtual COM Port", {8, 16, w - 12, 18});
    Radio(drv, n.buttons.direct, "Rawlink Direct", {8, 34, w - 12, 18});
}

// A control's name and its text (a row label of an "IO Pins" box, a check box).
struct RowLabel {
    const char* name;
    const char* text;
};

// Per group a label, the slow-slew and Schmitt boxes and the drive list, in two columns
// of two groups, each column under its own headers: four rows of one column would not
// fit in the box below the sides at the window's fixed size.
void BuildIoPins(QWidget* parent, const char* name, const char* header_prefix, QRect r,
                 const std::array<RowLabel, 4>& labels, const DriveGroups& groups) {
    auto* box = Group(parent, name, "IO Pins", r);
    const int column_width = (r.width() - 8) / 2;
    for (int column = 0; column < 2; ++column) {
        const int x = 4 + column * column_width;
        // The first column's headers keep their names; the second's add a "2".
        const std::string p = header_prefix;
        const std::string s = column == 0 ? "" : "2";
        Label(box, p + "Slow" + s, "Slow", {x + 18, 14, 28, 12});
        Label(box, p + "Slew" + s, "Slew", {x + 18, 26, 28, 12});
        Label(box, p + "Schmitt" + s, "Schmitt", {x + 46, 14, 44, 12});
        Label(box, p + "Input" + s, "Input", {x + 46, 26, 44, 12});
        Label(box, p + "Drive" + s, "Drive", {x + 90, 26, 40, 12});
    }
    for (size_t i = 0; i < groups.size(); ++i) {
        const int x = 4 + static_cast<int>(i / 2) * column_width;
        const int y = 40 + 18 * static_cast<int>(i % 2);
        Label(box, labels[i].name, labels[i].text, {x + 2, y, 18, 18});
        Check(box, groups[i].slow_slew, "", {x + 22, y, 20, 18});
        Check(box, groups[i].schmitt, "", {x + 56, y, 20, 18});
        Combo(box, groups[i].drive, {x + 90, y, column_width - 94, 18});
    }
}

void BuildDualPage(QWidget* page) {
    auto* gb10 = Group(page, "GB10", " Tessel-3DA Device Options ", {4, 4, 304, 262});
    BuildSide(gb10, {"GBSideA", "  Side A  ", "GBHardwareA", "GBDriverA", kDualSides[0], "CB4"},
              {6, 18, 144, 236});
    BuildSide(gb10, {"GBSideB", "  Side B  ", "GBHardwareB", "GBDriverB", kDualSides[1], "CB5"},
              {154, 18, 144, 236});
}

void BuildFourthGenPage(QWidget* page) {
    auto* gb11 = Group(page, "GB11", "  Device Options  ", {4, 4, 304, 262});
    auto* gb12 = Group(gb11, "GB12", "Invert RS232 Signals", {6, 16, 136, 170});
    constexpr std::array<RowLabel, 8> kInvert = {{{"CB6", "Invert TXD"},
                                                  {"CB7", "Invert RXD"},
                                                  {"CB8", "Invert RTS#"},
                                                  {"CB9", "Invert CTS#"},
                                                  {"CB10", "Invert DTR#"},
                                                  {"CB11", "Invert DSR#"},
                                                  {"CB12", "Invert DCD#"},
                                                  {"CB13", "Invert RI#"}}};
    for (int i = 0; i < 8; ++i) {
        Check(gb12, kInvert[i].name, kInvert[i].text, {8, 16 + 18 * i, 120, 18});
    }
    auto* gb13 = Group(gb11, "GB13", "I/O Controls", {148, 16, 150, 130});
    // Per C pin: its label, the label's text and its list.
    struct CPinRow {
        const char* label;
        const char* caption;
        const char* list;
    };
    constexpr std::array<CPinRow, 5> kCPins = {{{"LabelC0", "C0", "CBX1"},
                                                {"LabelC1", "C1", "CBX2"},
                                                {"LabelC2", "C2", "CBX3"},
                                                {"LabelC3", "C3", "CBX4"},
                                                {"LabelC4", "C4", "CBX5"}}};
    for (int i = 0; i < 5; ++i) {
        Label(gb13, kCPins[i].label, kCPins[i].caption, {8, 18 + 22 * i, 20, 18});
        Combo(gb13, kCPins[i].list, {30, 16 + 22 * i, 110, 20});
    }
    auto* gb14 = Group(gb11, "GB14", "  Options  ", {148, 150, 150, 106});
    Check(gb14, "CB16", "High Current I/O's", {8, 16, 136, 18});
    Check(gb14, "CB17", "Load Rawlink driver", {8, 34, 136, 18});
    Check(gb14, "CB15", "Enable Ext Osc", {8, 52, 136, 18})->hide();
    Check(gb14, "CB14", "Ignore Upper Type", {8, 70, 136, 18})->hide();
    Label(gb14, "LabelPacketSize", "IN Packet Size", {8, 84, 70, 18})->hide();
    Combo(gb14, "CBX6", {80, 82, 60, 20})->hide();
}

void BuildHsDualPage(QWidget* page) {
    BuildSide(page, {"GroupBox1", "  Side A  ", "GroupBox2", "GroupBox3", kHsDualSides[0], nullptr},
              {4, 4, 150, 174});
    BuildSide(page,
              {"GroupBox10", "  Side B  ", "GroupBox11", "GroupBox12", kHsDualSides[1], nullptr},
              {158, 4, 150, 174});
    BuildIoPins(page, "GroupBox13", "LabelDual", {4, 180, 304, 86},
                {{{"LabelAL", "AL"}, {"LabelAH", "AH"}, {"LabelBL", "BL"}, {"LabelBH", "BH"}}},
                kDualDriveGroups);
}

void BuildHsQuadPage(QWidget* page) {
    constexpr std::array<const char*, 4> kPorts = {"GroupBox14", "GroupBox15", "GroupBox16",
                                                   "GroupBox17"};
    constexpr std::array<const char*, 4> kCaptions = {"Port A", "Port B", "Port C", "Port D"};
    for (int i = 0; i < 4; ++i) {
        const QRect r{4 + (i % 2) * 154, 4 + (i / 2) * 84, 150, 80};
        auto* port = Group(page, kPorts[i], kCaptions[i], r);
        const std::string vcp = "RadioButton" + std::to_string(13 + 2 * i);
        const std::string direct = "RadioButton" + std::to_string(14 + 2 * i);
        const std::string rs485 = "CheckBox" + std::to_string(23 + i);
        Radio(port, vcp.c_str(), "Virtual COM Port", {8, 16, 136, 18});
        Radio(port, direct.c_str(), "Rawlink Direct", {8, 34, 136, 18});
        Check(port, rs485.c_str(), "RI as RS485 Enable", {8, 54, 136, 18});
    }
    BuildIoPins(page, "GroupBox18", "LabelQuad", {4, 174, 304, 92},
                {{{"LabelA", "A"}, {"LabelB", "B"}, {"LabelC", "C"}, {"LabelD", "D"}}},
                kQuadDriveGroups);
}

}  // namespace

void TMainForm::BuildControls() {
    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    setCentralWidget(panel);

    auto* gb1 = Group(panel, "GB1", "  Basic Details  ", {4, 2, 318, 92});
    Label(gb1, "Label1", "Device Type", {8, 18, 90, 20});
    Combo(gb1, "CB1", {100, 16, 208, 22});
    Label(gb1, "Label2", "USB VID / PID", {8, 42, 90, 20});
    Combo(gb1, "CB2", {100, 40, 208, 22});
    Label(gb1, "Label3", "Vendor ID", {8, 66, 60, 20});
    Edit(gb1, "Edit1", {70, 64, 60, 22})->setMaxLength(kIdFieldDigits);
    Label(gb1, "Label4", "Product ID", {160, 66, 60, 20});
    Edit(gb1, "Edit2", {224, 64, 60, 22})->setMaxLength(kIdFieldDigits);

    auto* gb2 = Group(panel, "GB2", "  USB Power Options  ", {4, 96, 318, 64});
    Radio(gb2, "RB1", "Bus Powered", {8, 18, 120, 18})->setChecked(true);
    Radio(gb2, "RB2", "Self Powered", {8, 38, 120, 18});
    Label(gb2, "Label5", "Max Bus Power", {150, 18, 90, 18});
    Edit(gb2, "Edit9", {150, 36, 60, 22});
    Label(gb2, "Label6", "mA", {214, 38, 30, 18});

    auto* gb3 = Group(panel, "GB3", "  USB Serial Number Control  ", {4, 162, 318, 88});
    Label(gb3, "Label7", "Serial Number Prefix ( 2 digits )", {8, 18, 190, 20});
    Edit(gb3, "Edit5", {204, 16, 50, 22});
    Check(gb3, "CheckBox5", "Use Fixed Serial Number", {8, 40, 200, 18});
    Label(gb3, "Label8", "Fixed Serial Number ( 8 digits )", {8, 62, 190, 20});
    Edit(gb3, "Edit6", {204, 60, 100, 22});

    auto* gb5 =
        Group(panel, "GB5", "  Product and Manufacturer Descriptor Strings  ", {4, 252, 318, 70});
    Label(gb5, "Label9", "Manufacturer", {8, 18, 110, 20});
    Edit(gb5, "Edit10", {120, 16, 188, 22});
    Label(gb5, "Label10", "Product Description ", {8, 42, 110, 20});
    Edit(gb5, "Edit11", {120, 40, 188, 22});

    auto* gb9 = Group(panel, "GB9", "  USB Remote Wake Up  ", {4, 324, 318, 40});
    Check(gb9, "CheckBox1", "Enable USB Remote Wake Up", {8, 16, 250, 18});

    Memo1 = Named(new QPlainTextEdit(panel), "Memo1", {4, 368, 318, 156});
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* pages = Named(new QTabWidget(panel), "PageControl1", {326, 2, 320, 298});
    constexpr std::array<const char*, 4> kTabs = {"Tessel-3D", "Tessel-4U", "Tessel-5D",
                                                  "Tessel-5Q"};
    for (int i = 0; i < 4; ++i) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QString("TabSheet%1").arg(i + 1));
        pages->addTab(sheet, kTabs[i]);
    }
    BuildDualPage(pages->widget(0));
    BuildFourthGenPage(pages->widget(1));
    BuildHsDualPage(pages->widget(2));
    BuildHsQuadPage(pages->widget(3));

    auto* gb4 = Group(panel, "GB4", "  T2 / T3 Device Specific Options  ", {326, 302, 320, 100});
    Label(gb4, "Label11", "USB Version Number", {8, 18, 120, 20});
    Combo(gb4, "CB3", {130, 16, 100, 22});
    Check(gb4, "CheckBox8", "Disable USB Serial Number", {8, 40, 300, 18});
    Check(gb4, "CheckBox11", "Pull Down IO Pins in USB Suspend", {8, 58, 300, 18});
    Check(gb4, "CheckBox27", "Suspend on DBUS7 Low", {8, 76, 300, 18})->hide();

    auto* gb6 = Group(panel, "GB6", "  Programming Options  ", {326, 404, 320, 40});
    Check(gb6, "CheckBox6", "Only Program Blank Devices", {8, 16, 300, 18})->setChecked(true);

    auto* gb8 =
        Group(panel, "GB8", "  Plug && Play  ( Tessel-U Series Only )  ", {326, 446, 320, 40});
    Check(gb8, "CheckBox3", "Enable Plug And Play", {8, 16, 300, 18});
    gb8->hide();

    for (auto* w : findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty()) controls_.insert(w->objectName(), w);
    }
    // Before the handlers are connected, so that setting the start values runs none.
    apply_values(FormValues{});
}

void TMainForm::BuildActions() {
    struct ActionRow {
        const char* name;
        const char* caption;
        const char* hint;
        const char* shortcut;
        bool enabled;
        QStyle::StandardPixmap icon;
        void (TMainForm::*run)();
    };
    const ActionRow rows[] = {
        {"MPNew", "&New", "Create New Programming Template", "Ctrl+N", true, QStyle::SP_FileIcon,
         &TMainForm::MPNewExecute},
        {"MPOpen", "&Open", "Open Existing Programming Template", "Ctrl+O", true,
         QStyle::SP_DialogOpenButton, &TMainForm::MPOpenExecute},
        {"MPEdit", "E&dit", "Edit Mode", "Ctrl+D", false, QStyle::SP_FileDialogDetailedView,
         &TMainForm::MPEditExecute},
        {"MPSave", "&Save", "Save Template", "Ctrl+S", false, QStyle::SP_DialogSaveButton,
         &TMainForm::MPSaveExecute},
        {"MPSaveAs", "Sa&ve As ...", "Save Template As...", "Ctrl+V", false, QStyle::SP_DriveFDIcon,
         &TMainForm::MPSaveAsExecute},
        {"MPExit", "E&xit", "Quit Application Program", "Ctrl+X", true,
         QStyle::SP_DialogCloseButton, nullptr},
        {"MPScan", "S&can", "Scan for Available Devices", "Ctrl+C", true,
         QStyle::SP_FileDialogContentsView, &TMainForm::MPScanExecute},
        {"MPErase", "&Erase", "Erase All Existing Devices", "Ctrl+E", false, QStyle::SP_TrashIcon,
         &TMainForm::MPEraseExecute},
        {"MPProgram", "&Program", "Program All Existing Devices", "Ctrl+P", false,
         QStyle::SP_ArrowDown, &TMainForm::MPProgramExecute},
        {"MPHelp", "&Help", "HTML Help", "Ctrl+H", true, QStyle::SP_DialogHelpButton,
         &TMainForm::MPHelpExecute},
        {"MPAbout", "Help &About ..", "Help - About", "Ctrl+A", true,
         QStyle::SP_MessageBoxInformation, &TMainForm::MPAboutExecute},
        {"MRead", "Read", "", "", true, QStyle::SP_CustomBase, &TMainForm::ReadExecute},
        {"MReadAndParse", "Read and Parse", "", "", true, QStyle::SP_CustomBase,
         &TMainForm::ReadAndParseExecute},
    };
    for (const auto& row : rows) {
        auto* a = new QAction(row.caption, this);
        a->setObjectName(row.name);
        a->setToolTip(row.hint);
        a->setStatusTip(row.hint);
        if (*row.shortcut) a->setShortcut(QKeySequence(row.shortcut));
        a->setEnabled(row.enabled);
        if (row.icon != QStyle::SP_CustomBase) a->setIcon(style()->standardIcon(row.icon));
        if (row.run) {
            connect(a, &QAction::triggered, this, [this, run = row.run] { (this->*run)(); });
        } else {
            connect(a, &QAction::triggered, this, &QWidget::close);
        }
        actions_.insert(row.name, a);
        addAction(a);
    }
}

void TMainForm::BuildMenusAndToolBar() {
    auto* file = menuBar()->addMenu("&File");
    file->setObjectName("File1");
    for (const char* name : {"MPNew", "MPOpen", "MPEdit", "MPSave", "MPSaveAs"}) {
        file->addAction(action(name));
    }
    file->addSeparator();
    file->addAction(action("MPExit"));
    auto* device = menuBar()->addMenu("&Device");
    device->setObjectName("Device1");
    for (const char* name : {"MPScan", "MPErase", "MPProgram"}) device->addAction(action(name));
    auto* tools = menuBar()->addMenu("Tools");
    tools->setObjectName("Tools1");
    tools->addAction(action("MRead"));
    tools->addAction(action("MReadAndParse"));
    auto* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help1");
    help->addAction(action("MPHelp"));
    help->addSeparator();
    help->addAction(action("MPAbout"));

    auto* bar = addToolBar("ToolBar1");
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize({16, 16});
    auto gap = [bar](int width) {
        auto* space = new QWidget(bar);
        space->setFixedWidth(width);
        bar->addWidget(space);
    };
    for (const char* name : {"MPNew", "MPOpen", "MPEdit", "MPSave", "MPSaveAs"}) {
        bar->addAction(action(name));
    }
    gap(48);
    for (const char* name : {"MPScan", "MPErase", "MPProgram"}) bar->addAction(action(name));
    gap(16);
    bar->addAction(action("MPAbout"));
    bar->addAction(action("MPHelp"));
    gap(16);
    auto* cycle = new QToolButton(bar);
    cycle->setObjectName("ToolButton11");
    cycle->setToolTip("Cycle Device");
    cycle->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    connect(cycle, &QToolButton::clicked, this, &TMainForm::ToolButton11Click);
    bar->addWidget(cycle);
    controls_.insert("ToolButton11", cycle);
}

}  // namespace pelmo
