#include "export/recordingcopy.h"

#include "common/evaluationmode.h"
#include "export/classcounttext.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "platform/filedatacopy.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

namespace RecordingCopy {

QStringList selectFiles(const QVector<FileRowTexts> &rows, const QStringList &checkedClasses, int evaluationMode)
{
    if (!EvaluationMode::hasFileList(evaluationMode))
        return {};
    const bool proposals = EvaluationMode::hasProposals(evaluationMode);
    const bool unassignedChecked = checkedClasses.contains(ExportClassNames::unassigned());
    const bool noCallChecked = proposals && checkedClasses.contains(ExportClassNames::detectedNoCall());
    QStringList names;
    for (const FileRowTexts &row : rows) {
        const bool noCall = !fileViewTreeWidgetItem::hasCallProposal(row.text(FileViewColumn::Proposal));
        bool selected = false;
        for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4 && !selected; ++column)
            selected = !row.text(column).isEmpty() && checkedClasses.contains(row.text(column));
        if (!selected && unassignedChecked && row.isUnassigned())
            selected = !(proposals && noCall);
        if (selected)
            names.append(row.text(FileViewColumn::Name));
        if (noCallChecked && noCall)
            names.append(row.text(FileViewColumn::Name));
    }
    return names;
}

bool anyTargetExists(const QString &folder, const QStringList &names)
{
    for (const QString &name : names) {
        if (QFile::exists(folder + QLatin1Char('/') + name))
            return true;
    }
    return false;
}

bool isSameFolder(const QString &folder, const QString &otherFolder)
{
    const QString a = QFileInfo(folder).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(otherFolder).canonicalFilePath();
}

QString sameFolderText()
{
    return QStringLiteral("The selected folder is the folder of the recordings.\n"
                          "Please select another folder to copy the files to.");
}

QString overwriteQuestionText()
{
    return QStringLiteral("At least on file already exists in selected folder.\n"
                          "Do you want to overwrite existing file(s)?");
}

QString errorQuestionText(const QString &fileName)
{
    return QStringLiteral("Error on copying file ") + fileName
           + QStringLiteral(".\nPlease check available disc space and permissions.\n\nContinue copying?");
}

Outcome copyFile(const QString &source, const QString &target, bool overwrite)
{
    const QFileInfo targetInfo(target);
    const bool exists = targetInfo.exists();
    if (exists && !overwrite)
        return Outcome::Skipped;
    const QString sourcePath = QFileInfo(source).canonicalFilePath();
    if (sourcePath.isEmpty() || (exists && targetInfo.canonicalFilePath() == sourcePath))
        return Outcome::Failed;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Outcome::Failed;
    // Beside the target, so that the final rename stays on one file system.
    QTemporaryFile out(targetInfo.absolutePath() + QLatin1String("/.") + targetInfo.fileName()
                       + QLatin1String(".XXXXXX"));
    if (!out.open() || !copyFileData(in, out) || !out.flush())
        return Outcome::Failed;
    out.setPermissions(in.permissions());
    const QString temporary = out.fileName();
    out.close();
    if (out.error() != QFileDevice::NoError)
        return Outcome::Failed;
    // rename() replaces an existing target in one step; QFile::rename would refuse it.
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
        return Outcome::Failed;
    out.setAutoRemove(false);
    return Outcome::Copied;
}

} // namespace RecordingCopy
