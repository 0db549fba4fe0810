// The engine's picture export: asking for a file name through the owner's
// common dialog and writing the picture on show through the imaging
// component. Both swallow every failure of their own steps.

#include "engine/class_dbp.h"
#include "engine/common_dialog.h"
#include "imaging/imaging_control.h"

#include <utility>

namespace pictarium {

namespace {

// Runs one step; a failure is noted, not raised, and the next step runs.
template <typename Step>
void resumeAfter(Step&& step, bool& failed) noexcept {
    try {
        step();
    } catch (...) {
        failed = true;
    }
}

template <typename Step>
void resumeAfter(Step&& step) noexcept {
    bool ignored = false;
    resumeAfter(std::forward<Step>(step), ignored);
}

constexpr int SaveBoxFlags = 0x28080C;  // hide read-only, keep folder, path must exist,
                                        // explorer style, long names

}  // namespace

bool ClassDBP::gSaveFile(CommonDialog& Dlg, QString& ifName) {
    bool failed = false;
    resumeAfter([&] { Dlg.setDialogTitle(QStringLiteral("Enregistrer l'image sous...")); }, failed);
    resumeAfter([&] { Dlg.setFlags(SaveBoxFlags); }, failed);
    resumeAfter([&] { Dlg.setCancelError(true); }, failed);
    resumeAfter(
        [&] { Dlg.setFilter(QStringLiteral("Bitmap(*.bmp)|*.bmp|Jpg compliant(*.jpg)|*.jpg")); },
        failed);
    resumeAfter([&] { Dlg.setFileName(ifName); }, failed);
    resumeAfter([&] { Dlg.setFilterIndex(1); }, failed);
    resumeAfter([&] { Dlg.ShowSave(); }, failed);
    if (failed) {
        return false;  // Cancel included
    }
    try {
        ifName = Dlg.FileName();
        return true;
    } catch (...) {
        return false;
    }
}

void ClassDBP::SaveFileInDsk(const QImage& Ipic, const QString& ifileName) {
    ImagingControl control;
    resumeAfter([&] { control.TakePicture(Ipic); });
    resumeAfter([&] { control.ConvertColorDepth(24, 4, 0, 0); });
    // The name alone decides the format, never the filter chosen in the box.
    const QString ext = ifileName.right(3).toUpper();
    if (ext == QLatin1String("BMP")) {
        resumeAfter([&] {
            control.SaveImage(ifileName, ImagingControl::BitmapFormat, control.ImageBits(), -2, 0);
        });
    } else if (ext == QLatin1String("JPG")) {
        resumeAfter([&] { control.SaveImage(ifileName, ImagingControl::JfifFormat, 0, 25, 0); });
    }
    resumeAfter([&] { control.setImageHandle(0); });
}

}  // namespace pictarium
