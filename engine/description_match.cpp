#include "engine/description_match.h"

#include "base/windows_1252.h"
#include "engine/bdp_format.h"

#include <algorithm>
#include <array>

namespace pictarium {

namespace {

// The query in stored form, as a decoded description would be: control
// bytes dropped, then upper-cased.
QByteArray storedQuery(const QString& text) {
    QByteArray flipped = TextToBytes(text);
    FlipBytes(flipped);
    QByteArray query;
    query.reserve(flipped.size());
    for (const char byte : std::as_const(flipped)) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 32) {
            query.append(static_cast<char>(upperWindows1252(value)));
        }
    }
    return query;
}

}  // namespace

DescriptionMatch::DescriptionMatch(const QString& query) : mQuery(storedQuery(query)) {}

bool DescriptionMatch::matches(const QString& description) const {
    QByteArray stored = TextToBytes(description);
    FlipBytes(stored);
    return matchesStored(stored.constData(), static_cast<std::size_t>(stored.size()));
}

bool DescriptionMatch::matchesStored(const char* bytes, std::size_t length) const {
    if (mQuery.isEmpty()) {
        return true;
    }
    const auto& upper = windows1252UpperTable();
    std::array<char, MaxTextLength> window;  // only its first `kept` bytes are read
    const std::size_t kept = std::min(length, window.size());
    const auto end = window.begin() + static_cast<std::ptrdiff_t>(kept);
    std::transform(bytes, bytes + kept, window.begin(), [&upper](char byte) {
        return static_cast<char>(upper[static_cast<unsigned char>(byte)]);
    });
    return std::search(window.begin(), end, mQuery.begin(), mQuery.end()) != end;
}

}  // namespace pictarium
