#include "number_formats.h"

#include <QLocale>

#include "qt_controls.h"

namespace velmora {

formats::NumberFormat user_number_format() {
    const QLocale locale;
    return {ss(locale.decimalPoint()), ss(locale.groupSeparator())};
}

}  // namespace velmora
