#include "platform/desktoptheme.h"

#include <QStyleFactory>

#ifdef Q_OS_WIN
#include "common/desktopsettingkeys.h"

#include <QSettings>
#endif

namespace {

std::optional<bool> &lightOverride()
{
    static std::optional<bool> value;
    return value;
}

} // namespace

bool systemPrefersLightTheme()
{
    if (lightOverride())
        return *lightOverride();
#ifdef Q_OS_WIN
    const QSettings personalize(QLatin1String(DesktopSettingKeys::personalizePath), QSettings::NativeFormat);
    const QVariant light = personalize.value(QLatin1String(DesktopSettingKeys::appsUseLightTheme),
                                             DesktopSettingKeys::appsUseLightThemeMissing);
    return light.toInt() != 0;
#else
    // Elsewhere the same QSettings call would read (and a write would create) a
    // file named after the registry path in the working folder: never ask it.
    return true;
#endif
}

void setSystemPrefersLightThemeOverride(std::optional<bool> light)
{
    lightOverride() = light;
}

QString lightThemeStyleName(const QStringList &offeredStyles)
{
    const QString vista = QStringLiteral("WindowsVista");
    if (offeredStyles.contains(vista, Qt::CaseInsensitive))
        return vista;
    return QStringLiteral("Fusion");
}

QString lightThemeStyleName()
{
    return lightThemeStyleName(QStyleFactory::keys());
}

QString darkThemeStyleName()
{
    return QStringLiteral("Fusion");
}
