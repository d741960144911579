#include "classmodel/classnamerules.h"

#include "common/userdialogs.h"

#include <QCoreApplication>

namespace ClassNames {

bool isUsable(const QString &name)
{
    if (name.contains(QLatin1Char('|')) || name.contains(QLatin1String(" + ")) || name.contains(QLatin1Char('\t'))
        || name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')))
        return false;
    const QString shown = name.trimmed();
    if (shown.endsWith(QLatin1String(" +")))
        return false;
    return shown != unassigned && shown != detectedNoCall;
}

bool isUsableClass(const QString &name)
{
    return isUsable(name) && !name.trimmed().isEmpty();
}

QString refusal(const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return QCoreApplication::translate("ClassNames", "The new Class Name may not be empty.");
    if (!isUsable(typed) || typed.contains(QLatin1Char(';')))
        return QCoreApplication::translate("ClassNames", "This class name cannot be used.\nA class name may not hold "
                                                         "\";\", \"|\", \" + \", a tab or a line break, nor end "
                                                         "in \" +\", nor be \"%1\" or \"%2\".")
            .arg(unassigned, detectedNoCall);
    return QString();
}

bool confirmTyped(const QString &typed)
{
    const QString text = refusal(typed);
    if (text.isEmpty())
        return true;
    userDialogs().message({nullptr, QMessageBox::Information, QString(), text});
    return false;
}

} // namespace ClassNames
