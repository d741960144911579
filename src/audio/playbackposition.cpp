#include "audio/playbackposition.h"

namespace {

QString clockText(qint64 ms, bool withHours)
{
    ms = qMax<qint64>(0, ms);
    const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    const QString minutesOn = two(ms / 60000 % 60) + QLatin1Char(':') + two(ms / 1000 % 60) + QLatin1Char('.')
                              + QStringLiteral("%1").arg(ms % 1000, 3, 10, QLatin1Char('0'));
    return withHours ? two(ms / 3600000) + QLatin1Char(':') + minutesOn : minutesOn;
}

} // namespace

float recordingPositionMs(qint64 progressMs, float viewStartSeconds, float playbackRate)
{
    return float(double(float(progressMs) * playbackRate) + double(viewStartSeconds) * 1000.0);
}

QString playbackTimeText(qint64 positionMs, qint64 durationMs)
{
    if (durationMs == 0)
        return QString();
    const bool withHours = durationMs > 3600000;
    return clockText(positionMs, withHours) + QStringLiteral(" / ") + clockText(durationMs, withHours);
}
