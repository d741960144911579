#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class QwtPlot;

/**
 * Keeps the time plot's time axis over the spectrogram's, so that a call's
 * envelope stands above its trace: the same second at the same x, at both
 * ends of the axis, whatever the window's width, the panes' splitters or the
 * axis titles do to the two plots. Keeps the frequency plot's frequency axis
 * beside the spectrogram's in the same way: the same kilohertz at the same y,
 * so that a level stands beside its row and the cursor line at the mouse.
 *
 * The plots sit in panes of their own, and the title-only axis left of each
 * canvas is as wide as its title asks (a title of two lines takes twice the
 * room). As Qwt's plot matrix lines up its plots, the axis whose canvas edge
 * stands further left gets a minimum extent that brings the edge level with
 * the other. On the right the spectrogram's colour bar stands beside its
 * canvas; the pane right of the time plot takes its width, to the pixel, so
 * that both time axes end at the same x. Below the canvases the same is done
 * with the bottom axes, whose titles may take one line or two, as far as the
 * canvas keeps room for the titles beside it; above them the spacer over the
 * frequency plot takes the room the spectrogram keeps over its canvas for the
 * colour bar's top number.
 *
 * It follows every move and resize between the canvases and the plots'
 * common ancestor, and lines them up once the layouts have settled (on the
 * next pass of the event loop). The plots, the pane and the spacer are
 * borrowed.
 */
class CanvasAligner : public QObject
{
    Q_OBJECT
public:
    struct Wiring {
        QwtPlot *timePlot = nullptr;        // time on xTop, a title-only yLeft
        QwtPlot *spectrogramPlot = nullptr; // time on xBottom, a title-only yLeft
        QWidget *rightPane = nullptr;       // right of the time plot, as wide as what it leaves there
        // Frequency on yLeft (hidden), level on xBottom. Its pane and the
        // spectrogram's stand side by side in one splitter, level with each other.
        QwtPlot *frequencyPlot = nullptr;
        QWidget *topSpacer = nullptr; // above the frequency plot in its pane, as high as it needs
    };

    CanvasAligner(const Wiring &wiring, QObject *parent = nullptr);

    /**
     * Lines the canvases up now: each pair of plots only while both are in
     * sight, with a canvas of some size, in its pane.
     */
    void align();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void alignLater();
    void alignTimeAxes();
    void alignFrequencyAxes();

    QPointer<QwtPlot> m_timePlot;
    QPointer<QwtPlot> m_spectrogramPlot;
    QPointer<QWidget> m_rightPane;
    QPointer<QwtPlot> m_frequencyPlot;
    QPointer<QWidget> m_topSpacer;
    bool m_pending = false;
};
