#pragma once

#include <QString>

namespace pictarium {

// The copy of a base taken before it is rebuilt. Unless the new version
// has been put in place, leaving the scope puts the copy back over the
// base; the copy itself never outlives its guard.
class BaseBackup {
public:
    // Copies `base` to `backupPath`, replacing any file of that name.
    BaseBackup(QString base, QString backupPath);
    ~BaseBackup();
    BaseBackup(const BaseBackup&) = delete;
    BaseBackup& operator=(const BaseBackup&) = delete;

    // The base now holds its new version: the copy protects nothing.
    void newVersionInPlace() { mRestore = false; }
    // Removes the copy; throws when it cannot be removed.
    void remove();

private:
    QString mBase;
    QString mBackupPath;
    bool mRestore = false;
    bool mExists = false;
};

}  // namespace pictarium
