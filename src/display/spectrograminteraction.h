#pragma once

#include "analysis/mybatcall.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygon>
#include <array>

class QAction;
class QWidget;
class QwtPlot;
class QwtPlotMarker;
class QwtPlotPicker;
class QwtPlotZoomer;
class MyRectRangeMarker;
class MyRectCallsMarker;

/**
 * What the mouse does over the spectrogram: choosing which picker a press
 * starts (a frequency marker, an edge of the measurement rectangle, or the
 * zoomer and selection on empty canvas), dragging the markers, drawing and
 * resizing the measurement rectangle, and the box of a call under the cursor.
 *
 * All parts are borrowed from the main window, which owns them through their
 * plot; the pickers' signals are connected to the slots of the same names.
 */
class SpectrogramInteraction : public QObject
{
    Q_OBJECT
public:
    struct Parts {
        QwtPlot *plot = nullptr;
        QwtPlotZoomer *zoomer = nullptr;
        QwtPlotPicker *selectionPicker = nullptr;
        QwtPlotPicker *leftEdgePicker = nullptr;
        QwtPlotPicker *rightEdgePicker = nullptr;
        QwtPlotPicker *topEdgePicker = nullptr;
        QwtPlotPicker *bottomEdgePicker = nullptr;
        std::array<QwtPlotMarker *, 3> markers{{nullptr, nullptr, nullptr}};
        std::array<QwtPlotPicker *, 3> markerPickers{{nullptr, nullptr, nullptr}};
        // A marker can be grabbed only while its view action is checked.
        std::array<QAction *, 3> markerActions{{nullptr, nullptr, nullptr}};
        MyRectRangeMarker *measurementRect = nullptr;
        MyRectCallsMarker *callMarker = nullptr;
        QAction *categorizationAction = nullptr;
        // The calls of the shown recording; the list is read on every move.
        const QList<MyBatCall> *batCalls = nullptr;
        // The frame around the spectrogram: taller than 500 px doubles the grab tolerances.
        const QWidget *sizeFrame = nullptr;
    };

    explicit SpectrogramInteraction(const Parts &parts, QObject *parent = nullptr);

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

    Parts p;
};
