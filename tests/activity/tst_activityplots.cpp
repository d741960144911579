#include "testregistry.h"

#include "activity/activityzoomers.h"
#include "activity/plotexport.h"
#include "activity/qwtplotgappedcurve.h"
#include "activitydialogtest.h"
#include "scripteddialogs.h"

#include <QImageWriter>
#include <QSvgRenderer>
#include <QtTest>
#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_intervalcurve.h>

namespace {

constexpr double dayMs = 86400000.0;

QStringList legendTitles(QwtPlot *plot)
{
    QStringList titles;
    for (QwtLegendLabel *label : plot->legend()->findChildren<QwtLegendLabel *>())
        titles << label->data().title().text();
    titles.sort();
    return titles;
}

QwtPlotCurve *titled(QwtPlot *plot, const QString &title, bool inLegend)
{
    auto *curve = new QwtPlotCurve(title);
    curve->setItemAttribute(QwtPlotItem::Legend, inLegend);
    curve->attach(plot);
    return curve;
}

} // namespace

// The seven plots as the set-up builds them, their legends, and their export.
class TestActivityPlots : public ActivityDialogTest
{
    Q_OBJECT
private slots:
    void plotsInTheirCellsOnGreyCanvases();
    void timePlotLegendAndDrawingOrder();
    void scaleButtonsFollowTheLogKeys();
    void rightZoomerOnlyShowsText();
    void legendsShowAndHide();
    void exportPlotDocuments();
    void exportFailures();
    void nameWithoutSuffix_data();
    void nameWithoutSuffix();
    void exportTakesTheChosenFiltersSuffix();
    void exportPlotData();
};

void TestActivityPlots::plotsInTheirCellsOnGreyCanvases()
{
    writeFolderSetting(path(), FolderSettings::temperaturePrecipitationFile, QStringLiteral("/nowhere.csv"));
    auto d = open();
    const std::tuple<QwtPlot *, QGridLayout *, int> cells[] = {
        {d->plotVsTime, d->ui->gridLayout_2, 1},  {d->plotVsDays, d->ui->gridLayout_25, 0},
        {d->plotVsMonth, d->ui->gridLayout_8, 0}, {d->plotVsNight, d->ui->gridLayout_11, 0},
        {d->plotVsTemp, d->ui->gridLayout_14, 2}, {d->plotVsPrec, d->ui->gridLayout_17, 2},
        {d->plotVsWind, d->ui->gridLayout_20, 2}};
    for (const auto &[plot, layout, column] : cells) {
        QVERIFY(plot);
        QCOMPARE(layout->itemAtPosition(0, column)->widget(), plot);
        QCOMPARE(plot->canvasBackground().color(), QColor(240, 240, 240));
        const QList<QwtPlotItem *> grids = plot->itemList(QwtPlotItem::Rtti_PlotGrid);
        QCOMPARE(grids.size(), 1);
        QCOMPARE(static_cast<QwtPlotGrid *>(grids.at(0))->majorPen().color(), QColor(230, 230, 230));
    }
    d->plotVsNight->updateAxes();
    d->plotVsWind->updateAxes();
    QCOMPARE(d->plotVsNight->axisScaleDiv(QwtPlot::xBottom).lowerBound(), -0.15);
    QCOMPARE(d->plotVsWind->axisScaleDiv(QwtPlot::xBottom).upperBound(), 40.0);
}

