#pragma once

#include "engine/bdp_format.h"
#include "engine/engine_host.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>

namespace pictarium {

class CommonDialog;

struct BaseState;

// The image-base engine: sole reader and writer of .bdp files. It holds at
// most one open base, reports to the user itself through its host and tells
// the host which commands make sense through the button events.
class ClassDBP {
public:
    explicit ClassDBP(EngineHost& host);
    ~ClassDBP();
    ClassDBP(const ClassDBP&) = delete;
    ClassDBP& operator=(const ClassDBP&) = delete;

    // Asks for the name of a picture file to write; false when cancelled.
    bool gSaveFile(CommonDialog& Dlg, QString& ifName);
    // Writes the picture as BMP or JPEG, chosen by the name's last three
    // characters; reports nothing.
    void SaveFileInDsk(const QImage& Ipic, const QString& ifileName);
    [[nodiscard]] bool FileExists(const QString& Filename) const;
    bool CreateBDP(const QString& ifileName);
    bool OpenBDP(const QString& ifileName);
    bool MoveFirst();
    bool MoveEnd();
    bool MoveLast();  // one record back
    bool MoveNext();
    bool AddBDP(const QImage& Ipic, const QString& iText);
    bool DeleteBDP();
    bool SearchBDP(const QString& iText, bool iLast = false);
    bool GetInfosBDP();

    // Shows record `index`, the way every operation shows a record: the
    // record before it becomes current, then MoveNext. For front ends that
    // address records by number.
    bool MoveTo(std::int32_t index);

    // What front ends and tests may read of the state, never change.
    [[nodiscard]] bool isBaseOpen() const;
    [[nodiscard]] const QString& fileName() const;
    [[nodiscard]] std::int32_t recordCount() const;
    [[nodiscard]] std::int32_t currentIndex() const;
    // The index entry of the record read last.
    [[nodiscard]] const IndexEntry& currentEntry() const;
    // The record read last as a bitmap file, rebuilt from its stored bytes.
    [[nodiscard]] const QByteArray& currentPictureFile() const;

private:
    void RefreshButtons();
    [[nodiscard]] QString TempBasePath() const;
    [[nodiscard]] QString BackupBasePath() const;
    [[nodiscard]] QImage BytesToPicture() const;
    bool PictureToBytes(const QImage& picture, QByteArray& bitmapFile);
    void ShowError(int number);

    void ReadRecord(std::int32_t index, QImage& picture, QString& text);
    bool showRecord(std::int32_t index);
    bool failRecordRead(int number);
    // The checks that open every operation on the base, each with its box.
    bool isBaseReady();
    bool hasCurrentRecord(const QString& emptyBaseMessage);
    bool passesMoveGuard();
    void appendRecord(const QString& text);
    void writeBaseWith(const QString& text);
    [[nodiscard]] qsizetype storedPictureLength() const;
    void recoverFailedAdd(int number);
    void writeBaseWithout(std::int32_t removedIndex);
    [[nodiscard]] std::int32_t findText(const QByteArray& query, bool backwards);

    void stopBox(const QString& text);
    void informationBox(const QString& text, const QString& title);
    [[nodiscard]] bool askYesNo(const QString& text, MessageIcon icon);
    void setBusy(bool busy);

    EngineHost& mHost;
    std::unique_ptr<BaseState> mState;
};

}  // namespace pictarium
