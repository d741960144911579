#include "export/classcounttext.h"

#include <QHash>
#include <QTreeWidget>

QVector<QPair<QString, int>> classCountsOfRows(const QVector<FileRowTexts> &rows)
{
    QVector<QPair<QString, int>> counts;
    QHash<QString, int> position;
    const auto count = [&](const QString &name) {
        const auto it = position.constFind(name);
        if (it != position.constEnd()) {
            ++counts[*it].second;
        } else {
            position.insert(name, counts.size());
            counts.append({name, 1});
        }
    };
    for (const FileRowTexts &row : rows) {
        count(row.isUnassigned() ? ExportClassNames::unassigned() : row.text(FileViewColumn::Class1));
        for (int column = FileViewColumn::Class2; column <= FileViewColumn::Class4; ++column) {
            if (!row.text(column).isEmpty())
                count(row.text(column));
        }
    }
    const auto unassigned = position.constFind(ExportClassNames::unassigned());
    if (unassigned != position.constEnd()) {
        const QPair<QString, int> entry = counts.takeAt(*unassigned);
        counts.append(entry);
    }
    return counts;
}

QString classCountTextOfRows(const QVector<FileRowTexts> &rows)
{
    QString text;
    for (const auto &entry : classCountsOfRows(rows))
        text += entry.first + QLatin1Char('\t') + QString::number(entry.second) + QLatin1Char('\n');
    return text;
}

QString classCountTextOfClassTree(const QTreeWidget *classTree)
{
    QString text;
    for (int i = 0; i < classTree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = classTree->topLevelItem(i);
        text += row->text(ClassTreeColumn::Class) + QLatin1Char('\t') + row->text(ClassTreeColumn::Count)
                + QLatin1Char('\n');
        for (int c = 0; c < row->childCount(); ++c) {
            const QTreeWidgetItem *child = row->child(c);
            text += QLatin1Char('\t') + child->text(ClassTreeColumn::Class) + QLatin1Char('\t')
                    + child->text(ClassTreeColumn::Count) + QLatin1Char('\n');
        }
    }
    return text;
}

QVector<ClassCountLine> parseClassCountText(const QString &text)
{
    QVector<ClassCountLine> lines;
    const QStringList parts = text.split(QLatin1Char('\n'));
    for (const QString &part : parts) {
        if (part.isEmpty())
            continue;
        ClassCountLine line;
        QString rest = part;
        if (rest.startsWith(QLatin1Char('\t'))) {
            rest.remove(0, 1);
            line.subclass = !lines.isEmpty();
        }
        const QStringList fields = rest.split(QLatin1Char('\t'));
        line.name = fields.value(0).trimmed();
        line.count = fields.value(1);
        lines.append(line);
    }
    return lines;
}
