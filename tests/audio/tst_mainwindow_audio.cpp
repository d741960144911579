#include "guitest.h"
#include "scripteddialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "audio/audioplayer.h"
#include "audio/playbackrefusal.h"
#include "audio/playercontrols.h"
#include "audio/virtualaudiooutput.h"
#include "display/myqwtzoomer.h"
#include "platform/audiodevice.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <qwt_plot.h>
#include <qwt_plot_marker.h>

namespace {

// Counts the key presses that get past the window's own filter.
struct KeySpy : QObject {
    int presses = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        presses += e->type() == QEvent::KeyPress;
        return false;
    }
};

void set(const char *key, const QVariant &value)
{
    QSettings().setValue(key, value);
}
QAudio::State state(const MainWindow &w)
{
    return w.audioPlayer->state();
}
QwtInterval view(const MainWindow &w)
{
    return w.spectrogramPlot->axisInterval(QwtPlot::xBottom);
}

// playData is a..b seconds of the unchanged 250 kHz buffer, give or take a sample at either end.
bool playsSection(const MainWindow &w, double a, double b)
{
    const int size = int((b - a) * 250000) * 2;
    for (int first = int(a * 250000) * 2 - 4; first <= int(a * 250000) * 2 + 4; first += 2) {
        if (!w.playData.isEmpty() && qAbs(w.playData.size() - size) <= 4
            && w.audioData.mid(first, w.playData.size()) == w.playData)
            return true;
    }
    return false;
}

// The loudest sample of a 16-bit buffer.
int loudest(const QByteArray &pcm)
{
    int peak = 0;
    for (int i = 0; i + 1 < pcm.size(); i += 2)
        peak = qMax(peak, qAbs(int(qint16(quint8(pcm[i]) | quint8(pcm[i + 1]) << 8))));
    return peak;
}

} // namespace

// The window's playback wiring on a virtual clock: one test per path from the
// player, the controls, the keys and the view to what plays and shows.
class TestPlaybackGlue : public testsupport::GuiTestCase
{
    Q_OBJECT
    QTemporaryDir dir;
    VirtualAudioClock clock;

    // Shows noise at -10 dBFS (no two stretches of it alike) of the given length.
    bool open(MainWindow &w, double seconds, int rate = 250000)
    {
        const QString path = dir.path() + QStringLiteral("/noise_%1_%2.wav").arg(seconds).arg(rate);
        const QVector<int> samples = testsupport::SignalBuilder(rate, seconds).noise(-10.0, 3).samples();
        if (!testsupport::writeFile(path, testsupport::simplePcmWav(samples, quint32(rate))))
            return false;
        w.resize(1000, 700);
        w.show();
        w.plot_Data(path);
        return testsupport::waitForSpectrogram(w) && !w.audioPending && w.playerControls->isEnabled();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        qRegisterMetaType<QAudio::State>();
        AudioPlayer::setDefaultOutputFactory(clock.factory());
        AudioDevice::setDefaultOutputDeviceNameOverride(QStringLiteral("virtual"));
    }
    void cleanupTestCase()
    {
        AudioPlayer::setDefaultOutputFactory({});
        AudioDevice::clearDefaultOutputDeviceNameOverride();
    }
    // A test that lost the sound server, passed or not, leaves it to the next one.
    void cleanup() { clock.regainDevice(); }

    void storedChoicesAndTheme()
    {
        set("muted", true);
        set("volume", 40);
        MainWindow w;
        QCOMPARE(w.ui->horizontalLayout_3->itemAt(0)->widget(), w.playerControls);
        QCOMPARE(clock.output()->volume(), 0.0);
        QCOMPARE(w.playerControls->findChild<QSlider *>("volumeSlider")->value(), 40);
        w.playerControls->muteClicked();
        QCOMPARE(clock.output()->volume(),
                 QAudio::convertVolume(0.4, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale));
        w.ui->actionDark_Theme->trigger();
        QCOMPARE(w.playerControls->findChild<QToolButton *>("playButton")->icon().pixmap(16).toImage(),
                 QIcon(":/images/play_dark.png").pixmap(16).toImage());
    }

