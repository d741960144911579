#pragma once

#include <QObject>

class QFrame;
class QGridLayout;
class QScrollBar;
class SpectrogramPlot;
class TimePlot;
struct ScrollRange;

/**
 * Which stretch of the recording the spectrogram and the time plot show: the
 * time axes, the scroll bar under the spectrogram, and the spacer under the
 * frequency plot that keeps that plot's canvas level with the spectrogram's.
 * Every change of the visible span passes through here, whichever way it
 * comes: a newly drawn recording, a canvas resize in the fixed aspect ratio,
 * or the scroll bar. It reads the time-axis settings itself.
 *
 * All parts are borrowed from the main window, which owns them; the window's
 * scroll-bar slot and the canvas resizes its event filter sees come here.
 * Playback follows spanChanged, so that what plays is what is on view.
 */
class SpectrogramScroller : public QObject
{
    Q_OBJECT
public:
    struct Wiring {
        // The spectrogram's zoomer: its zoom base follows the span. The scale
        // items inside both canvases start their numbers at the span's start.
        SpectrogramPlot *spectrogramPlot = nullptr;
        TimePlot *timePlot = nullptr;
        QScrollBar *scrollBar = nullptr;
        QFrame *bottomSpacer = nullptr;
        const QGridLayout *scrollBarLayout = nullptr; // holds the spectrogram above the scroll bar
    };

    /** Sizes the spacer once: the frequency plot is laid out before any recording is shown. */
    explicit SpectrogramScroller(const Wiring &wiring, QObject *parent = nullptr);

    /**
     * A newly drawn recording of duration seconds, in columns of
     * secondsPerColumn, with frequencySpan kHz on its axis: the span its time
     * axis mode gives, from 0, and the scroll bar when the span is shorter.
     * Returns that span. Also how a change of the time-axis settings shows
     * the recording on view again.
     */
    double showFromStart(double duration, double frequencySpan, double secondsPerColumn);

    /**
     * The spectrogram's canvas changed size. In the fixed aspect ratio the
     * span follows it in one pass, from the same left edge and unzoomed;
     * nothing happens in the other modes or before a valid view exists.
     */
    void fitToCanvas(double duration, double secondsPerColumn);

    /** The scroll bar stands at column value: both time axes show the span from there. */
    void scrollTo(int value, double duration, double secondsPerColumn);

    /**
     * With a fixed aspect ratio the bar and the spacer keep their room when
     * hidden, so showing or hiding the bar never changes the canvas height the
     * span is computed from, and a resize cannot make the bar flicker.
     */
    void keepScrollBarRoom(bool keep);

    /**
     * The one place the spacer is sized: as tall as the scroll bar and the
     * spacing above it. Runs on every pass, the bar shown or hidden.
     */
    void sizeSpacer();

signals:
    /**
     * The time axes moved to start..end seconds: a scroll, or the span fitted
     * to the canvas. Not sent for showFromStart, whose caller goes on to
     * build what belongs to the new recording.
     */
    void spanChanged(double start, double end);

private:
    void showScrollBar(const ScrollRange &range);
    void hideScrollBar();

    Wiring p;
};
