#include "engine/class_dbp.h"

#include "engine/base_state_p.h"

#include "base/file_operations.h"
#include "base/path_parts.h"
#include "base/run_errors.h"
#include "engine/engine_texts.h"
#include "imaging/core/bitmap_codec.h"

namespace pictarium {

namespace {

const QString kTempBaseName = QStringLiteral("bdptmp1.tmp");
const QString kBackupBaseName = QStringLiteral("bdpsave.tmp");

}  // namespace

ClassDBP::ClassDBP(EngineHost& host) : mHost(host), mState(std::make_unique<BaseState>()) {
    allowLargePictures();
    mState->PictureFile = QByteArray(1, '\0');
    mState->TextBytes = QByteArray(1, '\0');
}

ClassDBP::~ClassDBP() = default;

bool ClassDBP::isBaseOpen() const {
    return mState->FileNumber.isOpen();
}

const QString& ClassDBP::fileName() const {
    return mState->FileName;
}

std::int32_t ClassDBP::recordCount() const {
    return mState->RecordCount;
}

std::int32_t ClassDBP::currentIndex() const {
    return mState->CurrentIndex;
}

const IndexEntry& ClassDBP::currentEntry() const {
    return mState->Entry;
}

const QByteArray& ClassDBP::currentPictureFile() const {
    return mState->PictureFile;
}

QString ClassDBP::currentText() const {
    return BytesToText(mState->TextBytes);
}

bool ClassDBP::FileExists(const QString& Filename) const {
    return regularFileMatches(Filename);
}

bool ClassDBP::CreateBDP(const QString& ifileName) {
    if (!hasBdpName(ifileName)) {
        stopBox(EngineText::BadBaseName);
        return false;
    }
    bool created = false;
    try {
        if (FileExists(ifileName)) {
            if (!askYesNo(EngineText::ReplaceExisting, MessageIcon::Information)) {
                return false;
            }
            // Unlike Windows, POSIX would let us delete the open base.
            if (mState->FileNumber.isSameFileAs(ifileName)) {
                throw RunFailure(RunError::FileAlreadyOpen);
            }
            removeFile(ifileName);
        }
        setBusy(true);
        BinaryFile file = BinaryFile::create(ifileName);
        created = true;
        const auto header = encodeHeader(0);
        file.write(header.data(), header.size());
        file.sync();
        setBusy(false);
        return true;
    } catch (...) {
        const RunFailure failure = runFailureOfCurrentException();
        setBusy(false);
        if (failure.number() == RunError::FileAlreadyOpen) {
            stopBox(EngineText::CannotDeleteOpenBase);
        } else {
            ShowError(failure);
        }
        if (created) {
            removeFileQuietly(ifileName);
        }
        return false;
    }
}

bool ClassDBP::OpenBDP(const QString& ifileName) {
    if (!hasBdpName(ifileName)) {
        stopBox(EngineText::BadBaseName);
        return false;
    }
    if (!FileExists(ifileName)) {
        stopBox(EngineText::FileNotFound);
        return false;
    }
    setBusy(true);
    BinaryFile probe;
    try {
        probe = BinaryFile::openForReading(ifileName);
        // A file shorter than the header reads as zeros, as a binary read
        // past the end does, and so fails the signature test.
        std::array<char, HeaderSize> header{};
        (void)probe.readAt(0, header.data(), header.size());
        const std::int32_t signature = getInt32(header.data());
        const std::int32_t count = getInt32(header.data() + 4);
        if (signature != BdpSignature) {
            probe.close();
            damagedBaseBox(EngineText::NotAPictariumFile);
            setBusy(false);
            return false;
        }
        if (mState->FileNumber.isOpen()) {
            if (!askYesNo(EngineText::CloseOpenBase, MessageIcon::Question)) {
                probe.close();
                setBusy(false);
                return false;
            }
            mState->FileNumber.close();
        }
        probe.close();
        mState->FileNumber = BinaryFile::openForReading(ifileName);
        mState->Opened = mState->FileNumber.status();
        mState->Signature = signature;
        mState->FileName = ifileName;
        mState->RecordCount = count;
        mState->CurrentIndex = -1;
        mState->PictureFile.clear();
        mState->TextBytes.clear();
        RefreshButtons();
        MoveNext();
        setBusy(false);
        return true;
    } catch (...) {
        ShowError(runFailureOfCurrentException());
        mState->FileNumber.close();
        probe.close();
        RefreshButtons();
        return false;
    }
}

bool ClassDBP::GetInfosBDP() {
    if (!isBaseReady()) {
        return false;
    }
    const QString& path = mState->FileName;
    const QString name = path.mid(fileNameStart(path));
    const QString crlf = QStringLiteral("\r\n");
    const QString text = QStringLiteral("Nom de la base ouverte: ") + name + crlf +
                         QStringLiteral("Nombre d'éléments dans la base: ") +
                         QString::number(mState->RecordCount) + crlf +
                         QStringLiteral("Index visible actuellement:") +
                         QString::number(std::int64_t{mState->CurrentIndex} + 1) + crlf + crlf +
                         QStringLiteral("A propos de Pictarium :") + crlf +
                         QStringLiteral(
                             "La structure des bases BDP est réalisée pour le groupe de logiciels "
                             "Tessaline. Elle n'appartient à aucune famille des bases de données "
                             "gérées par windows");
    informationBox(text, EngineText::Title);
    return true;
}

bool ClassDBP::isBaseReady() {
    if (!mState->FileNumber.isOpen()) {
        stopBox(EngineText::OpenBaseFirst);
        return false;
    }
    // The file as it was opened is still there, so it still exists: the
    // usual case costs one status and one header read.
    if (isBaseUnchanged()) {
        return true;
    }
    if (!FileExists(mState->FileName)) {
        stopBox(EngineText::BaseNotFound);
        return false;
    }
    reopenChangedBase();
    return false;
}

bool ClassDBP::hasCurrentRecord(const QString& emptyBaseMessage) {
    if (mState->RecordCount <= 0) {
        stopBox(emptyBaseMessage);
        return false;
    }
    if (mState->CurrentIndex < 0 || mState->CurrentIndex >= mState->RecordCount) {
        stopBox(EngineText::BadIndex);
        return false;
    }
    return true;
}

void ClassDBP::RefreshButtons() {
    const std::int64_t count = mState->RecordCount;
    const std::int64_t current = mState->CurrentIndex;
    mHost.AddButtonEnabled(mState->FileNumber.isOpen());
    if (count < 2) {
        mHost.NextButtonEnabled(false);
        mHost.LastButtonEnabled(false);
        mHost.SearchButtonEnabled(false);
    }
    mHost.NextButtonEnabled(current < count - 1);
    mHost.LastButtonEnabled(current > 0);
    mHost.DeleteButtonEnabled(current > -1 && current < count && count > 0);
    if (count < 1) {
        mHost.GetContent(QImage(), QString());
        mHost.DeleteButtonEnabled(false);
    }
    setBusy(false);
}

QString ClassDBP::TempBasePath() const {
    return pathInFolder(mHost.programFolder(), kTempBaseName);
}

QString ClassDBP::BackupBasePath() const {
    return pathInFolder(mHost.programFolder(), kBackupBaseName);
}

void ClassDBP::ShowError(const RunFailure& failure) {
    stopBox(runErrorText(failure.number(), failure.detail()));
}

void ClassDBP::stopBox(const QString& text) {
    (void)mHost.showMessage({text, EngineText::Title, MessageIcon::Stop, MessageButtons::Ok});
}

void ClassDBP::damagedBaseBox(const QString& text) {
    (void)mHost.showMessage({text, EngineText::Title, MessageIcon::Stop, MessageButtons::Ok, true});
}

void ClassDBP::informationBox(const QString& text, const QString& title) {
    (void)mHost.showMessage({text, title, MessageIcon::Information, MessageButtons::Ok});
}

bool ClassDBP::askYesNo(const QString& text, MessageIcon icon) {
    return mHost.showMessage({text, EngineText::Title, icon, MessageButtons::YesNo}) ==
           MessageAnswer::Yes;
}

void ClassDBP::setBusy(bool busy) {
    mHost.setBusyPointer(busy);
}

}  // namespace pictarium
