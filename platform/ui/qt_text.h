// Texts between the plain C++ cores (UTF-8 std::string) and Qt, and controls carrying the
// names outside tests find them by.
#pragma once

#include <QLatin1String>
#include <QString>
#include <string>
#include <string_view>

namespace platform::ui {

inline QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string ss(const QString& s) {
    return s.toStdString();
}

// A control under its name (its objectName).
template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

}  // namespace platform::ui
