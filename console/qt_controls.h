// Small helpers for the console's Qt controls: named controls, the colours of read and
// write boxes, multi-line texts with CR LF line ends, and colours given as 0x00BBGGRR.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "transaction_types.h"
#include "ui/menu_shortcuts.h"
#include "ui/qt_text.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace velmora {

using platform::ui::claim_menu_shortcuts;
using platform::ui::named;
using platform::ui::qs;
using platform::ui::ss;

QLabel* make_label(QWidget* parent, const char* name, const char* caption);
QLineEdit* make_box(QWidget* parent, const char* name, const char* text, int width);
QPushButton* make_button(QWidget* parent, const char* name, const char* caption);
QRadioButton* make_option(QWidget* parent, const char* name, const char* caption);

// Writes a text box from code as typing does: its change handling runs even when the
// box held that text already (Qt reports real changes only).
void write_box(QLineEdit* box, const QString& text);

// Writes a list box's text from code, with no click handling. A listed text becomes the
// box's item too, so that the arrow keys and the wheel move on from the item shown.
void write_list_text(QComboBox* box, const QString& text);

// Runs `click` when the user changes the box's item: a pick in the open list, or the arrow
// and page keys or the wheel over the closed box. Typing, Return, Tab, a focus change and
// writes from code never run it.
void on_list_pick(QComboBox* box, std::function<void()> click);

// Read: pale cyan and locked; Write: window colour and editable; Unlocked: editable.
void apply_look(QLineEdit* box, Look look);
void apply_look(QPlainTextEdit* box, Look look);
bool has_read_look(const QWidget* box);

// Multi-line text with CR LF between lines, as the request layer reads it.
std::string crlf_text(const QPlainTextEdit* box);
void set_crlf_text(QPlainTextEdit* box, std::string_view text);

// Background colour of a button; kButtonFace restores the style's own.
void set_back_color(QWidget* button, uint32_t bgr);
uint32_t back_color(const QWidget* button);

}  // namespace velmora
