#pragma once

#include "base/run_errors.h"

#include <QString>

namespace pictarium {

// The owner's common-dialog control, as the engine drives it: properties
// set before a box is shown, the chosen name read back after. The window
// implements it over QFileDialog; tests script it.
//
// With CancelError on, cancelling a box throws RunFailure(DialogCancelled),
// as the control raises its cancel failure; any property may also throw.
class CommonDialog {
public:
    static constexpr int DialogCancelled = RunError::CancelSelected;

    virtual ~CommonDialog() = default;

    virtual void setDialogTitle(const QString& title) = 0;
    virtual void setFlags(int flags) = 0;
    virtual void setCancelError(bool raise) = 0;
    // "Name|pattern|Name|pattern", as the control takes it.
    virtual void setFilter(const QString& filter) = 0;
    virtual void setFileName(const QString& fileName) = 0;
    [[nodiscard]] virtual QString FileName() const = 0;
    // 1-based, as the control counts; after a box, the filter chosen in it.
    virtual void setFilterIndex(int index) = 0;
    [[nodiscard]] virtual int FilterIndex() const = 0;

    virtual void ShowOpen() = 0;
    virtual void ShowSave() = 0;
};

}  // namespace pictarium
