#include "assignment/writefilebextthread.h"

#include "analysis/classassignmenttext.h"
#include "assignment/classtextrules.h"
#include "filelist/rowcomment.h"
#include "recording/recordingkind.h"
#include "recording/wavfile.h"

#include <QFile>

namespace {

QString pathOf(const QString &wavDirectory, const FileRowTexts &row)
{
    return wavDirectory + QLatin1Char('/') + row.text(FileViewColumn::Name);
}

// Writes the outcome of the row at index; a failure leaves its reason in rows.
bool carryOut(const QString &path, const ClassTextRules::Outcome &outcome, FileRowList &rows, int index)
{
    bool success = outcome.success;
    QString writeError;
    if (outcome.write)
        success = ClassAssignmentText::writeDescription(path, outcome.text, &writeError);
    if (!success)
        rows.setFailure(index, outcome.refusal.isEmpty()
                                   ? WriteFileBextThread::failureReason(path, outcome.text, writeError)
                                   : outcome.refusal);
    return success;
}

} // namespace

WriteFileBextThread::WriteFileBextThread()
    : QObject(nullptr)
{
}

QString WriteFileBextThread::failureReason(const QString &path, const QString &text, const QString &writeError)
{
    if (recordingKind(path) != RecordingKind::Wav)
        return tr("Only WAV recordings can hold classes.");
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return tr("The file cannot be opened for writing: ") + file.errorString();
    file.close();
    WavFile header;
    header.open(path, true);
    // The writer does not write behind a chunk the reader stops at: classes
    // stored there could never be read back.
    if (!header.walkedToEnd)
        return header.notReadToEndText();
    if (!ClassAssignmentText::readsWhole(header.bext.description))
        return ClassAssignmentText::unreadDescriptionText();
    // The writer never lets a description spill over the chunk behind it.
    if (header.bext.found && header.bext.chunkSize < quint32(ClassAssignmentText::descriptionBytes))
        return tr("The recording's bext chunk is too short to hold a description.");
    const int bytes = text.toUtf8().size();
    if (bytes > ClassAssignmentText::descriptionBytes)
        return tr("The text to store takes %1 bytes, more than the %2 bytes of the recording's description.")
            .arg(bytes)
            .arg(ClassAssignmentText::descriptionBytes);
    // None of the file's lasting faults: the system's words for the write
    // that failed (a full disk) are all there is to tell.
    if (!writeError.isEmpty())
        return tr("Could not write to file.") + QLatin1Char('\n') + writeError;
    return QString();
}

WriteFileBextThread::~WriteFileBextThread() = default;

void WriteFileBextThread::writeFileBextExtended(int index, QString wavDirectory, ClassRowTexts classItem,
                                                FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const bool success =
        carryOut(pathOf(wavDirectory, row), ClassTextRules::assign(row, classItem.name), selectedFileItems, index);
    emit signalFileBextFinishedExtended(index, wavDirectory, classItem, selectedFileItems, success);
}

void WriteFileBextThread::renameClassFile(int index, QString wavDirectory, QString oldClassName, QString newClassName,
                                          FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const bool success = carryOut(pathOf(wavDirectory, row), ClassTextRules::rename(row, oldClassName, newClassName),
                                  selectedFileItems, index);
    emit signalRenameClassFile(index, wavDirectory, oldClassName, newClassName, selectedFileItems, success);
}

void WriteFileBextThread::deleteClassFile(int index, QString wavDirectory, QString deleteClassName,
                                          FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const bool success =
        carryOut(pathOf(wavDirectory, row), ClassTextRules::remove(row, deleteClassName), selectedFileItems, index);
    emit signalDeleteClassFile(index, wavDirectory, deleteClassName, selectedFileItems, success);
}

void WriteFileBextThread::unassignFile(int index, QString wavDirectory, FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const bool success = carryOut(pathOf(wavDirectory, row), ClassTextRules::unassign(row), selectedFileItems, index);
    emit signalUnassignFile(index, wavDirectory, selectedFileItems, success);
}

void WriteFileBextThread::resetFile(int index, QString wavDirectory, FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const QString path = pathOf(wavDirectory, row);
    // A row whose header is not read yet shows no comment: keep the one its recording holds.
    const QString stored = row.text(FileViewColumn::Date).isEmpty() ? storedComment(path) : QString();
    const bool success = carryOut(path, ClassTextRules::reset(row, stored), selectedFileItems, index);
    emit signalResetFile(index, wavDirectory, selectedFileItems, success);
}
