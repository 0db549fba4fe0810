#pragma once

#include "engine/base_trash.h"
#include "engine/bdp_format.h"
#include "engine/engine_host.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace pictarium {

class DescriptionMatch;

class CommonDialog;

class BinaryFile;
class RunFailure;
struct ArrangedRecord;
struct BaseState;
struct RecoveryReport;
struct RewritePaths;
struct VersionWriter;

// A record to add: its picture and its description.
struct NewRecord {
    QImage picture;
    QString text;
};

// A new description for record `index`.
struct TextChange {
    std::int32_t index = 0;
    QString text;
};

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
    // Writes the picture as BMP, JPEG or PNG, chosen by the name's
    // extension; false, with the stop box given, for a name of another
    // kind or a file that could not be written (named in the box).
    bool SaveFileInDsk(const QImage& Ipic, const QString& ifileName);
    [[nodiscard]] bool FileExists(const QString& Filename) const;
    bool CreateBDP(const QString& ifileName);
    bool OpenBDP(const QString& ifileName);
    bool MoveFirst();
    bool MoveEnd();
    bool MoveLast();  // one record back
    bool MoveNext();
    bool AddBDP(const QImage& Ipic, const QString& iText);
    // Adds `records` at the end, in their order, through one rewrite, as
    // AddBDP adds one: every text and picture passes AddBDP's checks before
    // anything is written, the first refused giving its message and nothing
    // added; then the last new record is shown. Each picture is released
    // once converted, so a caller that moves its records in holds one copy.
    // `refused`, when given, is set to the position of the record that
    // failed its checks, or -1.
    bool AddRecordsBDP(QList<NewRecord> records, qsizetype* refused = nullptr);
    bool DeleteBDP();
    // Deletes the records at `indexes` (as the base numbers them before the
    // delete), in one rewrite, keeping them in the base's trash; then shows
    // the record that took the place of the first, or the last record.
    // Nothing is deleted when an index is repeated or outside the base.
    // `trashed`, when given, receives the records' files in the trash.
    bool DeleteRecordsBDP(const QList<std::int32_t>& indexes, QStringList* trashed = nullptr);
    // The records of the open base's trash, oldest first.
    [[nodiscard]] QList<TrashedRecord> TrashBDP();
    // The picture of a record of the trash; a null one when it cannot be read.
    [[nodiscard]] QImage TrashPicture(const TrashedRecord& record) const;
    // Puts records of the trash back where they stood (or at the end of a
    // base now shorter), in one rewrite, and takes them out of the trash;
    // then shows the first of them. `placed`, when given, receives where
    // they stand now.
    bool RestoreBDP(QList<TrashedRecord> trashed, QList<std::int32_t>* placed = nullptr);
    // Forgets every record of the open base's trash.
    bool EmptyTrashBDP();
    // Gives records new descriptions, checked as AddBDP checks them before
    // anything is written, in one rewrite; then shows the last one changed.
    // `refused`, when given, is set to the position of the change that
    // failed its checks, or -1.
    bool ChangeTextsBDP(const QList<TextChange>& changes, qsizetype* refused = nullptr);
    // Moves record `from` so that it ends at position `to`, the others
    // keeping their order, in one rewrite; then shows it.
    bool MoveRecordBDP(std::int32_t from, std::int32_t to);
    // Puts the records in a new order, in one rewrite: record k of the new
    // base is record order[k] of the old; then shows record `shown` of the
    // new base. `order` must name every record once.
    bool ReorderBDP(const QList<std::int32_t>& order, std::int32_t shown);
    bool SearchBDP(const QString& iText, bool iLast = false);
    bool GetInfosBDP();

    // Shows record `index`, the way every operation shows a record: the
    // record before it becomes current, then MoveNext. For front ends that
    // address records by number.
    bool MoveTo(std::int32_t index);
    // Makes record `index` current without reading its picture, for front
    // ends that name records by number and need no picture (to list, to
    // delete or to search from one): its entry and text are read, and no
    // event is raised. False, with the message given, when it cannot be.
    bool SelectRecord(std::int32_t index);
    // Takes the lock of the base `ifileName` for as long as the engine
    // lives, for a front end that opens a base in order to change it: no
    // other program changes the base between the opening and the change.
    // False, with the message given, when another program keeps it longer
    // than the host's patience.
    bool ReserveBDP(const QString& ifileName);
    // Writes the records `found` in the damaged base `damaged` into a new
    // base `newName`, created as CreateBDP creates a base (asking before it
    // replaces a file) and filled through the same rewrite as any change.
    // Never writes to `damaged`. False, with the message given, when no new
    // base was written; nothing is left of it then.
    bool RecoverBDP(const BinaryFile& damaged, const RecoveryReport& found, const QString& newName);

    // What front ends and tests may read of the state, never change.
    [[nodiscard]] bool isBaseOpen() const;
    [[nodiscard]] const QString& fileName() const;
    [[nodiscard]] std::int32_t recordCount() const;
    [[nodiscard]] std::int32_t currentIndex() const;
    // The index entry of the record read last.
    [[nodiscard]] const IndexEntry& currentEntry() const;
    // The record read last as a bitmap file, rebuilt from its stored bytes.
    [[nodiscard]] const QByteArray& currentPictureFile() const;
    // The text of the record read last, as GetContent delivers it.
    [[nodiscard]] QString currentText() const;

private:
    void RefreshButtons();
    [[nodiscard]] QString TempBasePath() const;
    [[nodiscard]] QString BackupBasePath() const;
    [[nodiscard]] QImage BytesToPicture() const;
    bool PictureToBytes(const QImage& picture, QByteArray& bitmapFile);
    void ShowError(const RunFailure& failure);

    void ReadRecord(std::int32_t index, QImage& picture, QString& text);
    void readText(std::int32_t textAt, std::int32_t length);
    bool showRecord(std::int32_t index);
    bool failRecordRead(const RunFailure& failure);
    // The checks that open every operation on the base, each with its box.
    bool isBaseReady();
    bool hasCurrentRecord(const QString& emptyBaseMessage);
    bool passesMoveGuard();
    // Whether the file at FileName is still the base as the engine opened it.
    [[nodiscard]] bool isBaseUnchanged() const;
    void reopenChangedBase();
    [[nodiscard]] bool isBaseConsistent() const;

    // Rewrites: the new version written by `writer` into the temporary
    // file, `newSize` bytes long, replaces the base under its locks. False
    // when it was refused or cancelled, said to the user already; a
    // failure is thrown.
    bool replaceBaseWith(LongOperation operation, std::int64_t newSize,
                         const VersionWriter& writer);
    [[nodiscard]] RewritePaths rewritePaths() const;
    void reopenAfterRewrite();
    bool checkNewRecord(const NewRecord& record, QByteArray& bitmapFile);
    void recoverFailedAdd(const RunFailure& failure);
    bool isRecordIndex(std::int32_t index);
    bool isAcceptableText(const QString& text);
    // `beforeWriting` runs under the base's lock, once the base is found
    // unchanged, before the new version is written.
    bool rearrangeBase(LongOperation operation, const std::vector<ArrangedRecord>& records,
                       std::int32_t shown, const std::function<void()>& beforeWriting = {});
    [[nodiscard]] std::int32_t findText(const DescriptionMatch& query, bool backwards);

    void stopBox(const QString& text);
    void damagedBaseBox(const QString& text);
    void informationBox(const QString& text, const QString& title);
    [[nodiscard]] bool askYesNo(const QString& text, MessageIcon icon);
    void setBusy(bool busy);

    EngineHost& mHost;
    std::unique_ptr<BaseState> mState;
};

}  // namespace pictarium
