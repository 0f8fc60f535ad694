#include "qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <vector>

#include "qt_text.h"

namespace platform::ui {
namespace {

std::vector<QPointer<QTextBrowser>>& help_windows() {
    static std::vector<QPointer<QTextBrowser>> windows;
    return windows;
}

}  // namespace

std::string qt_filter(const std::string& pairs) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : pairs) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (char& c : patterns)
            if (c == ';') c = ' ';
        if (!out.empty()) out += ";;";
        // Qt reads the patterns from the parentheses of the description.
        out += parts[i] + " (" + patterns + ")";
    }
    return out;
}

Answer QtServices::message_box(const MessageBox& box) {
    QMessageBox mb(QApplication::activeWindow());
    mb.setText(qs(box.text));
    mb.setWindowTitle(box.title.empty() ? QApplication::applicationName() : qs(box.title));
    switch (box.icon) {
        case Icon::Information:
            mb.setIcon(QMessageBox::Information);
            break;
        case Icon::Question:
            mb.setIcon(QMessageBox::Question);
            break;
        case Icon::Warning:
            mb.setIcon(QMessageBox::Warning);
            break;
        case Icon::Error:
            mb.setIcon(QMessageBox::Critical);
            break;
        case Icon::None:
            break;
    }
    switch (box.buttons) {
        case Buttons::Ok:
            mb.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            mb.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (mb.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return Answer::Ok;
    }
}

static std::optional<std::string> run_dialog(const FileDialog& dlg, bool save) {
    QFileDialog fd(QApplication::activeWindow(), qs(dlg.title), qs(dlg.initial_dir),
                   qs(qt_filter(dlg.filter)));
    fd.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fd.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!dlg.default_ext.empty()) fd.setDefaultSuffix(qs(dlg.default_ext));
    if (!dlg.file_name.empty()) fd.selectFile(qs(dlg.file_name));
    if (save && !dlg.overwrite_prompt) fd.setOption(QFileDialog::DontConfirmOverwrite);
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) return std::nullopt;
    return fd.selectedFiles().front().toStdString();
}

std::optional<std::string> QtServices::open_file(const FileDialog& dlg) {
    return run_dialog(dlg, false);
}

std::optional<std::string> QtServices::save_file(const FileDialog& dlg) {
    return run_dialog(dlg, true);
}

void QtServices::html_help(const std::string& help_file, int command, int topic) {
    auto& windows = help_windows();
    if (command == kHelpCloseAll) {
        for (auto& w : windows)
            if (w) w->close();
        windows.clear();
        return;
    }
    if (command != kHelpDisplayTopic) return;
    QFileInfo chm(qs(help_file));
    QDir folder(chm.absolutePath() + "/" + chm.completeBaseName());
    QString page = folder.filePath(QString::number(topic) + ".html");
    if (!QFileInfo::exists(page)) page = folder.filePath("index.html");
    if (!QFileInfo::exists(page)) return;  // a missing help file is not reported
    auto* view = new QTextBrowser;
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setObjectName("HelpViewer");
    view->setWindowTitle(chm.completeBaseName() + " Help");
    view->setSearchPaths({folder.absolutePath()});
    view->setSource(QUrl::fromLocalFile(page));
    view->resize(640, 520);
    view->show();
    windows.push_back(view);
}

bool QtServices::shell_open(const std::string& path, const std::string&) {
    // Both "open" and "explore" hand the path to the desktop's default program.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(qs(path)));
}

void QtServices::set_clipboard_text(const std::string& text) {
    QApplication::clipboard()->setText(qs(text));
}

std::string QtServices::clipboard_text() {
    return QApplication::clipboard()->text().toStdString();
}

void QtServices::process_events() {
    QApplication::processEvents();
}

// Sleeps until an event that `flags` lets through comes, at most `max_seconds`: the
// timer's own event ends the sleep at the latest when it is due.
static void wait_for(double max_seconds, QEventLoop::ProcessEventsFlags flags) {
    constexpr double kLongestMs = 24.0 * 3600 * 1000;
    const double ms = max_seconds > 0 ? std::min(std::ceil(max_seconds * 1000), kLongestMs) : 0;
    QTimer due;
    due.setSingleShot(true);
    due.setTimerType(Qt::PreciseTimer);
    due.start(static_cast<int>(ms));
    QApplication::processEvents(flags | QEventLoop::WaitForMoreEvents);
}

void QtServices::wait_for_events(double max_seconds) {
    wait_for(max_seconds, QEventLoop::AllEvents);
}

void QtServices::wait_holding_input(double max_seconds) {
    wait_for(max_seconds, QEventLoop::ExcludeUserInputEvents);
}

namespace {

// Takes every input event and claims every shortcut key, so that none reaches a control
// or runs an action.
class SwallowInput : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
                event->accept();  // claimed: no shortcut runs
                return true;
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::InputMethod:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TouchCancel:
            case QEvent::TabletPress:
            case QEvent::TabletMove:
            case QEvent::TabletRelease:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

void drop_held_input() {
    SwallowInput swallow;
    qApp->installEventFilter(&swallow);
    QApplication::processEvents();
    qApp->removeEventFilter(&swallow);
}

void quit_when_no_window_left() {
    QMetaObject::invokeMethod(
        qApp,
        [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible()) return;
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}

void install_qt_services() {
    static QtServices qt;
    install(static_cast<Services*>(&qt));
}

}  // namespace platform::ui