    void loopAfterIdleNotAfterStop()
    {
        set("loop", true);
        ScriptedDialogs dialogs;
        MainWindow w;
        QVERIFY(open(w, 0.1));
        QSignalSpy states(w.audioPlayer, &AudioPlayer::signalPlayerStateChanged);
        w.playerControls->playClicked();
        clock.advance(150); // 0.1 s plays out
        QCOMPARE(state(w), QAudio::IdleState);
        QVERIFY(!w.spectrogramPositionMarker->isVisible());
        QTRY_COMPARE(state(w), QAudio::ActiveState); // again, after the pause
        emit w.playerControls->stop();
        QVERIFY(!states.wait(300));
        // A stop in the pause before the replay ends the loop too.
        w.playerControls->playClicked();
        clock.advance(150);
        QCOMPARE(state(w), QAudio::IdleState);
        emit w.playerControls->stop();
        QVERIFY(!states.wait(300));
        QCOMPARE(state(w), QAudio::StoppedState);
    }

    void timeLabel_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("stopped");
        QTest::addColumn<QString>("playing");
        QTest::newRow("minutes") << 250000 << 0.5 << "00:00.000 / 00:00.500"
                                 << "00:00.200 / 00:00.500";
        QTest::newRow("above an hour") << 2000 << 3600.5 << "00:00:00.000 / 01:00:00.500"
                                       << "00:00:00.200 / 01:00:00.500";
    }
    void timeLabel()
    {
        QFETCH(int, rate);
        QFETCH(double, seconds);
        set("overlap", 6); // no overlap: the hour-long spectrogram stays small
        ScriptedDialogs dialogs;
        MainWindow w;
        QVERIFY(open(w, seconds, rate));
        QTEST(w.ui->labelDuration->text(), "stopped");
        w.playerControls->playClicked();
        clock.advance(200);
        QTEST(w.ui->labelDuration->text(), "playing");
        // Stopped, and played to the end, it reads zero again, not the last report.
        emit w.playerControls->stop();
        QTEST(w.ui->labelDuration->text(), "stopped");
        if (seconds > 1.0)
            return; // an hour of reports on the clock would only take long
        w.playerControls->playClicked();
        clock.advance(200);
        QTEST(w.ui->labelDuration->text(), "playing");
        clock.advance(qint64(seconds * 1000) + 100);
        QCOMPARE(state(w), QAudio::IdleState);
        QTEST(w.ui->labelDuration->text(), "stopped");
    }

    // Pitched to 10 %: 1 s of playing is 0.1 s of recording from the scrolled view's start.
    void markersPitchedAndScrolled()
    {
        set("audioMode", 2);
        set("playbackRate", 4);
        set("fixedXScale", 1);
        ScriptedDialogs dialogs;
        MainWindow w;
        QVERIFY(open(w, 3.0));
        QCOMPARE(w.audioPlayer->format().sampleRate(), 25000);
        w.spectroScrollBar->setValue(int(1.5 / w.secondsPerColumn));
        const double start = view(w).minValue();
        QVERIFY(qAbs(start - 1.5) < w.secondsPerColumn);
        w.playerControls->playClicked();
        clock.advance(1000);
        for (const QwtPlotMarker *marker : {w.timePositionMarker, w.spectrogramPositionMarker})
            QVERIFY(marker->isVisible() && qAbs(marker->xValue() - (start + 0.1)) < 1e-4);
        w.playerControls->playClicked();
        QCOMPARE(state(w), QAudio::SuspendedState);
        QVERIFY(w.spectrogramPositionMarker->isVisible());
        emit w.playerControls->stop();
        QVERIFY(!w.timePositionMarker->isVisible() && !w.spectrogramPositionMarker->isVisible());
    }

    void sectionFollowsView()
    {
        set("fixedXScale", 1);
        set("fixedDuration", 0.5);
        ScriptedDialogs dialogs;
        MainWindow w;
        QVERIFY(open(w, 2.0));
        QVERIFY(playsSection(w, 0.0, 0.5));

        // Scrolling stops what plays and puts the new stretch in its place.
        w.playerControls->playClicked();
        w.spectroScrollBar->setValue(w.spectroScrollBar->maximum());
        QCOMPARE(state(w), QAudio::StoppedState);
        QVERIFY(qAbs(view(w).maxValue() - 2.0) < 0.01);
        QVERIFY(playsSection(w, view(w).minValue(), view(w).maxValue()));

        // Zooming past the end plays up to the end, at once with autoplay.
        set("autoplay", true);
        w.spectroZoomer->zoom(QRectF(1.9, 10.0, 0.3, 50.0));
        QVERIFY(playsSection(w, 1.9, 2.0));
        QCOMPARE(state(w), QAudio::ActiveState);

        // With a fixed aspect ratio the span, and what plays, follow the canvas.
        set("autoplay", false);
        w.spectroZoomer->zoom(0);
        set("fixedXScale", 2);
        set("fixedAspectRatio", 500);
        const auto fitted = [&w] {
            const QRect c = w.spectrogramPlot->canvas()->contentsRect();
            const double span =
                double(c.width()) / c.height() * w.spectrogramPlot->axisInterval(QwtPlot::yLeft).width() / 500.0;
            return qAbs(view(w).width() - span) < 1e-3 && state(w) == QAudio::StoppedState;
        };
        for (const int width : {1100, 1500}) {
            w.playerControls->playClicked();
            w.resize(width, 700);
            QTRY_VERIFY(fitted());
            // The span keeps its left edge and may reach past the end.
            QVERIFY(playsSection(w, view(w).minValue(), qMin(view(w).maxValue(), 2.0)));
        }
    }

    void gainNeverClips()
    {
        // Quiet noise with a loud tone at 0.7..0.8 s; the time plot follows a
        // zoom into the quiet part before it.
        set("timePlotZoom", true);
        ScriptedDialogs dialogs;
        MainWindow w;
        const QString path = dir.path() + QStringLiteral("/quietThenLoud.wav");
        const QVector<int> samples =
            testsupport::SignalBuilder(250000, 1.0).noise(-50.0, 5).tone(20000, -3.0, 0.7, 0.1).samples();
        QVERIFY(testsupport::writeFile(path, testsupport::simplePcmWav(samples, 250000)));
        w.resize(1000, 700);
        w.show();
        w.plot_Data(path);
        QVERIFY(testsupport::waitForSpectrogram(w));
        const int eighty = int(0.8 * 32767);
        QVERIFY(qAbs(loudest(w.playData) - eighty) <= 2);

        w.spectroZoomer->zoom(QRectF(0.1, 10.0, 0.2, 50.0));
        emit w.spectroSettingsDialog->signalAudioControlsChanged();
        // What the plot shows plays at 80 % of full scale ...
        QVERIFY(qAbs(loudest(w.playData) - eighty) <= 2);
        // ... and back at the whole recording, which the plot no longer
        // follows, the tone does too, unclipped, though the plot's limit is
        // still that of the quiet part.
        set("timePlotZoom", false);
        w.spectroZoomer->zoom(0);
        QVERIFY(playsSection(w, 0.0, 1.0));
        QVERIFY(qAbs(loudest(w.playData) - eighty) <= 2);
    }

    // 500 kHz plays at 500 kHz in these modes, beyond the output's 384 kHz.
    void refusedRateSaysSo_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("Original") << 0;
        QTest::newRow("Undersampled 1:1") << 1;
        QTest::newRow("Pitched 100%") << 2;
        QTest::newRow("Mixed") << 3;
    }
    void refusedRateSaysSo()
    {
        QFETCH(int, mode);
        set("audioMode", mode);
        // The index of the mode shown is 0; the other one's is ignored.
        set("undersampling", mode == 1 ? 0 : 5);
        set("playbackRate", mode == 2 ? 0 : 5);
        ScriptedDialogs dialogs;
        MainWindow w;
        QVERIFY(open(w, 0.2, 500000));
        QCOMPARE(w.audioPlayer->format().sampleRate(), 500000);
        dialogs.expectMessages(2);
        for (int press = 1; press <= 2; ++press) {
            w.playerControls->findChild<QToolButton *>("playButton")->click();
            QTRY_COMPARE(dialogs.messages.size(), press);
            // Nothing plays, and nothing looks as if it did.
            QCOMPARE(w.playerControls->state(), QAudio::StoppedState);
            QVERIFY(!w.spectrogramPositionMarker->isVisible());
            QCOMPARE(w.ui->labelDuration->text(), QStringLiteral("00:00.000 / 00:00.200"));
            clock.advance(100);
            QCoreApplication::processEvents();
            QCOMPARE(dialogs.messages.size(), press); // once per press, not per report
        }
        const MessageBoxRequest &box = dialogs.messages.last();
        QVERIFY2(box.text.contains("500000 Hz"), qPrintable(box.text));
        QVERIFY2(box.informativeText.contains("50%") && box.informativeText.contains("2:1"),
                 qPrintable(box.informativeText));

        // Autoplay does not tell again of the rate told; the way out plays.
        set("autoplay", true);
        emit w.spectroSettingsDialog->signalAudioControlsChanged();
        QCoreApplication::processEvents();
        QCOMPARE(dialogs.messages.size(), 2);
        set("audioMode", 2);
        set("playbackRate", 1);
        emit w.spectroSettingsDialog->signalAudioControlsChanged();
        QCOMPARE(w.audioPlayer->format().sampleRate(), 250000);
        QCOMPARE(state(w), QAudio::ActiveState);
        QCoreApplication::processEvents();
        QCOMPARE(dialogs.messages.size(), 2);
    }

    // The sound server goes away while a recording plays: the box says so
    // once, not again at every step with autoplay (a new output each), but
    // at a press on Play; once sound has played again, a step that finds it
    // gone again is news.
    void soundServerLostIsToldOnce()
    {
        set("autoplay", true);
        ScriptedDialogs dialogs;
        MainWindow w;
        QVERIFY(open(w, 1.0));
        QCOMPARE(state(w), QAudio::ActiveState);
        dialogs.expectMessages(3);
        clock.loseDevice();
        QTRY_COMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().informativeText, soundServerLostText(false).details);
        const auto step = [&w] {
            emit w.spectroSettingsDialog->signalAudioControlsChanged();
            QCoreApplication::processEvents();
        };
        for (int steps = 0; steps < 3; ++steps)
            step();
        QCOMPARE(dialogs.messages.size(), 1);
        w.playerControls->playClicked();
        QTRY_COMPARE(dialogs.messages.size(), 2);
        clock.regainDevice();
        step();
        QCOMPARE(state(w), QAudio::ActiveState);
        emit w.playerControls->stop();
        clock.loseDevice();
        step();
        QCOMPARE(dialogs.messages.size(), 3);
        step();
        QCOMPARE(dialogs.messages.size(), 3);
    }

    void keys()
    {
        ScriptedDialogs dialogs;
        MainWindow w;
        QVERIFY(open(w, 0.5));
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        KeySpy spy;
        QWidget *canvas = w.spectrogramPlot->canvas();
        canvas->installEventFilter(&spy);
        const auto press = [canvas](int key) {
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(canvas, &e);
        };
        press(Qt::Key_F1);
        QCOMPARE(state(w), QAudio::ActiveState);
        press(Qt::Key_F1);
        QCOMPARE(state(w), QAudio::SuspendedState);
        press(Qt::Key_F3);
        QCOMPARE(clock.output()->volume(), 0.0);
        press(Qt::Key_F3);
        QVERIFY(clock.output()->volume() > 0.0);
        press(Qt::Key_F2);
        QCOMPARE(state(w), QAudio::StoppedState);
        w.calculating = true;
        press(Qt::Key_F1);
        QCOMPARE(state(w), QAudio::StoppedState);
        QCOMPARE(spy.presses, 0);
        press(Qt::Key_F4); // not the player's
        QCOMPARE(spy.presses, 1);
        w.calculating = false;
    }

    void settingsAndNewRecording()
    {
        ScriptedDialogs dialogs;
        MainWindow w;
        QVERIFY(open(w, 1.0));
        w.ui->actionAudio_Settings->trigger();
        QCOMPARE(w.spectroSettingsDialog->findChild<QTabWidget *>("tabWidget")->currentIndex(), 2);
        w.spectroSettingsDialog->hide();

        // Undersampled 10:1 with autoplay: rebuilt for the view and played at once.
        set("audioMode", 1);
        set("undersampling", 5);
        set("autoplay", true);
        emit w.spectroSettingsDialog->signalAudioControlsChanged();
        QCOMPARE(w.audioPlayer->format().sampleRate(), 25000);
        QCOMPARE(w.playData.size(), 50000);
        QCOMPARE(state(w), QAudio::ActiveState);

        // Another recording stops the player at once, even one that fails to
        // load, and nothing is rebuilt until one is on show.
        set("loop", true);
        QVERIFY(testsupport::writeFile(dir.path() + "/empty.wav", testsupport::simplePcmWav(QVector<int>(), 250000)));
        QCOMPARE(w.ui->labelDuration->text(), QStringLiteral("00:00.000 / 00:01.000"));
        dialogs.expectMessages();
        w.plot_Data(dir.path() + "/empty.wav");
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().text, QStringLiteral("The wav file could not be loaded"));
        QCOMPARE(state(w), QAudio::StoppedState);
        QVERIFY(!w.playerControls->isEnabled());
        QVERIFY(w.ui->labelDuration->text().isEmpty()); // not the length of the recording before
        set("audioMode", 0);
        emit w.spectroSettingsDialog->signalAudioControlsChanged();
        QCOMPARE(w.audioPlayer->format().sampleRate(), 25000);
    }
};

QUILLON_TEST(TestPlaybackGlue)
#include "tst_mainwindow_audio.moc"
