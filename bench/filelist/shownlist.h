#pragma once

// Shared by the benchmarks that fill a file list in the shown window: each
// size runs in a process of its own (this program started again with
// "--rows N"), so that its memory figures are its own, and the parent prints
// the ranges over several runs.
#include "benchutil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace shownlist {

// What one fill of one size gives.
struct Figures {
    int rows = 0;
    double totalMs = 0;        // from the menu action to the end of the header chain, drawn
    double longestPauseMs = 0; // the largest gap between two ticks of a 10 ms timer meanwhile
    double peakMb = 0;         // the process's peak resident memory during the fill
    double grownMb = 0;        // that peak less the resident memory before the fill
    double extraMs = 0;        // a figure of the bench's own (a sort, a scroll)
};

// The longest time the event loop could not serve a 10 ms timer.
class PauseMeter : public QObject
{
public:
    PauseMeter()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this]() {
            m_longest = std::max(m_longest, m_clock.nsecsElapsed() / 1e6);
            m_clock.restart();
        });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    // The longest gap, the one still open included.
    double stop()
    {
        m_timer.stop();
        return std::max(m_longest, m_clock.nsecsElapsed() / 1e6);
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_longest = 0;
};

// Empty recordings rec00000.wav ...: their names are all a chain with made-up replies needs.
inline void makeFolder(const QString &dir, int rows)
{
    for (int i = 0; i < rows; ++i) {
        QFile f(dir + QStringLiteral("/rec%1.wav").arg(i, 5, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly);
    }
}

inline double megabytes(long long bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// The child's one line, read back by the parent.
inline void printFigures(const Figures &f)
{
    std::printf("FIGURES %d %.3f %.3f %.3f %.3f %.3f\n", f.rows, f.totalMs, f.longestPauseMs, f.peakMb, f.grownMb,
                f.extraMs);
}

inline bool parseFigures(const QByteArray &output, Figures *f)
{
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("FIGURES ")
            && std::sscanf(line.constData(), "FIGURES %d %lf %lf %lf %lf %lf", &f->rows, &f->totalMs,
                           &f->longestPauseMs, &f->peakMb, &f->grownMb, &f->extraMs)
                   == 6)
            return true;
    }
    return false;
}

inline std::string range(std::vector<double> values, const char *format)
{
    std::sort(values.begin(), values.end());
    char low[32], high[32];
    std::snprintf(low, sizeof low, format, values.front());
    std::snprintf(high, sizeof high, format, values.back());
    return values.size() == 1 || std::strcmp(low, high) == 0 ? std::string(low) : std::string(low) + "-" + high;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The child's rows from "--rows N", or 0 in the parent.
inline int childRows(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--rows") == 0)
            return std::atoi(argv[i + 1]);
    }
    return 0;
}

/**
 * The parent: runs the sizes ("--sizes 1000,10000", default 1,000, 10,000
 * and 50,000) "--runs" times each (default 3) and prints each run and a
 * table of ranges; extraName names the bench's own figure.
 */
inline int runParent(int argc, char *argv[], const char *title, const char *extraName)
{
    QCoreApplication app(argc, argv);
    std::vector<int> sizes{1000, 10000, 50000};
    int runs = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--runs"))
            runs = std::max(1, args.at(i + 1).toInt());
        if (args.at(i) == QLatin1String("--sizes")) {
            sizes.clear();
            for (const QString &s : args.at(i + 1).split(QLatin1Char(',')))
                sizes.push_back(s.toInt());
        }
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("%s\n", title);
    std::map<int, std::vector<Figures>> all;
    for (int run = 0; run < runs; ++run) {
        for (int rows : sizes) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(app.applicationFilePath(), {QStringLiteral("--rows"), QString::number(rows)});
            Figures f;
            if (!child.waitForFinished(-1) || !parseFigures(child.readAllStandardOutput(), &f)) {
                std::printf("run %d, %d rows: failed\n", run + 1, rows);
                return 1;
            }
            std::printf("run %d, %6d rows: %8.0f ms, %.3f ms per row, longest pause %.0f ms, peak %.0f MB "
                        "(grown %.0f MB), %s %.1f ms\n",
                        run + 1, rows, f.totalMs, f.totalMs / rows, f.longestPauseMs, f.peakMb, f.grownMb, extraName,
                        f.extraMs);
            all[rows].push_back(f);
        }
    }
    std::printf("\n%7s | %-15s | %-13s | %-17s | %-11s | %-11s | %s (ms)\n", "rows", "total (s)", "ms per row",
                "longest pause ms", "peak MB", "grown MB", extraName);
    for (const auto &[rows, list] : all) {
        std::vector<double> total, perRow, pause, peak, grown, extra;
        for (const Figures &f : list) {
            total.push_back(f.totalMs / 1000.0);
            perRow.push_back(f.totalMs / rows);
            pause.push_back(f.longestPauseMs);
            peak.push_back(f.peakMb);
            grown.push_back(f.grownMb);
            extra.push_back(f.extraMs);
        }
        std::printf("%7d | %-15s | %-13s | %-17s | %-11s | %-11s | %s\n", rows, range(total, "%.2f").c_str(),
                    range(perRow, "%.3f").c_str(), range(pause, "%.0f").c_str(), range(peak, "%.0f").c_str(),
                    range(grown, "%.0f").c_str(), range(extra, "%.1f").c_str());
    }
    if (all.size() > 1) {
        const auto perRowMedian = [&all](int rows) {
            std::vector<double> perRow;
            for (const Figures &f : all[rows])
                perRow.push_back(f.totalMs / rows);
            return median(perRow);
        };
        const int smallest = all.begin()->first, largest = all.rbegin()->first;
        std::printf("per-row cost at %d rows / at %d rows (medians): %.2f\n", largest, smallest,
                    perRowMedian(largest) / perRowMedian(smallest));
    }
    return 0;
}

} // namespace shownlist
