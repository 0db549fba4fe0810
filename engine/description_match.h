#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace pictarium {

// Whether a description holds a query, compared as the engine's search
// compares them: both in their stored form (Windows-1252, flipped), each
// character upper-cased within the code page. The query's characters whose
// stored byte is below 32 (codes 128 to 158) fall out of it, and an empty
// query is found everywhere.
class DescriptionMatch {
public:
    explicit DescriptionMatch(const QString& query);

    // The description as a record gives it back.
    [[nodiscard]] bool matches(const QString& description) const;
    // Stored bytes as the base holds them, at most 255 of them.
    [[nodiscard]] bool matchesStored(const char* bytes, std::size_t length) const;

private:
    QByteArray mQuery;  // stored form, upper-cased
};

}  // namespace pictarium
