#pragma once

#include "base/binary_file.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QFileSystemWatcher;
class QLineEdit;
class QListView;
class QPrinter;
class QSlider;
class QTimer;

namespace pictarium {

class ContactSheetModel;
class ThumbnailMaker;

// "Planche contact – base.bdp": every record of the base as a thumbnail
// with its position and the start of its description, in a grid that
// follows the window's width. It reads the base through a read-only handle
// of its own, so it shows the base as it is on disk, whoever changed it;
// its changes go through the main window, as the window's own do.
class ContactSheetWindow : public QWidget {
public:
    // What the sheet asks of the main window; records by their index in
    // the base.
    struct Commands {
        std::function<void(std::int32_t)> show;
        std::function<void(const QList<std::int32_t>&)> remove;
        std::function<void(const QList<std::int32_t>&, std::int32_t before)> move;
        std::function<void(std::int32_t, const QString& description)> editDescription;
        std::function<void(const QList<std::int32_t>&)> exportPictures;
        // A failure to say in a stop box.
        std::function<void(const QString&)> tell;
    };
    static constexpr int SmallestEdge = 96;
    static constexpr int LargestEdge = 320;

    ContactSheetWindow(Commands commands, const QString& thumbnailFolder, QWidget* parent);
    ~ContactSheetWindow() override;
    ContactSheetWindow(const ContactSheetWindow&) = delete;
    ContactSheetWindow& operator=(const ContactSheetWindow&) = delete;

    // Shows the base at `path`, read again when it changed on disk since
    // it was last read.
    void showBase(const QString& path);
    // Reads the base again, whatever changed.
    void reload();
    // The records selected, in the base's order.
    [[nodiscard]] QList<std::int32_t> selectedRecords() const;
    // Prints `records` as a catalogue of `columns` columns on `printer`.
    bool printCatalogue(QPrinter& printer, const QList<std::int32_t>& records, int columns) const;

    [[nodiscard]] ContactSheetModel& model() const { return *mModel; }
    [[nodiscard]] QListView& grid() const { return *mGrid; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void addActions();
    void setEdge(int edge);
    void requestVisible();
    void print();
    [[nodiscard]] std::int32_t currentRecord() const;

    Commands mCommands;
    QString mPath;
    std::optional<FileStatus> mReadStatus;
    std::unique_ptr<ThumbnailMaker> mMaker;
    quint64 mGeneration = 0;
    ContactSheetModel* mModel = nullptr;
    QListView* mGrid = nullptr;
    QLineEdit* mFilter = nullptr;
    QSlider* mSize = nullptr;
    QFileSystemWatcher* mWatcher = nullptr;
    QTimer* mReread = nullptr;
    QTimer* mRequest = nullptr;
};

}  // namespace pictarium
