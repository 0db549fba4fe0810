#include "imaging/decoders/compound_file_p.h"

#include "imaging/core/byte_reader.h"

#include <algorithm>
#include <set>

namespace pictarium {

namespace {

constexpr QByteArrayView Signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr qsizetype HeaderSize = 512;
constexpr qsizetype EntrySize = 128;
constexpr qsizetype MiniSectorSize = 64;
constexpr std::uint32_t LastRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t NoEntry = 0xFFFFFFFF;
constexpr int HeaderDifatEntries = 109;
constexpr std::uint8_t StorageType = 1;
constexpr std::uint8_t StreamType = 2;
constexpr std::uint8_t RootType = 5;

std::vector<std::uint32_t> tableOf(QByteArrayView bytes) {
    ByteReader reader(bytes);
    std::vector<std::uint32_t> table;
    table.reserve(static_cast<std::size_t>(bytes.size() / 4));
    while (reader.remaining() >= 4) {
        table.push_back(reader.u32le());
    }
    return table;
}

}  // namespace

bool CompoundFile::hasSignature(QByteArrayView bytes) {
    return bytes.startsWith(Signature);
}

CompoundFile::CompoundFile(QByteArrayView bytes) : mBytes(bytes) {
    requireValid(hasSignature(bytes) && bytes.size() >= HeaderSize);
    ByteReader header(bytes, 0x1C);
    requireValid(header.u16le() == 0xFFFE);  // byte order
    const std::uint16_t sectorShift = header.u16le();
    const std::uint16_t miniShift = header.u16le();
    requireValid((sectorShift == 9 || sectorShift == 12) && miniShift == 6);
    mSectorSize = qsizetype{1} << sectorShift;
    header.skip(10);  // reserved, directory sector count
    const std::uint32_t fatSectors = header.u32le();
    const std::uint32_t directoryStart = header.u32le();
    header.skip(4);  // transaction signature
    mMiniCutoff = header.u32le();
    const std::uint32_t miniFatStart = header.u32le();
    header.skip(4);  // mini FAT sector count: the chain says it
    const std::uint32_t difatStart = header.u32le();
    readAllocation(fatSectors, difatStart);
    readDirectory(directoryStart);
    requireValid(!mEntries.empty() && mEntries[Root].type == RootType);
    if (miniFatStart < LastRegularSector) {
        mMiniFat = tableOf(chainBytes(miniFatStart));
    }
    const Entry& root = mEntries[Root];
    if (root.size > 0) {
        mMiniStream = chainBytes(root.start);
        requireValid(root.size <= static_cast<std::uint64_t>(mMiniStream.size()));
        mMiniStream.truncate(static_cast<qsizetype>(root.size));
    }
}

QByteArrayView CompoundFile::sector(std::uint32_t index) const {
    const std::uint64_t start = std::uint64_t{index + 1ull} * mSectorSize;
    requireValid(start + mSectorSize <= static_cast<std::uint64_t>(mBytes.size()));
    return mBytes.sliced(static_cast<qsizetype>(start), mSectorSize);
}

void CompoundFile::readAllocation(std::uint32_t fatSectors, std::uint32_t difatStart) {
    // A file cannot hold more allocation sectors than sectors.
    requireValid(fatSectors <= static_cast<std::uint64_t>(mBytes.size() / mSectorSize));
    std::vector<std::uint32_t> fatSectorList;
    ByteReader header(mBytes, 0x4C);
    for (int i = 0; i < HeaderDifatEntries; ++i) {
        fatSectorList.push_back(header.u32le());
    }
    std::uint32_t next = difatStart;
    std::set<std::uint32_t> visited;
    while (next < LastRegularSector && fatSectorList.size() < fatSectors) {
        requireValid(visited.insert(next).second);
        std::vector<std::uint32_t> entries = tableOf(sector(next));
        next = entries.back();
        entries.pop_back();
        fatSectorList.insert(fatSectorList.end(), entries.begin(), entries.end());
    }
    requireValid(fatSectorList.size() >= fatSectors);
    for (std::uint32_t i = 0; i < fatSectors; ++i) {
        const std::vector<std::uint32_t> part = tableOf(sector(fatSectorList[i]));
        mFat.insert(mFat.end(), part.begin(), part.end());
    }
}

std::vector<std::uint32_t> CompoundFile::chain(std::uint32_t start,
                                               const std::vector<std::uint32_t>& table) const {
    std::vector<std::uint32_t> sectors;
    std::vector<bool> seen(table.size());
    for (std::uint32_t at = start; at < LastRegularSector; at = table[at]) {
        // A chain that comes back to a sector loops.
        requireValid(at < table.size() && !seen[at]);
        seen[at] = true;
        sectors.push_back(at);
    }
    return sectors;
}

QByteArray CompoundFile::chainBytes(std::uint32_t start) const {
    QByteArray bytes;
    for (const std::uint32_t at : chain(start, mFat)) {
        const QByteArrayView part = sector(at);
        bytes.append(part.data(), part.size());
    }
    return bytes;
}

void CompoundFile::readDirectory(std::uint32_t start) {
    const QByteArray directory = chainBytes(start);
    for (qsizetype at = 0; at + EntrySize <= directory.size(); at += EntrySize) {
        ByteReader reader(QByteArrayView(directory).sliced(at, EntrySize));
        const QByteArrayView nameBytes = reader.take(64);
        const std::uint16_t nameLength = reader.u16le();
        Entry entry;
        const qsizetype characters = std::clamp<qsizetype>(nameLength / 2 - 1, 0, 31);
        for (qsizetype i = 0; i < characters; ++i) {
            entry.name.append(QChar(
                static_cast<char16_t>(static_cast<std::uint8_t>(nameBytes[2 * i]) |
                                      (static_cast<std::uint8_t>(nameBytes[2 * i + 1]) << 8))));
        }
        entry.type = reader.u8();
        (void)reader.u8();  // colour in the tree
        entry.left = reader.u32le();
        entry.right = reader.u32le();
        entry.child = reader.u32le();
        reader.skip(16 + 4 + 16);  // class, state bits, times
        entry.start = reader.u32le();
        entry.size = reader.u32le();
        if (mSectorSize > 512) {
            entry.size |= std::uint64_t{reader.u32le()} << 32;
        }
        mEntries.push_back(entry);
    }
}

QList<CompoundFile::Child> CompoundFile::children(std::uint32_t storage) const {
    requireValid(storage < mEntries.size());
    QList<Child> found;
    std::vector<std::uint32_t> pending{mEntries[storage].child};
    std::set<std::uint32_t> visited;
    while (!pending.empty()) {
        const std::uint32_t at = pending.back();
        pending.pop_back();
        if (at == NoEntry) {
            continue;
        }
        requireValid(at < mEntries.size() && visited.insert(at).second);
        const Entry& entry = mEntries[at];
        if (entry.type == StorageType || entry.type == StreamType) {
            found.append(Child{entry.name, at});
        }
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
    return found;
}

std::optional<std::uint32_t> CompoundFile::child(std::uint32_t storage, const QString& name) const {
    for (const Child& child : children(storage)) {
        if (child.name.compare(name, Qt::CaseInsensitive) == 0) {
            return child.entry;
        }
    }
    return std::nullopt;
}

QByteArray CompoundFile::stream(std::uint32_t entry) const {
    requireValid(entry < mEntries.size() && mEntries[entry].type == StreamType);
    const Entry& stream = mEntries[entry];
    requireValid(stream.size <= static_cast<std::uint64_t>(mBytes.size()));
    const auto size = static_cast<qsizetype>(stream.size);
    QByteArray bytes;
    if (stream.size < mMiniCutoff) {
        for (const std::uint32_t at : chain(stream.start, mMiniFat)) {
            const qsizetype offset = qsizetype{at} * MiniSectorSize;
            requireValid(offset + MiniSectorSize <= mMiniStream.size());
            bytes.append(mMiniStream.constData() + offset, MiniSectorSize);
            if (bytes.size() >= size) {
                break;
            }
        }
    } else {
        bytes = chainBytes(stream.start);
    }
    requireValid(bytes.size() >= size);
    bytes.truncate(size);
    return bytes;
}

}  // namespace pictarium
