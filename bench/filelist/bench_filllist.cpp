// Filling the folder list from header replies: the user-interface cost per
// reply when the worker answers at once (target under 1 ms per row), and a
// sort of the filled list by date (target under 200 ms for 10,000 rows).
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "benchutil.h"
#include "scripteddialogs.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <cstdio>
#include <random>

namespace {

// Answers every header request at once on the user-interface thread, with
// texts as the header worker gives them: spread dates and times, a length.
class InstantHeaders : public QObject
{
public:
    explicit InstantHeaders(MainWindow *w) : m_window(w), m_rng(3) {}

    void answer(int index)
    {
        std::uniform_int_distribution<int> day(1, 28), month(1, 12), year(20, 23), second(0, 86399);
        const int s = second(m_rng);
        const QString date = QStringLiteral("%1/%2/%3")
                                 .arg(day(m_rng), 2, 10, QLatin1Char('0'))
                                 .arg(month(m_rng), 2, 10, QLatin1Char('0'))
                                 .arg(year(m_rng));
        const QString time = QStringLiteral("%1:%2:%3")
                                 .arg(s / 3600, 2, 10, QLatin1Char('0'))
                                 .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(s % 60, 2, 10, QLatin1Char('0'));
        QMetaObject::invokeMethod(
            m_window,
            [this, index, date, time]() {
                m_window->fileInfoHeaderFinished(index, QStringLiteral("Nyc"), QString(), QString(), QString(),
                                                 QString(), QString(), QStringLiteral("1.000"), date, time,
                                                 QStringLiteral("comment"));
            },
            Qt::QueuedConnection);
    }

private:
    MainWindow *m_window;
    std::mt19937 m_rng;
};

void run(int rows)
{
    QTemporaryDir dir;
    for (int i = 0; i < rows; ++i) {
        QFile f(dir.path() + QStringLiteral("/rec%1.wav").arg(i, 5, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly); // names are all the chain needs; the replies are made up
    }
    ScriptedDialogs dialogs; // the first recording does not load: its error box is answered here
    dialogs.fileAnswers << dir.path();
    MainWindow w;
    QObject::disconnect(&w, &MainWindow::signalGetFileHeaderInfo, nullptr, nullptr);
    InstantHeaders headers(&w);
    QObject::connect(&w, &MainWindow::signalGetFileHeaderInfo, &headers,
                     [&headers](int index, QString, bool, QString, int) { headers.answer(index); });

    const double t0 = benchutil::nowSeconds();
    w.ui->actionOpen_Folder->trigger();
    while (w.loadingFileInfo || w.fileInfoThread->isRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    const double fill = benchutil::nowSeconds() - t0;

    QTreeWidget *list = w.ui->treeWidget_2;
    const double s0 = benchutil::nowSeconds();
    list->sortByColumn(1, Qt::AscendingOrder);
    const double sortDate = benchutil::nowSeconds() - s0;
    const double s1 = benchutil::nowSeconds();
    list->sortByColumn(1, Qt::DescendingOrder);
    const double resortDate = benchutil::nowSeconds() - s1;

    std::printf("%6d rows: %.3f ms per header reply (%.1f s in all), sort by date %.1f ms, again reversed %.1f ms\n",
                list->topLevelItemCount(), fill * 1000.0 / rows, fill, sortDate * 1000.0, resortDate * 1000.0);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome; // the folder key written by opening must not reach the user's own store
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    registerMetaTypes();
    run(1000);
    run(10000);
    return 0;
}