void TestActivityPlots::timePlotLegendAndDrawingOrder()
{
    auto d = open();
    QwtPlot *plot = d->plotVsTime;
    QVERIFY(plot->itemList(QwtPlotItem::Rtti_PlotCurve).isEmpty()); // the chart attaches them
    // As the chart does: samples, then every item attached.
    const double x0 = 0, x1 = 10 * dayMs, sunrise = 6 * 3600e3;
    plot->setAxisScale(QwtPlot::xBottom, x0, x1);
    plot->setAxisScale(QwtPlot::yLeft, 0, dayMs);
    d->sunriseCurve->setSamples(QVector<QPointF>{{x0, sunrise}, {x1, sunrise}});
    d->recordingTimesCurve->setSamples(QVector<QwtIntervalSample>{{x0, 0, dayMs}, {x1, 0, dayMs}});
    for (QwtPlotItem *item :
         {static_cast<QwtPlotItem *>(d->sunriseCurve), static_cast<QwtPlotItem *>(d->sunsetCurve),
          static_cast<QwtPlotItem *>(d->sunrise2Curve), static_cast<QwtPlotItem *>(d->sunset2Curve)})
        item->attach(plot);
    for (QwtPlotIntervalCurve *band :
         {d->twilightCurve, d->twilight2Curve, d->twilightSetCurve, d->twilightSet2Curve, d->recordingTimesCurve,
          d->recordingTimes2Curve, d->recordingTimes3Curve, d->recordingTimes4Curve, d->invalidTimesCurve})
        band->attach(plot);
    QCOMPARE(legendTitles(plot), (QStringList{"Invalid Times", "Recording Times", "Sunrise", "Sunset", "Twilight"}));

    // Drawn: the sunrise line crosses the white recording band, above it.
    plot->resize(600, 400);
    plot->replot();
    const QImage image = plot->grab().toImage();
    const QPoint canvas = plot->canvas()->geometry().topLeft();
    const int row = canvas.y() + qRound(plot->transform(QwtPlot::yLeft, sunrise));
    int blue = 0;
    for (int x = canvas.x() + 20; x < canvas.x() + 220; x += 10) {
        const auto bluish = [](QRgb p) { return qRed(p) < 200 && qBlue(p) > 240; };
        if (bluish(image.pixel(x, row)) || bluish(image.pixel(x, row - 1)) || bluish(image.pixel(x, row + 1)))
            ++blue;
        QCOMPARE(image.pixelColor(x, row + 40), QColor(Qt::white)); // the band, not the grey canvas
    }
    QVERIFY2(blue >= 18, qPrintable(QString::number(blue)));
}

void TestActivityPlots::scaleButtonsFollowTheLogKeys()
{
    writeFolderSetting(path(), FolderSettings::logNight, true);
    auto d = open();
    QVERIFY(d->ui->radioButton->isChecked() && !d->ui->radioButton_2->isChecked());
    for (QRadioButton *linear : {d->ui->radioButton_11, d->ui->radioButton_3, d->ui->radioButton_9})
        QVERIFY(linear->isChecked());
    QCOMPARE(storedKeys("Time").filter(QRegularExpression("^log")), QStringList{"logNight"});
}

void TestActivityPlots::rightZoomerOnlyShowsText()
{
    auto d = open();
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::Days));
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QSignalSpy zoomed(d->zoomerVsDays, &QwtPlotZoomer::zoomed);
    QSignalSpy rightActive(d->rightZoomerVsDays, &QwtPicker::activated);
    QWidget *canvas = d->plotVsDays->canvas();
    testsupport::drag(canvas, canvas->rect().center() - QPoint(60, 40), canvas->rect().center() + QPoint(60, 40),
                      Qt::NoModifier);
    QCOMPARE(zoomed.count(), 1);
    QCOMPARE(rightActive.count(), 0);
    QCOMPARE(d->rightZoomerVsDays->zoomRectIndex(), 0u);
    QCOMPARE(d->rightZoomerVsDays->trackerMode(), QwtPicker::AlwaysOn);
}

