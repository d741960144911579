#pragma once

#include "analysis/mybatcall.h"
#include "display/spectrogramplot.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygon>
#include <array>

class QAction;
class QWidget;
class QwtPlotPicker;

/**
 * What the mouse does over the spectrogram: choosing which picker a press
 * starts (a frequency marker, an edge of the measurement rectangle, or the
 * zoomer and selection on empty canvas), dragging the markers, drawing and
 * resizing the measurement rectangle, and the box of a call under the cursor.
 *
 * Its parts are borrowed: the plot and what it owns, the main window's
 * actions and calls. The pickers' signals are connected to the slots of the
 * same names.
 */
class SpectrogramInteraction : public QObject
{
    Q_OBJECT
public:
    struct Wiring {
        // Its pickers, zoomer, markers and boxes are the ones worked here.
        SpectrogramPlot *plot = nullptr;
        // A marker can be grabbed only while its view action is checked.
        std::array<QAction *, 3> markerActions{{nullptr, nullptr, nullptr}};
        QAction *categorizationAction = nullptr;
        // The calls of the shown recording; the list is read on every move.
        const QList<MyBatCall> *batCalls = nullptr;
        // The frame around the spectrogram: taller than 500 px doubles the grab tolerances.
        const QWidget *sizeFrame = nullptr;
    };

    explicit SpectrogramInteraction(const Wiring &wiring, QObject *parent = nullptr);

    // The grab tolerances at the cursor's scale, in seconds and kHz.
    QPointF tolerances() const;

public slots:
    void mouseMoved(QPointF point);
    void deactivateZoomer(bool on);
    void plotSelectionRect(const QPolygon &polygon);
    void moveSelectorLeft(const QPoint &point);
    void moveSelectorRight(const QPoint &point);
    void moveSelectorTop(const QPoint &point);
    void moveSelectorBottom(const QPoint &point);
    void moveMarker1(const QPointF &point);
    void moveMarker2(const QPointF &point);
    void moveMarker3(const QPointF &point);
    // marker is 0, 1 or 2 for markers 1 to 3.
    void moveMarker(int marker, const QPointF &point);

signals:
    // A dragged marker's position was stored in "valueMarker<n>" (n = marker + 1);
    // the settings dialog should reload its values.
    void markerValueStored(int marker, double kHz);

private:
    enum PickerSlot { Marker1, Marker2, Marker3, Left, Right, Top, Bottom, Zoomer, Selection, SlotCount };
    QwtPlotPicker *picker(int slot) const;
    bool anotherPickerActive(int slot) const;
    void enableOnly(int slot);
    void setCanvasCursor(Qt::CursorShape shape);
    void hoverCalls(const QPointF &point, const QPointF &tolerance);
    void replot();

    Wiring p;
    const SpectrogramPlot::Items d; // the plot's, taken once: they live as long as the plot
};
