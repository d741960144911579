#pragma once

#include <QTreeWidgetItem>

class QCheckBox;
class QTreeWidget;

/**
 * One recording's row in a file list (columns as FileViewColumn: name, date
 * "dd/MM/yy", time "hh:mm:ss", length in s, proposal, accepted flag, four
 * classes, comment).
 *
 * Sorting follows the list's sort column: the length numerically in the
 * default locale, the time as a clock time, the date by date and time
 * together in calendar order, everything else by plain text. Texts that do
 * not parse ("N/A") come before every valid time or date-time.
 *
 * The parsed values are kept per row and renewed whenever the row's date,
 * time or length text changes, so that sorting a large folder parses each
 * row once instead of on every comparison. A change of the default locale
 * after a row was sorted is not noticed: the row keeps the length it read.
 */
class fileViewTreeWidgetItem : public QTreeWidgetItem
{
public:
    // Appends the row as the last top-level item of `view`.
    explicit fileViewTreeWidgetItem(QTreeWidget *view, int type = 0);

    bool operator<(const QTreeWidgetItem &other) const override;
    void setData(int column, int role, const QVariant &value) override;

    // Text colour of columns 0 to 9 of a row of the Tavron evaluation or the
    // review, from its header reply: Unchanged keeps whatever colour it had.
    enum class RowColour { Accepted, NotAccepted, Default, Unchanged };
    static RowColour rowColourFor(const QString &accepted, const QString &firstClass);
    void applyRowColour(RowColour colour);

    // True unless the proposal is "No call" (any case): only such rows can be
    // accepted, selected and coloured in the Tavron evaluation and the review.
    static bool hasCallProposal(const QString &proposal);

    // Places the "Accept proposal" check box in column 5 and returns it; the
    // caller connects its stateChanged(int). Needs the row to be in its list.
    QCheckBox *addAcceptCheckBox(bool checked);

    // Seconds since an arbitrary epoch of the date and time texts read as
    // "dd/MM/yy hh:mm:ss" in calendar order, or -1 when either does not parse.
    static qint64 dateTimeKey(const QString &date, const QString &time);
    // Seconds since midnight of a "hh:mm:ss" text, or -1 when it does not parse.
    static int timeKey(const QString &time);

private:
    QTreeWidget *view;

    // Parsed once on first use; reset when a column they come from changes.
    struct SortKeys {
        bool valid = false;
        qint64 dateTime = -1;
        int time = -1;
        double length = 0.0;
    };
    mutable SortKeys keys;
    const SortKeys &sortKeys() const;
};