void TestActivityPlots::legendsShowAndHide()
{
    auto d = open();
    // Through the legend itself: the time plot's "Recording Times" entry.
    d->recordingTimesCurve->attach(d->plotVsTime);
    d->recordingTimes2Curve->attach(d->plotVsTime);
    auto *label = qobject_cast<QwtLegendLabel *>(static_cast<QwtLegend *>(d->plotVsTime->legend())
                                                     ->legendWidget(d->plotVsTime->itemToInfo(d->recordingTimesCurve)));
    QVERIFY(label);
    QTest::mouseClick(label, Qt::LeftButton); // entries start unchecked: this checks it
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(!d->recordingTimesCurve->isVisible() && !d->recordingTimes4Curve->isVisible());
    QCOMPARE(d->plotVsTime->canvasBackground().color(), QColor(Qt::white));
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(d->recordingTimes2Curve->isVisible());
    QCOMPARE(d->plotVsTime->canvasBackground().color(), QColor(240, 240, 240));

    d->invalidTimesCurve->attach(d->plotVsTime);
    QwtPlotCurve *invalid = titled(d->plotVsTime, QStringLiteral("Invalid"), false);
    QwtPlotCurve *nycEntry = titled(d->plotVsTime, QStringLiteral("Nyc"), true);
    QwtPlotCurve *nycMarker = titled(d->plotVsTime, QStringLiteral("Nyc_marker"), false);
    d->legendChecked(d->plotVsTime->itemToInfo(d->invalidTimesCurve), false, 0);
    QVERIFY(!invalid->isVisible() && d->invalidTimesCurve->isVisible());
    d->legendChecked(d->plotVsTime->itemToInfo(nycEntry), false, 0);
    QVERIFY(!nycMarker->isVisible() && nycEntry->isVisible());

    // Activity plots: "Valid Hours" takes the right axis and, but on two plots, its tracker text.
    using Slot = void (plotFolderDialog::*)(const QVariant &, bool, int);
    const std::tuple<QwtPlot *, QwtPlotCurve *, QwtPlotZoomer *, Slot, bool> tabs[] = {
        {d->plotVsDays, d->validHoursVsDays, d->rightZoomerVsDays, &plotFolderDialog::legendVsDaysChecked, true},
        {d->plotVsNight, d->validHoursVsNight, d->rightZoomerVsNight, &plotFolderDialog::legendVsNightChecked, true},
        {d->plotVsWind, d->validHoursVsWind, d->rightZoomerVsWind, &plotFolderDialog::legendVsWindChecked, false}};
    for (const auto &[plot, curve, right, slot, trackerFollows] : tabs) {
        for (bool on : {false, true}) {
            (d.get()->*slot)(plot->itemToInfo(curve), on, 0);
            QCOMPARE(curve->isVisible(), on);
            QCOMPARE(plot->axisEnabled(QwtPlot::yRight), on);
            QCOMPARE(right->trackerMode(), on || !trackerFollows ? QwtPicker::AlwaysOn : QwtPicker::AlwaysOff);
        }
    }
    QwtPlotCurve *pip = titled(d->plotVsDays, QStringLiteral("Pip"), true);
    QwtPlotCurve *pipActivity = titled(d->plotVsDays, QStringLiteral("Pip_Activity"), false);
    QwtPlotCurve *nycActivity = titled(d->plotVsDays, QStringLiteral("Nyc_Activity"), false);
    d->legendVsDaysChecked(d->plotVsDays->itemToInfo(pip), false, 0);
    QVERIFY(!pipActivity->isVisible() && pip->isVisible() && nycActivity->isVisible());
}

void TestActivityPlots::exportPlotDocuments()
{
    ScriptedDialogs dialogs;
    const QByteArray home = qgetenv("HOME");
    QTemporaryDir fakeHome;
    qputenv("HOME", fakeHome.path().toLocal8Bit());
    const QString noDesktop = plotExportFolder();
    QDir(fakeHome.path()).mkdir(QStringLiteral("Desktop"));
    const QString desktop = plotExportFolder();
    qputenv("HOME", home);
    QCOMPARE(noDesktop, fakeHome.path());
    QCOMPARE(desktop, fakeHome.path() + QStringLiteral("/Desktop"));

    auto d = open();
    dialogs.fileAnswers << path() + "/time.PDF" << path() + "/time.svg" << path() + "/time.png";
    for (int i = 0; i < 3; ++i)
        d->ui->pushButton_2->click();
    QCOMPARE(dialogs.fileQuestions.size(), 3);
    QCOMPARE(dialogs.fileQuestions.at(0).caption, QStringLiteral("Export File Name"));
    QCOMPARE(dialogs.fileQuestions.at(0).dir, plotExportFolder() + QStringLiteral("/activityOverTime.pdf"));
    QCOMPARE(dialogs.fileQuestions.at(0).filter, plotExportFilters(QImageWriter::supportedImageFormats()));
    QVERIFY(dialogs.messages.isEmpty());

    // 300 x 200 mm at 85 dpi: 850 x 567 points, 1003.9 x 669.3 dots.
    QFile pdf(path() + "/time.PDF");
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray pdfBytes = pdf.readAll();
    QVERIFY(pdfBytes.startsWith("%PDF") && pdfBytes.trimmed().endsWith("%%EOF"));
    QVERIFY(pdfBytes.contains("/MediaBox [0 0 850.000000 567.000000]")); // whole points
    QSvgRenderer svg(path() + "/time.svg");
    QVERIFY(svg.isValid());
    QCOMPARE(svg.viewBoxF().size().toSize(), QSize(1004, 669));
    const QImage png(path() + "/time.png");
    QCOMPARE(png.size(), QSize(1004, 669));
    QCOMPARE(png.dotsPerMeterX(), 3346);
}

