#pragma once

#include <QString>

#include <ostream>

// GoogleTest shows a QString that fails a check as its text, not as its
// UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* stream) {
    *stream << '"' << text.toStdString() << '"';
}
