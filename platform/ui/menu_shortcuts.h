// Menu shortcut keys that work from every control of a window.
#pragma once

class QWidget;

namespace platform::ui {

// The enabled menu items of `window` answer their shortcut keys from every control in it,
// text boxes and editable list boxes too: such a control would otherwise claim keys like
// Ctrl+A, Ctrl+C, Ctrl+V and Ctrl+X for its own editing.
void claim_menu_shortcuts(QWidget* window);

}  // namespace platform::ui
