#include "app/abouttext.h"

#include <QLocale>
#include <QStringList>

QString applicationVersionText()
{
    return QStringLiteral(QUILLON_VERSION);
}

QDate buildDateFromCompilerDate(const char *compilerDate)
{
    // simplified() folds the blank that pads a one-digit day.
    const QString text = QString::fromLatin1(compilerDate).simplified();
    return QLocale::c().toDate(text, QStringLiteral("MMM d yyyy"));
}

QString aboutBoxText(const QString &applicationName, const QString &version, const QDate &buildDate)
{
    // The C locale gives the English month names the rest of the program speaks,
    // whatever the desktop's language.
    const QString date = QLocale::c().toString(buildDate, QStringLiteral("dd. MMMM yyyy"));
    const QStringList makerBlock{
        QStringLiteral("Harmonvale"),
        QStringLiteral("Review and classification of ultrasonic bat recordings"),
    };
    return QStringLiteral("<b>") + applicationName + QStringLiteral("</b><br><br>Version ") + version
           + QStringLiteral(", ") + date + QStringLiteral("<br>") + makerBlock.join(QStringLiteral("<br>"));
}
