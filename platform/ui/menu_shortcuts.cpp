#include "menu_shortcuts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace platform::ui {
namespace {

// Asked first whether a key is a shortcut, a text box claims keys such as Ctrl+A for
// itself. Seen before any control of the window, a key of one of its enabled menu items is
// left unclaimed, so the item runs.
class MenuShortcutsFirst : public QObject {
  public:
    explicit MenuShortcutsFirst(QWidget* window) : QObject(window), window_(window) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != window_) return false;
        const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
        for (QAction* a : window_->findChildren<QAction*>())
            if (a->shortcuts().contains(key) && reachable(a)) {
                event->ignore();  // unclaimed: the shortcut runs
                return true;
            }
        return false;
    }

  private:
    // Enabled, and so is every menu that holds it.
    static bool reachable(const QAction* a) {
        if (!a->isEnabled()) return false;
        for (QObject* holder : a->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(holder); menu && !menu->isEnabled()) return false;
        return true;
    }

    QWidget* const window_;
};

}  // namespace

void claim_menu_shortcuts(QWidget* window) {
    new MenuShortcutsFirst(window);
}

}  // namespace platform::ui
