#include "activity/invalidtimesdialog.h"

#include "activity/invalidtimestext.h"
#include "common/columnwidths.h"
#include "ui_invalidtimesdialog.h"

#include <QDate>
#include <QDateTimeEdit>
#include <QTreeWidgetItem>

namespace {
enum Column { NumberColumn = 0, BeginColumn = 1, EndColumn = 2 };
}

invalidTimesDialog::invalidTimesDialog(QWidget *parent, const QString &invalidTimesText)
    : QDialog(parent)
    , ui(new Ui::invalidTimesDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Set invalid Monitoring Periods"));
    fitColumns();

    // Only what both halves of reads becomes a row: an editor would turn a half
    // it cannot take into its own initial date-time, and Ok would store that.
    const InvalidTimesSplit split = splitInvalidTimesText(invalidTimesText);
    for (const InvalidTimesPeriod &p : split.readable)
        addRow(invalidTimesReading(p.begin), invalidTimesReading(p.end));
    unreadableParts = split.unreadable;
    showUnreadableCount();
}

invalidTimesDialog::~invalidTimesDialog()
{
    delete ui;
}

QDateTime invalidTimesDialog::newRowDefault()
{
    return invalidTimesReading(QStringLiteral("01.01.") + QDate::currentDate().toString(QStringLiteral("yyyy"))
                               + QStringLiteral(" 00:00"));
}

QTreeWidgetItem *invalidTimesDialog::addRow(const QDateTime &begin, const QDateTime &end)
{
    auto *row = new QTreeWidgetItem(ui->treeWidget);
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    row->setText(NumberColumn, QString::number(ui->treeWidget->topLevelItemCount()));
    row->setTextAlignment(NumberColumn, Qt::AlignHCenter);
    const QDateTime values[2] = {begin, end};
    for (int k = 0; k < 2; ++k) {
        auto *edit = new QDateTimeEdit; // the tree takes it over
        // Readings, not local times: UTC has no hour that a clock change skips.
        edit->setTimeSpec(Qt::UTC);
        // The text's split keeps what lies before this as text; the two must agree.
        edit->setMinimumDate(invalidTimesFirstEditableDate());
        edit->setCalendarPopup(true);
        edit->setAlignment(Qt::AlignHCenter);
        edit->setDateTime(values[k]);
        ui->treeWidget->setItemWidget(row, BeginColumn + k, edit);
    }
    // Only the begin follows edits: it pulls the end along.
    connect(editorAt(row, BeginColumn), &QDateTimeEdit::editingFinished, this, &invalidTimesDialog::beginTimeChanged);
    fitColumns();
    return row;
}

void invalidTimesDialog::showUnreadableCount()
{
    // Kept parts have no row, so without this line they would stay in the file unseen.
    const int count = unreadableParts.size();
    ui->label->setVisible(count > 0);
    ui->label->setText(
        count == 1 ? tr("1 stored period could not be read.\nIt is kept unless you delete all.")
                   : tr("%1 stored periods could not be read.\nThey are kept unless you delete all.").arg(count));
    ui->label->setToolTip(unreadableParts.join(QLatin1Char('\n')));
}

void invalidTimesDialog::fitColumns()
{
    // A whole date and time in every editor, all columns beside the buttons.
    setColumnWidthsAtLeast(ui->treeWidget, {20, 140, 140});
    fitTreeWidthToColumns(ui->treeWidget);
}

QDateTimeEdit *invalidTimesDialog::editorAt(QTreeWidgetItem *row, int column) const
{
    return static_cast<QDateTimeEdit *>(ui->treeWidget->itemWidget(row, column));
}

void invalidTimesDialog::beginTimeChanged()
{
    const QObject *source = sender();
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = ui->treeWidget->topLevelItem(i);
        QDateTimeEdit *begin = editorAt(row, BeginColumn);
        if (begin != source)
            continue;
        QDateTimeEdit *end = editorAt(row, EndColumn);
        end->setMinimumDateTime(begin->dateTime());
        if (end->dateTime() == newRowDefault() || end->dateTime() < begin->dateTime())
            end->setDateTime(begin->dateTime());
        return;
    }
}

void invalidTimesDialog::on_pushButton_clicked()
{
    const QDateTime initial = newRowDefault();
    addRow(initial, initial);
}

void invalidTimesDialog::on_pushButton_2_clicked()
{
    qDeleteAll(ui->treeWidget->selectedItems());
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i)
        ui->treeWidget->topLevelItem(i)->setText(NumberColumn, QString::number(i + 1));
}

void invalidTimesDialog::on_pushButton_3_clicked()
{
    // All means the periods the table cannot show too.
    ui->treeWidget->clear();
    unreadableParts.clear();
    showUnreadableCount();
}

void invalidTimesDialog::on_buttonBox_accepted()
{
    QVector<InvalidTimesPeriod> periods;
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = ui->treeWidget->topLevelItem(i);
        periods.append({invalidTimesHalf(editorAt(row, BeginColumn)->dateTime()),
                        invalidTimesHalf(editorAt(row, EndColumn)->dateTime())});
    }
    QString text = composeInvalidTimesText(periods);
    for (const QString &part : qAsConst(unreadableParts))
        text += (text.isEmpty() ? QString() : QStringLiteral(";")) + part;
    invalidTimes = text;
}
