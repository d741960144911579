#include "activity/charts/plotdatacsv.h"

#include "common/textfilewriter.h"
#include "common/userdialogs.h"
#include "export/exportfield.h"

#include <QObject>

namespace {

const QString cellSeparator = QStringLiteral(";");
const QString lineEnd = QStringLiteral("\r\n");

} // namespace

QString plotDataCsvText(const QString &title, const QString &firstHeader, const QStringList &binLabels,
                        const QVector<PlotDataColumn> &columns)
{
    QString text;
    if (!title.isEmpty())
        text += title + lineEnd;
    text += firstHeader;
    // A header names a class, which may hold the separator.
    for (const PlotDataColumn &column : columns)
        text += cellSeparator + exportField(column.header);
    text += lineEnd;
    for (int bin = 0; bin < binLabels.size(); ++bin) {
        text += binLabels.at(bin);
        for (const PlotDataColumn &column : columns) {
            // QString::number formats in the C locale: "." and no grouping under any user locale.
            text += cellSeparator + QString::number(double(column.values.value(bin)), 'f', column.decimals);
        }
        text += lineEnd;
    }
    return text;
}

QString choosePlotDataFile(QWidget *parent, const Setting<QString> &key)
{
    return userDialogs().saveFileNameWithSuffix(parent, QObject::tr("Plot Data Export File"), readSetting(key),
                                                QObject::tr("CSV Files (*.csv)"));
}

bool writePlotDataFile(const QString &path, const QString &text, const Setting<QString> &key)
{
    if (!writeTextFile(path, text))
        return false;
    writeSetting(key, path);
    return true;
}
