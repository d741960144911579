#include "filelist/fileviewtreewidgetitem.h"

#include "filelist/filerowtexts.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLocale>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// Columns with a sort rule or a role of their own.
const int kNameColumn = 0;
const int kDateColumn = 1;
const int kTimeColumn = 2;
const int kLengthColumn = 3;
const int kAcceptColumn = 5;
const int kLastClassColumn = 9;

} // namespace

fileViewTreeWidgetItem::fileViewTreeWidgetItem(QTreeWidget *view, int type)
    : QTreeWidgetItem(view, type)
    , view(view)
{
}

void fileViewTreeWidgetItem::fillSortedByName(QTreeWidget *list, const QStringList &names,
                                              std::optional<Qt::ItemFlags> flags)
{
    list->clear();
    // The order operator< gives rows by name: plain text order, equal names as they came.
    std::vector<int> order(size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&names](int a, int b) { return names.at(a) < names.at(b); });
    QList<QTreeWidgetItem *> rows;
    rows.reserve(names.size());
    QTreeWidgetItem *first = nullptr;
    for (const int i : order) {
        auto *row = new fileViewTreeWidgetItem(list, Detached());
        row->setText(kNameColumn, names.at(i));
        if (flags)
            row->setFlags(*flags);
        if (i == 0)
            first = row;
        rows << row;
    }
    list->header()->setSortIndicator(kNameColumn, Qt::AscendingOrder);
    list->addTopLevelItems(rows);
    if (first)
        list->setCurrentItem(first);
}

void fileViewTreeWidgetItem::turnSortingOn(QTreeWidget *list)
{
    const int count = list->topLevelItemCount();
    std::vector<fileViewTreeWidgetItem *> rows;
    rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        auto *row = dynamic_cast<fileViewTreeWidgetItem *>(list->topLevelItem(i));
        if (!row || row->m_place >= 0 || row->childCount() > 0) {
            list->setSortingEnabled(true);
            return;
        }
        rows.push_back(row);
    }
    // In order: the sort (a stable one) would leave every row where it is.
    const bool ascending = list->header()->sortIndicatorOrder() == Qt::AscendingOrder;
    bool inOrder = true;
    for (size_t i = 1; i < rows.size() && inOrder; ++i)
        inOrder = ascending ? !(*rows[i] < *rows[i - 1]) : !(*rows[i - 1] < *rows[i]);
    if (inOrder) {
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i]->m_place = ascending ? int(i) : count - 1 - int(i);
    }
    list->setSortingEnabled(true);
    if (inOrder) {
        for (fileViewTreeWidgetItem *row : rows)
            row->m_place = -1;
    }
}

