#pragma once

#include <QTreeWidgetItem>

#include <optional>

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
 */
class fileViewTreeWidgetItem : public QTreeWidgetItem
{
public:
    // Appends the row as the last top-level item of `view`.
    explicit fileViewTreeWidgetItem(QTreeWidget *view, int type = 0);

    // Fills `list` anew with a row per name (in column 0), with the flags
    // given or a new row's own, as adding them one by one and sorting the
    // list by name ascending would leave it: in that order, with that sort
    // shown, the row of the first name current. For a folder of 50,000
    // recordings in a fraction of the time: the list takes the rows in at
    // once, and the names are sorted before they are rows (a sort of rows
    // asks each of them for its text a dozen times).
    static void fillSortedByName(QTreeWidget *list, const QStringList &names, std::optional<Qt::ItemFlags> flags);

    bool operator<(const QTreeWidgetItem &other) const override;

    // Turns the list's sorting on, which sorts it at once by its sort
    // indicator. Rows that are in that order already (as a header chain
    // leaves them, the list unsorted while its rows are filled) are given
    // their places for that sort, so that it compares places, not texts: the
    // texts of 50,000 rows lie all over the memory, and a sort asks each row
    // for its text a dozen times.
    static void turnSortingOn(QTreeWidget *list);

    // A place set on two rows (0 or more) orders them before any column
    // does: how a list is brought into an order of the program's choosing
    // in one move, which keeps the item widgets of its rows. -1 clears it.
    void setPlace(int place) { m_place = place; }
    int place() const { return m_place; }

    // Text colour of columns 0 to 9 of a row of the Tavron evaluation or the
    // review, from its header reply: Unchanged keeps whatever colour it had.
    // The row holds one colour for the ten columns and tells its list of a
    // new one in a single change, where a colour set column by column would
    // have the list look at the row ten times; a colour set on one of these
    // columns afterwards (setForeground) is shown in that column instead.
    enum class RowColour { Accepted, NotAccepted, Default, Unchanged };
    static RowColour rowColourFor(const QString &accepted, const QString &firstClass);
    void applyRowColour(RowColour colour);

    // A header reply's proposal for the row: its flags, its accept box in
    // that state and its colour, told to the list in one change of the row
    // (the list then repaints it and makes its box if it is in view).
    void takeProposal(Qt::ItemFlags flags, bool accepted, RowColour colour);

    QVariant data(int column, int role) const override;

    // True unless the proposal is "No call" (any case): only such rows can be
    // accepted, selected and coloured in the Tavron evaluation and the review.
    static bool hasCallProposal(const QString &proposal);

    // The "Accept proposal" box of a row of the Tavron evaluation or the
    // review. A row carries one from its header reply on, but its QCheckBox
    // (the item widget of column 5) is made only while the row is in view
    // (FileListWidget): a box per row of a large folder would cost more
    // memory than the rows and make the list slow to build. Meanwhile the
    // row keeps the box's state; where the QCheckBox is made, it holds it.
    bool holdsAcceptBox() const { return m_accept != AcceptState::NoBox; }
    bool acceptBoxChecked() const;
    // Gives the row an accept box in that state, or sets the one it has; a
    // QCheckBox made is set with its signals blocked, so that setting it
    // accepts nothing. The list makes the QCheckBox when the row is in view.
    void setAcceptBox(bool checked);
    // Takes the row's accept box away, if it holds one.
    void removeAcceptCheckBox();
    // The QCheckBox of the row's accept box where it is made, else null.
    QCheckBox *acceptCheckBox() const;
    // Gives the row an accept box in that state and makes its QCheckBox in
    // column 5 now (or takes the one made already), and returns it; the
    // caller connects its stateChanged(int). Null when the row is in no list.
    QCheckBox *addAcceptCheckBox(bool checked);
    // Takes the QCheckBox away (when its row has left the view), the row
    // keeping the box's state.
    void releaseAcceptCheckBox();

    // The accepted flag a row shows: "1" or "0" by its accept box where it
    // carries one (column 5 then has no text), else the text of column 5.
    static QString acceptedFlag(const QTreeWidgetItem *row);

private:
    // A row for `view` not yet in any list.
    struct Detached {
    };
    fileViewTreeWidgetItem(QTreeWidget *view, Detached)
        : view(view)
    {
    }

    enum class AcceptState : quint8 { NoBox, Unchecked, Checked };

    // Sets the row's colour without telling the list; true when columns lost a colour of their own
    // (each of which told the list).
    bool setRowColour(RowColour colour);
    // Gives the row an accept box in that state without telling the list.
    void setAcceptState(bool checked);

    QTreeWidget *view;
    int m_place = -1;
    // Of columns 0 to 9: Accepted, NotAccepted or Default (the list's own colour).
    RowColour m_colour = RowColour::Default;
    // Up to date while no QCheckBox is made; the made one holds the state.
    AcceptState m_accept = AcceptState::NoBox;
};
