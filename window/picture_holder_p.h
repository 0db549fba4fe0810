#pragma once

#include <QImage>
#include <QWidget>

namespace pictarium {

// A hidden picture box that holds one picture: the pending picture or the
// current one. Pictures are shared, never copied, when handed on.
class PictureHolder : public QWidget {
public:
    explicit PictureHolder(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
        hide();
    }

    [[nodiscard]] const QImage& picture() const { return mPicture; }
    [[nodiscard]] bool holdsPicture() const { return !mPicture.isNull(); }
    void setPicture(const QImage& picture) { mPicture = picture; }
    void clear() { mPicture = QImage(); }

private:
    QImage mPicture;
};

}  // namespace pictarium
