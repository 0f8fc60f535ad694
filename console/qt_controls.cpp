#include "qt_controls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>
#include <utility>

#include "console_startup.h"

namespace velmora {
namespace {

constexpr const char* kBackColorProperty = "BackColor";

QColor from_bgr(uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

template <typename Box>
void look(Box* box, Look l) {
    if (l == Look::Keep) return;
    box->setReadOnly(l == Look::Read);
    if (l == Look::Unlocked) return;
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, l == Look::Read
                                     ? from_bgr(kReadBoxColour)
                                     : QApplication::palette(box).color(QPalette::Base));
    box->setPalette(pal);
}

}  // namespace

// A change of the box's item by the user: a pick in the open list, or the arrow and page
// keys and the wheel over the closed box. Each of them reports `activated`; so do Return
// and a focus loss whose text equals an item, which must not count. The input that led to
// the signal tells them apart: input over the open list or an item key or the wheel on the
// box marks the next `activated` as a pick, any other key or a focus change unmarks it.
class ListPick : public QObject {
  public:
    ListPick(QComboBox* box, std::function<void()> click)
        : QObject(box), box_(box), click_(std::move(click)) {
        box->installEventFilter(this);
        // Installed after the open list's own filters, so these run first.
        for (QObject* list :
             {static_cast<QObject*>(box->view()), static_cast<QObject*>(box->view()->viewport())})
            list->installEventFilter(this);
        connect(box, &QComboBox::activated, this, [this] {
            if (std::exchange(picked_, false)) click_();
        });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched != box_) {
            if (type == QEvent::MouseButtonRelease || type == QEvent::KeyPress ||
                type == QEvent::ShortcutOverride)
                picked_ = true;
        } else if (type == QEvent::Wheel) {
            picked_ = true;
        } else if (type == QEvent::KeyPress) {
            picked_ = is_item_key(static_cast<QKeyEvent*>(event)->key());
        } else if (type == QEvent::FocusOut || type == QEvent::MouseButtonPress ||
                   type == QEvent::InputMethod) {
            picked_ = false;
        }
        return false;
    }

  private:
    static bool is_item_key(int key) {
        switch (key) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                return true;
            default:
                return false;
        }
    }

    QComboBox* const box_;
    const std::function<void()> click_;
    bool picked_ = false;
};

void on_list_pick(QComboBox* box, std::function<void()> click) {
    new ListPick(box, std::move(click));
}

void write_list_text(QComboBox* box, const QString& text) {
    if (const int item = box->findText(text); item >= 0) box->setCurrentIndex(item);
    box->setEditText(text);
}

void write_box(QLineEdit* box, const QString& text) {
    if (box->text() == text)
        emit box->textChanged(text);
    else
        box->setText(text);
}

QLabel* make_label(QWidget* parent, const char* name, const char* caption) {
    return named(new QLabel(QString::fromLatin1(caption), parent), name);
}

QLineEdit* make_box(QWidget* parent, const char* name, const char* text, int width) {
    auto* b = named(new QLineEdit(QString::fromLatin1(text), parent), name);
    b->setFixedWidth(width);
    return b;
}

QPushButton* make_button(QWidget* parent, const char* name, const char* caption) {
    return named(new QPushButton(QString::fromLatin1(caption), parent), name);
}

QRadioButton* make_option(QWidget* parent, const char* name, const char* caption) {
    return named(new QRadioButton(QString::fromLatin1(caption), parent), name);
}

void apply_look(QLineEdit* box, Look l) {
    look(box, l);
}
void apply_look(QPlainTextEdit* box, Look l) {
    look(box, l);
}

bool has_read_look(const QWidget* box) {
    return box->palette().color(QPalette::Base) == from_bgr(kReadBoxColour);
}

std::string crlf_text(const QPlainTextEdit* box) {
    return ss(box->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n")));
}

void set_crlf_text(QPlainTextEdit* box, std::string_view text) {
    box->setPlainText(qs(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void set_back_color(QWidget* button, uint32_t bgr) {
    button->setProperty(kBackColorProperty, QVariant::fromValue<quint32>(bgr));
    QPalette pal = QApplication::palette(button);
    if (bgr != kButtonFace) pal.setColor(QPalette::Button, from_bgr(bgr));
    button->setPalette(pal);
    button->setAutoFillBackground(bgr != kButtonFace);
}

uint32_t back_color(const QWidget* button) {
    QVariant v = button->property(kBackColorProperty);
    return v.isValid() ? v.value<quint32>() : kButtonFace;
}

}  // namespace velmora
