#include "export/textfilewriter.h"

#include "app/userdialogs.h"

#include <QSaveFile>

bool writeTextFile(const QString &path, const QString &text)
{
    QSaveFile file(path);
    bool written = false;
    if (file.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = text.toUtf8();
        written = file.write(bytes) == bytes.size() && file.commit();
    }
    if (!written)
        userDialogs().message({nullptr, QMessageBox::Critical, QString(), QStringLiteral("Could not write to file.")});
    return written;
}
