#include "number_formats.h"

#include <QLocale>

#include "qt_controls.h"

namespace velmora {

formats::BusMode formats_mode(BusMode mode) {
    switch (mode) {
        case BusMode::SBS:
            return formats::BusMode::SmartBattery;
        case BusMode::PMBus:
            return formats::BusMode::PMBus;
        case BusMode::I2C:
            break;
    }
    return formats::BusMode::I2C;
}

formats::NumberFormat user_number_format() {
    const QLocale locale;
    return {ss(locale.decimalPoint()), ss(locale.groupSeparator())};
}

}  // namespace velmora