bool fileViewTreeWidgetItem::operator<(const QTreeWidgetItem &other) const
{
    if (m_place >= 0) {
        const auto *placed = dynamic_cast<const fileViewTreeWidgetItem *>(&other);
        if (placed && placed->m_place >= 0)
            return m_place < placed->m_place;
    }
    if (!view)
        return text(0) < other.text(0);
    const int column = view->sortColumn();
    switch (column) {
    case kLengthColumn: {
        // Parsed on every comparison rather than cached, so that a change of
        // the default locale or of a row's text can never leave a stale key.
        const QLocale locale;
        return locale.toDouble(text(column)) < locale.toDouble(other.text(column));
    }
    case kTimeColumn:
        return FileRowTexts::timeKey(text(column)) < FileRowTexts::timeKey(other.text(column));
    case kDateColumn:
        return FileRowTexts::dateTimeKey(text(kDateColumn), text(kTimeColumn))
               < FileRowTexts::dateTimeKey(other.text(kDateColumn), other.text(kTimeColumn));
    default:
        return text(column) < other.text(column);
    }
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

bool fileViewTreeWidgetItem::setRowColour(RowColour colour)
{
    if (colour == RowColour::Unchanged)
        return false;
    m_colour = colour;
    // A colour set on a column of its own would hide the row's new one.
    bool told = false;
    for (int column = 0; column <= kLastClassColumn; ++column) {
        if (QTreeWidgetItem::data(column, Qt::ForegroundRole).isValid()) {
            setData(column, Qt::ForegroundRole, QVariant());
            told = true;
        }
    }
    return told;
}

void fileViewTreeWidgetItem::applyRowColour(RowColour colour)
{
    const RowColour before = m_colour;
    if (!setRowColour(colour) && m_colour != before)
        emitDataChanged();
}

void fileViewTreeWidgetItem::takeProposal(Qt::ItemFlags flags, bool accepted, RowColour colour)
{
    setAcceptState(accepted);
    setRowColour(colour);
    // The one change the list is told of, whatever changed.
    setFlags(flags);
}

QVariant fileViewTreeWidgetItem::data(int column, int role) const
{
    // The comment column keeps the list's colour whatever the proposal.
    if (role != Qt::ForegroundRole || column > kLastClassColumn || m_colour == RowColour::Default)
        return QTreeWidgetItem::data(column, role);
    const QVariant own = QTreeWidgetItem::data(column, role);
    if (own.isValid())
        return own;
    return QBrush(m_colour == RowColour::Accepted ? QColor(122, 184, 0) : QColor(255, 69, 0));
}

bool fileViewTreeWidgetItem::hasCallProposal(const QString &proposal)
{
    return proposal.compare(QLatin1String("No call"), Qt::CaseInsensitive) != 0;
}

QCheckBox *fileViewTreeWidgetItem::acceptCheckBox() const
{
    QTreeWidget *list = treeWidget();
    // itemWidget() takes a non-const row, though it changes nothing.
    return list ? qobject_cast<QCheckBox *>(list->itemWidget(const_cast<fileViewTreeWidgetItem *>(this), kAcceptColumn))
                : nullptr;
}

bool fileViewTreeWidgetItem::acceptBoxChecked() const
{
    if (const QCheckBox *box = acceptCheckBox())
        return box->isChecked();
    return m_accept == AcceptState::Checked;
}

void fileViewTreeWidgetItem::setAcceptState(bool checked)
{
    m_accept = checked ? AcceptState::Checked : AcceptState::Unchecked;
    if (QCheckBox *box = acceptCheckBox()) {
        const QSignalBlocker noAcceptance(box);
        box->setChecked(checked);
    }
}

void fileViewTreeWidgetItem::setAcceptBox(bool checked)
{
    const bool given = holdsAcceptBox();
    setAcceptState(checked);
    // A change of the row without a role: the list makes the box if the row is in view.
    if (!given && !acceptCheckBox())
        emitDataChanged();
}

QCheckBox *fileViewTreeWidgetItem::addAcceptCheckBox(bool checked)
{
    QTreeWidget *list = treeWidget();
    if (!list)
        return nullptr;
    m_accept = checked ? AcceptState::Checked : AcceptState::Unchecked;
    QCheckBox *box = acceptCheckBox();
    if (!box) {
        box = new QCheckBox(QString());
        box->setToolTip(QStringLiteral("Accept proposal"));
        box->setChecked(checked);
        list->setItemWidget(this, kAcceptColumn, box);
    } else {
        box->setChecked(checked);
    }
    return box;
}

void fileViewTreeWidgetItem::releaseAcceptCheckBox()
{
    QCheckBox *box = acceptCheckBox();
    if (!box)
        return;
    m_accept = box->isChecked() ? AcceptState::Checked : AcceptState::Unchecked;
    treeWidget()->removeItemWidget(this, kAcceptColumn);
}

void fileViewTreeWidgetItem::removeAcceptCheckBox()
{
    m_accept = AcceptState::NoBox;
    if (QTreeWidget *list = treeWidget())
        list->removeItemWidget(this, kAcceptColumn);
}

QString fileViewTreeWidgetItem::acceptedFlag(const QTreeWidgetItem *row)
{
    const auto *fileRow = dynamic_cast<const fileViewTreeWidgetItem *>(row);
    if (fileRow && fileRow->holdsAcceptBox())
        return fileRow->acceptBoxChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return row->text(kAcceptColumn);
}
