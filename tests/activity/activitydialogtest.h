#pragma once

#include "activity/foldersettings.h"
#include "activity/plotfolderdialog.h"
#include "guitest.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <qwt_plot.h>
#include <qwt_text.h>

// What a chart was asked for, as the dialog's chart seam reports it.
struct ChartCall {
    ActivityTab tab;
    bool init;
    bool exportData;
    bool operator==(const ChartCall &o) const { return tab == o.tab && init == o.init && exportData == o.exportData; }
};

inline char *toString(const ChartCall &c)
{
    return qstrdup(
        qPrintable(QStringLiteral("(tab %1, init %2, export %3)").arg(int(c.tab)).arg(c.init).arg(c.exportData)));
}

// The items of a plot that bear this title, as the charts find theirs.
inline QList<QwtPlotItem *> titled(const QwtPlot *plot, const QString &title)
{
    QList<QwtPlotItem *> items;
    for (QwtPlotItem *item : plot->itemList()) {
        if (item->title().text() == title)
            items << item;
    }
    return items;
}

// Base of the activity dialog's tests: a fresh folder and file list per test
// function, and the chart calls of the dialog under test.
class ActivityDialogTest : public testsupport::GuiTestCase
{
    Q_OBJECT
protected:
    std::unique_ptr<QTemporaryDir> folder;
    QTreeWidget list;
    QVector<ChartCall> calls;

    QString path() const { return folder->path(); }

    std::unique_ptr<plotFolderDialog> open()
    {
        calls.clear();
        return std::make_unique<plotFolderDialog>(nullptr, path(), &list);
    }

    // The settings file as it stands, as Qt's own INI reader reads it; null for a missing key.
    QVariant stored(const char *group, const char *key) const
    {
        return snapshot()->value(QLatin1String(group) + QLatin1Char('/') + QLatin1String(key));
    }
    QStringList storedKeys(const char *group) const
    {
        const auto ini = snapshot();
        ini->beginGroup(QLatin1String(group));
        return ini->childKeys();
    }
    // Qt reads a file it has read again only where its size or time differs,
    // and two writes of one size may fall in one millisecond: each look reads
    // a copy of its own.
    std::unique_ptr<QSettings> snapshot() const
    {
        static int looks = 0;
        const QString copy = snapshots.filePath(QString::number(++looks) + QStringLiteral(".ini"));
        QFile::copy(FolderSettings::filePath(path()), copy);
        return std::make_unique<QSettings>(copy, QSettings::IniFormat);
    }
    QTemporaryDir snapshots;

    // Every setting with a box stored at its default, as the dialog's Close once left a new folder.
    void storeEverySetting() const { writeFolderTimeSettings(path(), readFolderTimeSettings(path())); }

    QByteArray settingsFileBytes() const
    {
        QFile file(FolderSettings::filePath(path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeSettingsFileBytes(const QByteArray &bytes) const
    {
        QFile file(FolderSettings::filePath(path()));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    // `text` with each line that begins with the key of one of `lines` (up to
    // its '=') in place of the line; the key must stand in `text`.
    static QByteArray withLines(QByteArray text, const QList<QByteArray> &lines)
    {
        for (const QByteArray &line : lines) {
            const QByteArray key = line.left(line.indexOf('=') + 1);
            const int start = text.startsWith(key) ? 0 : text.indexOf('\n' + key) + 1;
            if (!text.mid(start).startsWith(key))
                qFatal("no %s in the file", key.constData());
            text.replace(start, text.indexOf('\n', start) - start, line);
        }
        return text;
    }

    void addRow(const QString &date, const QStringList &classes)
    {
        QStringList texts{QStringLiteral("rec.wav"), date,      QStringLiteral("22:00:00"),
                          QStringLiteral("3"),       QString(), QString()};
        list.addTopLevelItem(new QTreeWidgetItem(texts + classes));
    }

    // Answers the next modal dialog as soon as it runs; any other dialog is rejected.
    template <class Dialog>
    static void answerDialog(std::function<void(Dialog &)> answer)
    {
        QTimer::singleShot(0, [answer] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<Dialog *>(modal))
                answer(*dialog);
            else if (auto *other = qobject_cast<QDialog *>(modal))
                other->reject();
        });
    }

protected slots:
    void init()
    {
        GuiTestCase::init();
        folder = std::make_unique<QTemporaryDir>();
        list.clear();
        plotFolderDialog::setChartCallObserver([this](ActivityTab tab, bool init, bool exportData) {
            calls.append({tab, init, exportData});
        });
    }
    void cleanup() { plotFolderDialog::setChartCallObserver(nullptr); }
};
