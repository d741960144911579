#pragma once

#include "activity/foldersettings.h"
#include "activity/plotfolderdialog.h"
#include "guitest.h"

#include <QApplication>
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

    // The settings file as it stands; null for a missing key.
    QVariant stored(const char *group, const char *key) const
    {
        QSettings ini(FolderSettings::filePath(path()), QSettings::IniFormat);
        return ini.value(QLatin1String(group) + QLatin1Char('/') + QLatin1String(key));
    }
    QStringList storedKeys(const char *group) const
    {
        QSettings ini(FolderSettings::filePath(path()), QSettings::IniFormat);
        ini.beginGroup(QLatin1String(group));
        return ini.childKeys();
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