void TestActivityPlots::exportFailures()
{
    ScriptedDialogs dialogs;
    auto d = open();
    QDir(path()).mkdir(QStringLiteral("taken.pdf")); // a folder where the file should go
    dialogs.fileAnswers << path() + "/taken.pdf" << path() + "/no/such/folder/plot.pdf";
    dialogs.expectMessages(2);
    d->ui->pushButton_2->click();
    d->ui->pushButton_2->click();
    QCOMPARE(dialogs.messages.size(), 2);
    for (const MessageBoxRequest &m : dialogs.messages) {
        QCOMPARE(m.text, QStringLiteral("Could not write to file."));
        QCOMPARE(m.icon, QMessageBox::Critical);
    }
    QVERIFY(!QFile::exists(path() + "/no/such/folder/plot.pdf"));
    // A weather tab without its file has no plot to export.
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::Temperature));
    d->ui->pushButton_2->click();
    QCOMPARE(dialogs.fileQuestions.size(), 2);
}

void TestActivityPlots::nameWithoutSuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("written");
    const QString svg = QStringLiteral("SVG documents (*.svg)");
    QTest::newRow("no suffix: the filter's") << "/d/plot" << svg << QString() << "/d/plot.svg";
    QTest::newRow("images: the first format") << "/d/plot"
                                              << "Images ( *.bmp *.png)" << QString() << "/d/plot.bmp";
    QTest::newRow("the filter's suffix stays") << "/d/plot.svg" << svg << QString() << "/d/plot.svg";
    QTest::newRow("the filter's suffix in capitals stays") << "/d/plot.PDF"
                                                           << "PDF documents (*.pdf)" << QString() << "/d/plot.PDF";
    QTest::newRow("any of the filter's suffixes stays") << "/d/plot.png"
                                                        << "Images ( *.bmp *.png)" << QString() << "/d/plot.png";
    QTest::newRow("another suffix: the filter's behind it") << "/d/plot.pdf" << svg << QString() << "/d/plot.pdf.svg";
    QTest::newRow("a dot in the name: the filter's suffix") << "/d/bats.v2"
                                                            << "TXT Files (*.txt)" << QString() << "/d/bats.v2.txt";
    QTest::newRow("the suffix's letters without their dot") << "/d/plotsvg" << svg << QString() << "/d/plotsvg.svg";
    QTest::newRow("a dot in the folder is no suffix") << "/d.v2/plot" << svg << QString() << "/d.v2/plot.svg";
    QTest::newRow("a closing dot takes the suffix behind it") << "/d/plot." << svg << QString() << "/d/plot.svg";
    const QString offered = QStringLiteral("PDF documents (*.pdf);;SVG documents (*.svg)");
    QTest::newRow("a suffix of another filter offered stays") << "/d/plot.pdf" << svg << offered << "/d/plot.pdf";
    QTest::newRow("a dot in the name, several filters offered") << "/d/bats.v2" << svg << offered << "/d/bats.v2.svg";
    QTest::newRow("no filter: as typed") << "/d/plot" << QString() << QString() << "/d/plot";
}

void TestActivityPlots::nameWithoutSuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, offered);
    QFETCH(QString, written);
    QCOMPARE(withFilterSuffix(typed, filter, offered), written);
}

void TestActivityPlots::exportTakesTheChosenFiltersSuffix()
{
    ScriptedDialogs dialogs;
    auto d = open();
    dialogs.fileAnswers << path() + "/typed";
    dialogs.selectedFilterAnswers << QStringLiteral("SVG documents (*.svg)");
    d->ui->pushButton_2->click();
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(QSvgRenderer(path() + "/typed.svg").isValid());
}

void TestActivityPlots::exportPlotData()
{
    ScriptedDialogs dialogs;                // the chart asks for its file (and is told none)
    addRow(QStringLiteral("01/06/21"), {}); // without a dated recording there is nothing to export
    auto d = open();
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::Months));
    calls.clear();
    d->ui->pushButton_19->click();
    // The tab change drew the chart once already: its first-plot flag is cleared.
    QCOMPARE(calls, (QVector<ChartCall>{{ActivityTab::Months, false, true}}));
    d->ready = false;
    d->ui->pushButton_19->click();
    QCOMPARE(calls.size(), 1);
}

QUILLON_TEST(TestActivityPlots)
#include "tst_activityplots.moc"
