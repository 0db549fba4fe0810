#pragma once

#include <QString>

#include <utility>

namespace pictarium {

// The classic run-time failure numbers. Users and old documentation know
// them, so the error box keeps showing these rather than raw errno values.
namespace RunError {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int InternalError = 51;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyOpen = 55;
inline constexpr int DeviceIoError = 57;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int BadRecordNumber = 63;
inline constexpr int TooManyFiles = 67;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int RenameAcrossDisks = 74;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPicture = 481;
inline constexpr int CancelSelected = 32755;
}  // namespace RunError

// A failure raised inside an engine operation. It never leaves the engine:
// every public operation catches it and reports it to the user. `detail`
// says what the number alone cannot: the file concerned, or why.
class RunFailure {
public:
    explicit RunFailure(int number, QString detail = QString())
        : mNumber(number), mDetail(std::move(detail)) {}
    [[nodiscard]] int number() const { return mNumber; }
    [[nodiscard]] const QString& detail() const { return mDetail; }

private:
    int mNumber;
    QString mDetail;
};

// The French description shown under "Erreur N".
[[nodiscard]] QString runErrorDescription(int number);

// The text of the error box: "Erreur N", a line break, the description,
// and " : " and the detail when there is one.
[[nodiscard]] QString runErrorText(int number, const QString& detail = QString());

// Maps an errno value to a failure number. `path` helps to tell a missing
// file (53) from a missing folder (76).
[[nodiscard]] int runErrorFromErrno(int errnoValue, const QString& path = QString());

// The failure of the exception being handled; call only inside a catch
// block. Anything unexpected is an internal error, never a crash.
[[nodiscard]] RunFailure runFailureOfCurrentException();
[[nodiscard]] int runErrorOfCurrentException();

}  // namespace pictarium
