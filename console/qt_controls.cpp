#include "qt_controls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>

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

// The list's pick, as the drop-down container reports it to its box; connected after the
// box's own handling, so the box holds the picked text when `click` runs.
class ListPick : public QObject {
    Q_OBJECT
  public:
    ListPick(QComboBox* box, std::function<void()> click) : QObject(box), click_(std::move(click)) {
        QObject* list = box->view()->parentWidget();
        const bool wired = connect(list, SIGNAL(itemSelected(QModelIndex)), this, SLOT(picked()));
        Q_ASSERT_X(wired, "on_list_pick", "the drop-down list reports no pick");
        (void)wired;
    }

  public slots:
    void picked() { click_(); }

  private:
    std::function<void()> click_;
};

void on_list_pick(QComboBox* box, std::function<void()> click) {
    new ListPick(box, std::move(click));
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

#include "qt_controls.moc"
