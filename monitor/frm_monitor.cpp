// Construction, menus and layout of the monitor window, its load and unload, and the
// view the capture writes through.
#include "frm_monitor.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "mod_Miscellaneous_Subroutines.h"
#include "monitor_link.h"
#include "ui/qt_services.h"
#include "ui/qt_text.h"
#include "ui/services.h"

namespace velmora::monitor {
namespace {

using platform::ui::named;
using platform::ui::qs;
using platform::ui::ss;

Frm_Monitor* g_monitor = nullptr;

// The user's short time form with seconds: short forms mostly leave them out.
QString time_with_seconds(const QLocale& locale) {
    QString form = locale.timeFormat(QLocale::ShortFormat);
    if (form.contains(QLatin1Char('s'))) return form;
    const qsizetype minutes = form.indexOf(QLatin1String("mm"));
    if (minutes < 0) return locale.timeFormat(QLocale::LongFormat);
    const QChar sep =
        minutes > 0 && !form.at(minutes - 1).isLetter() ? form.at(minutes - 1) : QLatin1Char(':');
    return form.insert(minutes + 2, QString(sep) + QLatin1String("ss"));
}

QPlainTextEdit* text_box(QWidget* parent, const char* name) {
    auto* box = named(new QPlainTextEdit(parent), name);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return box;
}

}  // namespace

std::string user_datetime_text(const std::string& clock_text) {
    const QDateTime t =
        QDateTime::fromString(qs(clock_text), QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    if (!t.isValid()) return clock_text;
    const QLocale locale;
    return ss(locale.toString(t.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
              locale.toString(t.time(), time_with_seconds(locale)));
}

MonitorHooks& monitor_hooks() {
    static MonitorHooks hooks;
    return hooks;
}

Frm_Monitor* monitor_window() {
    return g_monitor;
}

Frm_Monitor::Frm_Monitor()
    : Data(text_box(this, "Data")),
      Msgtextbox(text_box(this, "Msgtextbox")),
      RX(named(new QPushButton(QStringLiteral("Start"), this), "RX")),
      RXStop(named(new QPushButton(QStringLiteral("Stop"), this), "RXStop")),
      Clearmsg(named(new QPushButton(QStringLiteral("Clear"), this), "Clearmsg")),
      DisplayON(named(new QCheckBox(QStringLiteral("Display On"), this), "DisplayON")),
      Datalog(named(new QCheckBox(QStringLiteral("Datalog On"), this), "Datalog")),
      Timechk(named(new QCheckBox(QStringLiteral("Time"), this), "Timechk")),
      btnPMB(named(new QRadioButton(QStringLiteral("PMBus"), this), "btnPMB")),
      btnSBS(named(new QRadioButton(QStringLiteral("SBS"), this), "btnSBS")),
      btnHex(named(new QRadioButton(QStringLiteral("Hex"), this), "btnHex")) {
    setObjectName(QStringLiteral("Frm_Monitor"));
    setWindowTitle(QLatin1String(kCaption));
    // Design state: display on, "Hex" selected, time off.
    DisplayON->setChecked(true);
    btnHex->setChecked(true);
    cap_.decoder().stamp_form = user_datetime_text;
    cap_.decoder().decimal_separator = ss(QLocale().decimalPoint());
    build_menus();
    build_layout();
    connect_handlers();
    g_monitor = this;
}

Frm_Monitor::~Frm_Monitor() {
    if (g_monitor == this) g_monitor = nullptr;
}

Frm_Monitor* Frm_Monitor::Load() {
    auto* m = new Frm_Monitor;
    m->Form_Load();
    return m;
}

void Frm_Monitor::build_menus() {
    auto item = [this](QMenu* menu, const char* name, const char* caption,
                       void (Frm_Monitor::*handler)()) {
        QAction* a = named(menu->addAction(QString::fromLatin1(caption)), name);
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return a;
    };
    auto menu = [](QWidget* parent, const char* name, const char* caption) {
        auto* m = named(new QMenu(QString::fromLatin1(caption), parent), name);
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    monFile = menu(this, "monFile", "&File");
    monOpen = item(monFile, "monOpen", "Open", &Frm_Monitor::monOpen_Click);
    monReturn = item(monFile, "monReturn", "Return", &Frm_Monitor::monReturn_Click);
    monExit = item(monFile, "monExit", "Exit", &Frm_Monitor::monExit_Click);
    monEdit = menu(this, "monEdit", "&Edit");
    monCopy = item(monEdit, "monCopy", "Copy to Clipboard", &Frm_Monitor::monCopy_Click);
    monView = menu(this, "monView", "&View");
    monASCII = item(monView, "monASCII", "&ASCII Table", &Frm_Monitor::monASCII_Click);
    monsbs = menu(monView, "monsbs", "SBS Table");
    monView->addMenu(monsbs);
    monsbstable = item(monsbs, "monsbstable", "SBS Table", &Frm_Monitor::monsbstable_Click);
    monSSR = item(monsbs, "monSSR", "&Safety Signal Range", &Frm_Monitor::monSSR_Click);
    monPMBus = item(monView, "monPMBus", "&PMBus", &Frm_Monitor::monPMBus_Click);
    monHelp = menu(this, "monHelp", "&Help");
    monAbout = item(monHelp, "monAbout", "About", &Frm_Monitor::monAbout_Click);
    for (QMenu* m : {monFile, monEdit, monView, monHelp}) menuBar()->addMenu(m);
}

void Frm_Monitor::build_layout() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    Data->setMinimumSize(640, 320);
    Msgtextbox->setMaximumHeight(60);
    grid->addWidget(Data, 0, 0, 1, 4);
    grid->addWidget(Msgtextbox, 1, 0, 1, 4);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {RX, RXStop, Clearmsg}) buttons->addWidget(b);
    auto* checks = new QVBoxLayout;
    for (QCheckBox* c : {DisplayON, Datalog, Timechk}) checks->addWidget(c);
    // The decode modes share a frame without a caption of its own.
    auto* modes = new QGroupBox(central);
    auto* modes_layout = new QHBoxLayout(modes);
    for (QRadioButton* r : {btnPMB, btnSBS, btnHex}) modes_layout->addWidget(r);
    grid->addLayout(buttons, 2, 0);
    grid->addLayout(checks, 2, 1);
    grid->addWidget(modes, 2, 2);
    grid->setColumnStretch(3, 1);
    setCentralWidget(central);
}

void Frm_Monitor::connect_handlers() {
    connect(RX, &QPushButton::clicked, this, [this] { RX_Click(); });
    connect(RXStop, &QPushButton::clicked, this, [this] { RXStop_Click(); });
    connect(Clearmsg, &QPushButton::clicked, this, [this] { Clearmsg_Click(); });
    connect(DisplayON, &QCheckBox::toggled, this, [this] { DisplayON_Click(); });
    connect(Timechk, &QCheckBox::toggled, this, [this](bool on) { cap_.decoder().Timechk = on; });
    const auto mode = [this](QRadioButton* button, DecodeMode m) {
        connect(button, &QRadioButton::toggled, this, [this, m](bool on) {
            if (on) cap_.decoder().mode = m;
        });
    };
    mode(btnHex, DecodeMode::Hex);
    mode(btnSBS, DecodeMode::SBS);
    mode(btnPMB, DecodeMode::PMBus);
}

void Frm_Monitor::Form_Load() {
    // Every capture logs: the box is ticked and out of the user's reach.
    Datalog->setChecked(true);
    Datalog->setVisible(false);
    show_help(kTopicMonitor);
}

std::string Frm_Monitor::help_file() {
    return App_Folder() + "/" + kHelpFile;
}

void Frm_Monitor::show_help(int topic) {
    platform::ui::services().html_help(help_file(), platform::ui::kHelpDisplayTopic, topic);
}

void Frm_Monitor::set_menus_enabled(bool enabled) {
    for (QMenu* m : {monFile, monEdit, monHelp, monView}) {
        m->setEnabled(enabled);
        m->menuAction()->setEnabled(enabled);
    }
}

void Frm_Monitor::set_RX_BackColor(uint32_t color) {
    rx_color_ = color;
    QPalette pal = QApplication::palette(RX);
    if (color != kButtonFace) {
        pal.setColor(QPalette::Button,
                     QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    }
    RX->setPalette(pal);
    RX->setAutoFillBackground(color != kButtonFace);
}

void Frm_Monitor::insert_at_caret(QPlainTextEdit* box, std::string_view text) {
    QTextCursor caret = box->textCursor();
    caret.insertText(qs(text));
    box->setTextCursor(caret);
}

void Frm_Monitor::clear_Data() {
    pending_lines_.clear();
    Data->clear();
}

void Frm_Monitor::flush_lines() {
    if (pending_lines_.empty()) return;
    insert_at_caret(Data, pending_lines_);
    pending_lines_.clear();
}

std::string Frm_Monitor::Data_Text() {
    flush_lines();
    return Data->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

void Frm_Monitor::show_line(std::string_view line) {
    pending_lines_.append(line);
    pending_lines_.append(kLineEnd);
}

void Frm_Monitor::show_text(std::string_view text) {
    flush_lines();
    insert_at_caret(Data, text);
}

void Frm_Monitor::set_Timechk(bool ticked) {
    Timechk->setChecked(ticked);
}

void Frm_Monitor::watchdog_stop() {
    set_RX_BackColor(kButtonFace);
    purge_monitor_link();
}

void Frm_Monitor::before_chunk() {
    // The box holds its lines with CR LF: the document counts a line end as one character
    // (and ends in one more), so each line end is counted once again.
    const QTextDocument* doc = Data->document();
    const auto held = static_cast<size_t>(doc->characterCount() - 1 + doc->blockCount() - 1);
    if (held + pending_lines_.size() > kDataLimit) clear_Data();
}

void Frm_Monitor::before_yield() {
    flush_lines();
}

void Frm_Monitor::Unload(bool end_if_last) {
    if (unloaded_) return;
    unloaded_ = true;
    if (g_monitor == this) g_monitor = nullptr;
    hide();
    // A Start still on the call stack (Exit pressed at one of its yields) deletes the
    // window once it has returned.
    if (handlers_running_ > 0) {
        unload_pending_ = true;
    } else {
        deleteLater();
    }
    if (!end_if_last) return;
    // The help pages are windows of the program too: they go with it.
    platform::ui::services().html_help(help_file(), platform::ui::kHelpCloseAll, 0);
    platform::ui::quit_when_no_window_left();
}

void Frm_Monitor::closeEvent(QCloseEvent* event) {
    if (!unloaded_) monExit_Click();
    event->accept();
}

Frm_Monitor* enter_monitor(const std::function<void()>& unload_console) {
    send_monitor_entry();
    if (unload_console) unload_console();
    Frm_Monitor* m = Frm_Monitor::Load();
    m->show();
    return m;
}

}  // namespace velmora::monitor
