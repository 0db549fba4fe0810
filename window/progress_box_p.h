#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <chrono>

class QWidget;

namespace pictarium {

// The progress box of a long engine operation: nothing for a short one,
// and once it has lasted `delay`, a modal box in French that shows how far
// it is and offers "Annuler". Each report lets the window repaint.
class ProgressBox {
public:
    ProgressBox(QWidget* owner, std::chrono::milliseconds delay);
    ~ProgressBox();
    ProgressBox(const ProgressBox&) = delete;
    ProgressBox& operator=(const ProgressBox&) = delete;

    // `done` of `total`; a total of 0 shows a box that only waits. False
    // once the user has asked to stop.
    bool report(const QString& label, std::int64_t done, std::int64_t total);
    // The operation is over: the box goes, and the next report starts a
    // new operation.
    void finish();

private:
    QWidget* mOwner;
    std::chrono::milliseconds mDelay;
    QElapsedTimer mSince;
    QPointer<QProgressDialog> mDialog;
    bool mCancelled = false;
};

}  // namespace pictarium
