// The light and dark looks of the window and its time and frequency plots;
// the spectrogram looks the same in both.
#include "app/mainwindow.h"

#include "audio/playercontrols.h"
#include "common/settingskeys.h"
#include "common/themecode.h"
#include "platform/desktoptheme.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace {

QPalette darkPalette()
{
    const QColor window(53, 53, 53);
    const QColor blue(42, 130, 218);
    const QColor grey(128, 128, 128);
    QPalette p;
    p.setColor(QPalette::All, QPalette::Window, window);
    p.setColor(QPalette::All, QPalette::WindowText, Qt::white);
    p.setColor(QPalette::All, QPalette::Base, QColor(25, 25, 25));
    p.setColor(QPalette::All, QPalette::AlternateBase, window);
    p.setColor(QPalette::All, QPalette::ToolTipBase, blue);
    p.setColor(QPalette::All, QPalette::ToolTipText, Qt::white);
    p.setColor(QPalette::All, QPalette::Text, Qt::white);
    p.setColor(QPalette::All, QPalette::Button, window);
    p.setColor(QPalette::All, QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::All, QPalette::Link, blue);
    p.setColor(QPalette::All, QPalette::Highlight, blue);
    p.setColor(QPalette::All, QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Active, QPalette::Button, grey.darker(200));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, grey);
    p.setColor(QPalette::Disabled, QPalette::WindowText, grey);
    p.setColor(QPalette::Disabled, QPalette::Text, grey);
    p.setColor(QPalette::Disabled, QPalette::Light, window);
    return p;
}

// The tool buttons are checkable: the dark set has a lit and an unlit picture.
QIcon toolIcon(const QString &on, const QString &off)
{
    QIcon icon;
    icon.addFile(on, QSize(), QIcon::Normal, QIcon::On);
    icon.addFile(off, QSize(), QIcon::Normal, QIcon::Off);
    return icon;
}

void installStyle(const QString &name)
{
    if (QStyle *style = QStyleFactory::create(name))
        QApplication::setStyle(style);
}

} // namespace

// The zoom and selection tools and the two pairs of navigation arrows.
void MainWindow::setThemeButtonIcons(bool dark)
{
    if (dark) {
        widgets.zoomTool->setIcon(
            toolIcon(QStringLiteral(":/images/zoom_darkOn.png"), QStringLiteral(":/images/zoom_darkOff.png")));
        widgets.selectionTool->setIcon(
            toolIcon(QStringLiteral(":/images/select_darkOn.png"), QStringLiteral(":/images/select_darkOff.png")));
    } else {
        widgets.zoomTool->setIcon(QIcon(QStringLiteral(":/images/zoom_light.png")));
        widgets.selectionTool->setIcon(QIcon(QStringLiteral(":/images/select_light.png")));
    }
    const QIcon up(dark ? QStringLiteral(":/images/arrow_up_dark.png") : QStringLiteral(":/images/arrow_up_light.png"));
    const QIcon down(dark ? QStringLiteral(":/images/arrow_down_dark.png")
                          : QStringLiteral(":/images/arrow_down_light.png"));
    widgets.folderPrevious->setIcon(up);
    widgets.evaluationPrevious->setIcon(up);
    widgets.folderNext->setIcon(down);
    widgets.evaluationNext->setIcon(down);
}

void MainWindow::setDarkTheme()
{
    installStyle(darkThemeStyleName());
    QApplication::setPalette(darkPalette());
    qApp->setStyleSheet(
        QStringLiteral("QToolTip { color: #ffffff; background-color: #656565; border: 1px solid white; }"));

    setThemeButtonIcons(true);
    playerControls->setTheme(true);

    timePlot->setColours(true);
    frequencyPlot->setColours(true);
}

void MainWindow::setLightTheme()
{
    // The light palette is the light style's own. Taken from the style in
    // effect before the switch it would be the dark theme's "Fusion" palette
    // wherever the light style is another one, and the window would not come
    // back to the look it started with.
    qApp->setStyleSheet(QString());
    installStyle(lightThemeStyleName());
    QApplication::setPalette(QApplication::style()->standardPalette());

    setThemeButtonIcons(false);
    playerControls->setTheme(false);

    timePlot->setColours(false);
    frequencyPlot->setColours(false);
}

// Start-up and the three theme actions share this: the choice is stored, then applied.
void MainWindow::applyThemeCode(int code)
{
    switch (code) {
    case ThemeCode::FollowSystem:
        writeSetting(SettingKeys::theme, code);
        if (systemPrefersLightTheme())
            setLightTheme();
        else
            setDarkTheme();
        break;
    case ThemeCode::Light:
        writeSetting(SettingKeys::theme, code);
        setLightTheme();
        break;
    case ThemeCode::Dark:
        writeSetting(SettingKeys::theme, code);
        setDarkTheme();
        break;
    default:
        // A value this program never writes: keep the platform's look.
        break;
    }
}

void MainWindow::on_actionDark_Theme_triggered()
{
    applyThemeCode(ThemeCode::Dark);
}

void MainWindow::on_actionLight_Theme_triggered()
{
    applyThemeCode(ThemeCode::Light);
}

void MainWindow::on_actionWindows_Theme_triggered()
{
    applyThemeCode(ThemeCode::FollowSystem);
}
