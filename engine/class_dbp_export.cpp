// The engine's picture export: asking for a file name through the owner's
// common dialog and writing the picture on show through the imaging
// component. Every failure of their steps is swallowed, but for the
// writing of the file itself.

#include "base/path_parts.h"
#include "base/run_errors.h"
#include "engine/class_dbp.h"
#include "engine/common_dialog.h"
#include "engine/engine_texts.h"
#include "imaging/imaging_control.h"
#include "imaging/picture_writer.h"

#include <QDir>

#include <array>
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

// A name typed without an extension takes the one of the filter chosen.
QString withFilterExtension(const QString& name, int filterIndex) {
    if (extensionDot(name) >= 0 || fileNameStart(name) >= name.size()) {
        return name;
    }
    constexpr std::array<SavedFormat, 3> filters = {SavedFormat::Bitmap, SavedFormat::Jpeg,
                                                    SavedFormat::Png};
    if (filterIndex < 1 || filterIndex > static_cast<int>(filters.size())) {
        return name;
    }
    return name + extensionOf(filters[static_cast<std::size_t>(filterIndex - 1)]);
}

}  // namespace

bool ClassDBP::gSaveFile(CommonDialog& Dlg, QString& ifName) {
    bool failed = false;
    resumeAfter([&] { Dlg.setDialogTitle(QStringLiteral("Enregistrer l'image sous...")); }, failed);
    resumeAfter([&] { Dlg.setFlags(SaveBoxFlags); }, failed);
    resumeAfter([&] { Dlg.setCancelError(true); }, failed);
    resumeAfter(
        [&] {
            Dlg.setFilter(
                QStringLiteral("Bitmap(*.bmp)|*.bmp|Jpg compliant(*.jpg)|*.jpg|PNG(*.png)|*.png"));
        },
        failed);
    resumeAfter([&] { Dlg.setFileName(ifName); }, failed);
    resumeAfter([&] { Dlg.setFilterIndex(1); }, failed);
    resumeAfter([&] { Dlg.ShowSave(); }, failed);
    if (failed) {
        return false;  // Cancel included
    }
    try {
        ifName = withFilterExtension(Dlg.FileName(), Dlg.FilterIndex());
        return true;
    } catch (...) {
        return false;
    }
}

bool ClassDBP::SaveFileInDsk(const QImage& Ipic, const QString& ifileName) {
    // The name alone decides the format; a name of another kind is said,
    // rather than nothing written in silence.
    const std::optional<SavedFormat> format = savedFormatOf(ifileName);
    if (!format) {
        stopBox(EngineText::SaveNameRefused);
        return false;
    }
    if (Ipic.isNull()) {
        return false;
    }
    ImagingControl control;
    resumeAfter([&] { control.TakePicture(Ipic); });
    resumeAfter([&] { control.ConvertColorDepth(24, 4, 0, 0); });
    // A file that could not be written is said, naming it: the user would
    // otherwise look for a picture that is not there.
    try {
        switch (*format) {
            case SavedFormat::Bitmap:
                control.SaveImage(ifileName, ImagingControl::BitmapFormat, control.ImageBits(), -2,
                                  0);
                break;
            case SavedFormat::Jpeg:
                control.SaveImage(ifileName, ImagingControl::JfifFormat, 0, 25, 0);
                break;
            case SavedFormat::Png:
                control.SaveImage(ifileName, ImagingControl::PngFormat, 0, 0, 0);
                break;
        }
    } catch (...) {
        ShowError(RunFailure(runFailureOfCurrentException().number(),
                             QDir::toNativeSeparators(ifileName)));
        return false;
    }
    resumeAfter([&] { control.setImageHandle(0); });
    return true;
}

}  // namespace pictarium
