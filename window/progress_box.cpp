#include "window/progress_box_p.h"

#include "window/child_widget_p.h"

#include <QCoreApplication>

namespace pictarium {

namespace {

// The bar counts in thousandths, whatever the size of the operation.
constexpr int Steps = 1000;

}  // namespace

ProgressBox::ProgressBox(QWidget* owner, std::chrono::milliseconds delay)
    : mOwner(owner), mDelay(delay) {}

ProgressBox::~ProgressBox() {
    finish();
}

bool ProgressBox::report(const QString& label, std::int64_t done, std::int64_t total) {
    if (!mSince.isValid()) {
        mSince.start();
        mCancelled = false;
    }
    if (mDialog == nullptr && std::chrono::milliseconds(mSince.elapsed()) >= mDelay) {
        mDialog = createChild<QProgressDialog>(mOwner, QStringLiteral("ProgressBox"));
        mDialog->setWindowTitle(QStringLiteral("Tessaline Pictarium"));
        mDialog->setCancelButtonText(QStringLiteral("Annuler"));
        mDialog->setWindowModality(Qt::WindowModal);
        mDialog->setMinimumDuration(0);
        mDialog->setAutoClose(false);
        mDialog->setAutoReset(false);
        mDialog->show();
    }
    if (mDialog != nullptr) {
        mDialog->setLabelText(label);
        mDialog->setRange(0, total > 0 ? Steps : 0);
        if (total > 0) {
            mDialog->setValue(static_cast<int>(done * Steps / total));
        }
    }
    // Paints, and the box's own button; input to the window itself is held
    // back by the command that runs.
    QCoreApplication::processEvents();
    if (mDialog != nullptr && mDialog->wasCanceled()) {
        mCancelled = true;
    }
    return !mCancelled;
}

void ProgressBox::finish() {
    mSince.invalidate();
    if (mDialog != nullptr) {
        mDialog->hide();
        mDialog->deleteLater();
        mDialog = nullptr;
    }
}

}  // namespace pictarium
