#include "assignment/writefilebextthread.h"

#include "assignment/classtextrules.h"
#include "filelist/rowcomment.h"
#include "recording/wavfile.h"

namespace {

QString pathOf(const QString &wavDirectory, const FileRowTexts &row)
{
    return wavDirectory + QLatin1Char('/') + row.text(FileViewColumn::Name);
}

bool carryOut(const QString &path, const ClassTextRules::Outcome &outcome)
{
    if (!outcome.write)
        return outcome.success;
    const WavFile recording;
    return recording.writeBextDescription(path, outcome.text);
}

} // namespace

WriteFileBextThread::WriteFileBextThread() : QObject(nullptr) {}

WriteFileBextThread::~WriteFileBextThread() = default;

void WriteFileBextThread::writeFileBextExtended(int index, QString wavDirectory, ClassRowTexts classItem,
                                                FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const bool success = carryOut(pathOf(wavDirectory, row), ClassTextRules::assign(row, classItem.name));
    emit signalFileBextFinishedExtended(index, wavDirectory, classItem, selectedFileItems, success);
}

void WriteFileBextThread::renameClassFile(int index, QString wavDirectory, QString oldClassName,
                                          QString newClassName, FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const bool success =
        carryOut(pathOf(wavDirectory, row), ClassTextRules::rename(row, oldClassName, newClassName));
    emit signalRenameClassFile(index, wavDirectory, oldClassName, newClassName, selectedFileItems, success);
}

void WriteFileBextThread::deleteClassFile(int index, QString wavDirectory, QString deleteClassName,
                                          FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const bool success = carryOut(pathOf(wavDirectory, row), ClassTextRules::remove(row, deleteClassName));
    emit signalDeleteClassFile(index, wavDirectory, deleteClassName, selectedFileItems, success);
}

void WriteFileBextThread::unassignFile(int index, QString wavDirectory, FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const bool success = carryOut(pathOf(wavDirectory, row), ClassTextRules::unassign(row));
    emit signalUnassignFile(index, wavDirectory, selectedFileItems, success);
}

void WriteFileBextThread::resetFile(int index, QString wavDirectory, FileRowList selectedFileItems)
{
    const FileRowTexts &row = selectedFileItems.at(index);
    const QString path = pathOf(wavDirectory, row);
    // A row whose header is not read yet shows no comment: keep the one its recording holds.
    const QString stored = row.text(FileViewColumn::Date).isEmpty() ? storedComment(path) : QString();
    const bool success = carryOut(path, ClassTextRules::reset(row, stored));
    emit signalResetFile(index, wavDirectory, selectedFileItems, success);
}
