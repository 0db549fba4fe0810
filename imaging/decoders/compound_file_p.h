#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace pictarium {

// A compound file (OLE structured storage, as FlashPix uses it), read from
// memory: a tree of storages holding streams, each stream a chain of
// sectors in the file or, when small, of mini sectors in the root's stream.
// Everything that does not add up throws MalformedPicture.
class CompoundFile {
public:
    static constexpr std::uint32_t Root = 0;

    explicit CompoundFile(QByteArrayView bytes);

    [[nodiscard]] static bool hasSignature(QByteArrayView bytes);

    // The entries right under a storage, with their names.
    struct Child {
        QString name;
        std::uint32_t entry = 0;
    };
    [[nodiscard]] QList<Child> children(std::uint32_t storage) const;
    // The child of that name, compared without case as the format does.
    [[nodiscard]] std::optional<std::uint32_t> child(std::uint32_t storage,
                                                     const QString& name) const;
    // A stream entry's bytes.
    [[nodiscard]] QByteArray stream(std::uint32_t entry) const;

private:
    struct Entry {
        QString name;
        std::uint8_t type = 0;
        std::uint32_t left = 0;
        std::uint32_t right = 0;
        std::uint32_t child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    void readAllocation(std::uint32_t fatSectors, std::uint32_t difatStart);
    void readDirectory(std::uint32_t start);
    [[nodiscard]] QByteArrayView sector(std::uint32_t index) const;
    [[nodiscard]] std::vector<std::uint32_t> chain(std::uint32_t start,
                                                   const std::vector<std::uint32_t>& table) const;
    [[nodiscard]] QByteArray chainBytes(std::uint32_t start) const;

    QByteArrayView mBytes;
    qsizetype mSectorSize = 512;
    std::uint32_t mMiniCutoff = 4096;
    std::vector<std::uint32_t> mFat;
    std::vector<std::uint32_t> mMiniFat;
    std::vector<Entry> mEntries;
    QByteArray mMiniStream;
};

}  // namespace pictarium
