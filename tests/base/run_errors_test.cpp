#include "base/run_errors.h"
#include "tests/qstring_printer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <new>

namespace pictarium::test {
namespace {

TEST(RunErrorsTest, systemFailuresMapToTheClassicNumbers) {
    QTemporaryDir folder;
    struct Case {
        int errnoValue;
        QString path;
        int number;
    };
    const QList<Case> cases{
        {ENOENT, folder.filePath(QStringLiteral("absent.bdp")), RunError::FileNotFound},
        {ENOENT, folder.filePath(QStringLiteral("absent/base.bdp")), RunError::PathNotFound},
        {ENOTDIR, QString(), RunError::PathNotFound},
        {EACCES, QString(), RunError::PermissionDenied},
        {EPERM, QString(), RunError::PermissionDenied},
        {ENOSPC, QString(), RunError::DiskFull},
        {EDQUOT, QString(), RunError::DiskFull},
        {EFBIG, QString(), RunError::DiskFull},
        {EEXIST, QString(), RunError::FileAlreadyExists},
        {EMFILE, QString(), RunError::TooManyFiles},
        {EIO, QString(), RunError::DeviceIoError},
        {EXDEV, QString(), RunError::RenameAcrossDisks},
        {ENAMETOOLONG, QString(), RunError::BadFileName},
        {EISDIR, QString(), RunError::PathFileAccessError},
    };
    for (const Case& mapped : cases) {
        SCOPED_TRACE(mapped.errnoValue);
        EXPECT_EQ(runErrorFromErrno(mapped.errnoValue, mapped.path), mapped.number);
    }
}

// The words of the error box the user reads most, as users and old
// documentation know them.
TEST(RunErrorsTest, theErrorBoxSaysTheNumberItsClassicWordsAndTheFile) {
    const struct {
        int number;
        const char* detail;
        const char* text;
    } cases[] = {
        {RunError::Overflow, "", "Erreur 6\r\nDépassement de capacité"},
        {RunError::FileNotFound, "a.bdp", "Erreur 53\r\nFichier introuvable : a.bdp"},
        {RunError::FileAlreadyOpen, "", "Erreur 55\r\nFichier déjà ouvert"},
        {RunError::DiskFull, "b.bdp", "Erreur 61\r\nDisque plein : b.bdp"},
        {RunError::PermissionDenied, "", "Erreur 70\r\nPermission refusée"},
        {RunError::PathNotFound, "", "Erreur 76\r\nChemin d'accès introuvable"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runErrorText(c.number, QString::fromUtf8(c.detail)), QString::fromUtf8(c.text));
    }
}

TEST(RunErrorsTest, anyExceptionBecomesAFailureNeverACrash) {
    const auto failureOf = [](auto thrown) {
        try {
            throw thrown;
        } catch (...) {
            return runFailureOfCurrentException();
        }
    };
    const RunFailure kept = failureOf(RunFailure(RunError::DiskFull, QStringLiteral("b.bdp")));
    EXPECT_EQ(kept.number(), RunError::DiskFull);
    EXPECT_EQ(kept.detail(), QStringLiteral("b.bdp"));
    EXPECT_EQ(failureOf(std::bad_alloc()).number(), RunError::OutOfMemory);
    EXPECT_EQ(failureOf(42).number(), RunError::InternalError);
}

}  // namespace
}  // namespace pictarium::test
