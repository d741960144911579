#include "guitest.h"

#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "common/settingskeys.h"
#include "display/myqwtzoomer.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <qwt_plot.h>

namespace testsupport {

void prepareGuiTests()
{
    // Tests fill the store before the first window exists; its construction sets the same names again.
    setApplicationIdentity();
    registerMetaTypes();
}

void GuiTestCase::init()
{
    QSettings().clear();
}

std::unique_ptr<MainWindow> exposedWindow()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

std::unique_ptr<MainWindow> spectrogramOnScreen()
{
    auto window = std::make_unique<MainWindow>();
    window->findChild<QGroupBox *>(QStringLiteral("groupBox_4"))->show();
    window->resize(1000, 700);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    window->spectrogramPlot->setAxisScale(QwtPlot::xBottom, 0, 10);
    window->spectrogramPlot->setAxisScale(QwtPlot::yLeft, 0, 125);
    window->spectrogramPlot->replot();
    window->spectroZoomer->setZoomBase(false);
    return window;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget *widget, const QPoint &from, const QPoint &to, Qt::KeyboardModifiers modifiers)
{
    sendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
    sendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, modifiers);
    sendMouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    if (condition())
        return true;
    QEventLoop loop;
    const auto check = [&condition, &loop]() {
        if (condition())
            loop.quit();
    };
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, check);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, check);
    poll.start(20);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    loop.exec();
    return condition();
}

bool waitForSpectrogram(const MainWindow &window, int timeoutMs)
{
    return waitUntil([&window]() { return !window.calculating; }, timeoutMs);
}

} // namespace testsupport
