#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

class QLabel;

namespace pictarium {

class PictureView;

// "Visionneuse – base.bdp": the record on show at full size, with its
// description and its place in the base under it. Its keys browse the
// base through the main window, so that both show the same record.
class ViewerWindow : public QWidget {
public:
    enum class Step { First, Previous, Next, Last };
    using Browse = std::function<void(Step)>;

    ViewerWindow(Browse browse, QWidget* parent);

    void setBaseName(const QString& fileName);
    // The record now on show in the main window (its picture shared, not
    // copied); `index` is 0-based, -1 for none.
    void showRecord(const QImage& picture, const QString& text, std::int32_t index,
                    std::int32_t count);

    [[nodiscard]] PictureView& view() const { return *mView; }

private:
    void addKeys();
    void addAction(const QString& name, const QString& text, const QList<QKeySequence>& keys,
                   const std::function<void()>& action);
    void toggleFullScreen();
    void showZoom();

    Browse mBrowse;
    PictureView* mView = nullptr;
    QLabel* mText = nullptr;
    QLabel* mPosition = nullptr;
    QLabel* mZoom = nullptr;
};

}  // namespace pictarium
