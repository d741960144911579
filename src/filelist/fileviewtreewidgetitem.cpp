#include "filelist/fileviewtreewidgetitem.h"

#include <QCheckBox>
#include <QDate>
#include <QLocale>
#include <QTreeWidget>

namespace {

// Columns that carry a parsed sort key.
const int kDateColumn = 1;
const int kTimeColumn = 2;
const int kLengthColumn = 3;
const int kAcceptColumn = 5;
const int kLastClassColumn = 9;

// Two decimal digits at s[at], or -1.
int twoDigits(const QString &s, int at)
{
    const QChar a = s.at(at), b = s.at(at + 1);
    if (a < QLatin1Char('0') || a > QLatin1Char('9') || b < QLatin1Char('0') || b > QLatin1Char('9'))
        return -1;
    return (a.unicode() - '0') * 10 + (b.unicode() - '0');
}

// "dd/MM/yy" or "hh:mm:ss": three two-digit fields and two separators.
bool threeFields(const QString &s, QChar separator, int *a, int *b, int *c)
{
    if (s.size() != 8 || s.at(2) != separator || s.at(5) != separator)
        return false;
    *a = twoDigits(s, 0);
    *b = twoDigits(s, 3);
    *c = twoDigits(s, 6);
    return *a >= 0 && *b >= 0 && *c >= 0;
}

} // namespace

fileViewTreeWidgetItem::fileViewTreeWidgetItem(QTreeWidget *view, int type)
    : QTreeWidgetItem(view, type), view(view)
{
}

int fileViewTreeWidgetItem::timeKey(const QString &time)
{
    int h, m, s;
    if (!threeFields(time, QLatin1Char(':'), &h, &m, &s) || !QTime::isValid(h, m, s))
        return -1;
    return h * 3600 + m * 60 + s;
}

qint64 fileViewTreeWidgetItem::dateTimeKey(const QString &date, const QString &time)
{
    int d, mo, y;
    if (!threeFields(date, QLatin1Char('/'), &d, &mo, &y))
        return -1;
    // Every row reads its two-digit year the same way, so any century keeps the order.
    const QDate day(2000 + y, mo, d);
    const int seconds = timeKey(time);
    if (!day.isValid() || seconds < 0)
        return -1;
    // Plain calendar arithmetic: no time zone, so no daylight-saving gap or repeat.
    return (day.toJulianDay() - QDate(2000, 1, 1).toJulianDay()) * 86400 + seconds;
}

const fileViewTreeWidgetItem::SortKeys &fileViewTreeWidgetItem::sortKeys() const
{
    if (!keys.valid) {
        const QString date = text(kDateColumn);
        const QString time = text(kTimeColumn);
        keys.dateTime = dateTimeKey(date, time);
        keys.time = timeKey(time);
        bool ok = false;
        keys.length = QLocale().toDouble(text(kLengthColumn), &ok);
        if (!ok)
            keys.length = 0.0;
        keys.valid = true;
    }
    return keys;
}

void fileViewTreeWidgetItem::setData(int column, int role, const QVariant &value)
{
    QTreeWidgetItem::setData(column, role, value);
    if ((role == Qt::DisplayRole || role == Qt::EditRole)
        && (column == kDateColumn || column == kTimeColumn || column == kLengthColumn))
        keys.valid = false;
}

bool fileViewTreeWidgetItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = view ? view->sortColumn() : 0;
    const auto *row = dynamic_cast<const fileViewTreeWidgetItem *>(&other);
    if (view && row) {
        switch (column) {
        case kLengthColumn:
            return sortKeys().length < row->sortKeys().length;
        case kTimeColumn:
            return sortKeys().time < row->sortKeys().time;
        case kDateColumn:
            return sortKeys().dateTime < row->sortKeys().dateTime;
        default:
            break;
        }
    } else if (view) {
        // A plain item in the same list: no cached keys on its side.
        switch (column) {
        case kLengthColumn: {
            const QLocale locale;
            return locale.toDouble(text(column)) < locale.toDouble(other.text(column));
        }
        case kTimeColumn:
            return timeKey(text(column)) < timeKey(other.text(column));
        case kDateColumn:
            return dateTimeKey(text(kDateColumn), text(kTimeColumn))
                < dateTimeKey(other.text(kDateColumn), other.text(kTimeColumn));
        default:
            break;
        }
    }
    return text(column) < other.text(column);
}

fileViewTreeWidgetItem::RowColour fileViewTreeWidgetItem::rowColourFor(const QString &accepted,
                                                                       const QString &firstClass)
{
    if (accepted == QLatin1String("1"))
        return RowColour::Accepted;
    if (!firstClass.isEmpty())
        return RowColour::NotAccepted;
    // A proposal turned down without any class of its own keeps its old colour.
    return accepted.isEmpty() ? RowColour::Default : RowColour::Unchanged;
}

void fileViewTreeWidgetItem::applyRowColour(RowColour colour)
{
    if (colour == RowColour::Unchanged)
        return;
    // The comment column keeps the list's colour whatever the proposal.
    for (int column = 0; column <= kLastClassColumn; ++column) {
        switch (colour) {
        case RowColour::Accepted:
            setForeground(column, QColor(122, 184, 0));
            break;
        case RowColour::NotAccepted:
            setForeground(column, QColor(255, 69, 0));
            break;
        default:
            // No brush at all, so that the list's own text colour (and theme) applies.
            setData(column, Qt::ForegroundRole, QVariant());
            break;
        }
    }
}

bool fileViewTreeWidgetItem::hasCallProposal(const QString &proposal)
{
    return proposal.compare(QLatin1String("No call"), Qt::CaseInsensitive) != 0;
}

QCheckBox *fileViewTreeWidgetItem::addAcceptCheckBox(bool checked)
{
    QTreeWidget *list = treeWidget();
    if (!list)
        return nullptr;
    auto *box = new QCheckBox(QString());
    box->setToolTip(QStringLiteral("Accept proposal"));
    box->setChecked(checked);
    list->setItemWidget(this, kAcceptColumn, box);
    return box;
}
