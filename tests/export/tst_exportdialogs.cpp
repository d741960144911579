// The class check tree in its three dialogs, the CSV dialog's interval
// choice, the Tavron dialogs and the year choice, offscreen.
#include "export/changeyearsdialog.h"
#include "export/copyfilesdialog.h"
#include "export/exportcsvdialog.h"
#include "export/exporttavrondialog.h"
#include "export/exporttavrondialog2.h"
#include "testregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace {

const QString kClassText = QStringLiteral("Nyc\t5\n\tNycNoc\t2\n\t NycLow \t0\n  Pip \t3\n\n"
                                          "  Unassigned  \t4\nDetected No Call\t1\n");

QTreeWidget *treeOf(QDialog *d)
{
    return d->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
}

// The row of that name, searched as the check tree is laid out: classes, then their subclasses.
QTreeWidgetItem *rowNamed(QTreeWidget *tree, const QString &name)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = tree->topLevelItem(i);
        if (row->text(0) == name)
            return row;
        for (int c = 0; c < row->childCount(); ++c) {
            if (row->child(c)->text(0) == name)
                return row->child(c);
        }
    }
    return nullptr;
}

QCheckBox *boxOf(QTreeWidget *tree, QTreeWidgetItem *row)
{
    return qobject_cast<QCheckBox *>(tree->itemWidget(row, 2));
}

QPushButton *okButton(QDialog *d)
{
    return d->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok);
}

// Runs the dialog modally and presses one of its buttons as soon as the loop runs.
int execPressing(QDialog *d, QDialogButtonBox::StandardButton which)
{
    QTimer::singleShot(
        0, d, [d, which] { d->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(which)->click(); });
    return d->exec();
}

enum class Kind { Copy, Csv, Tavron };

std::unique_ptr<ClassCheckDialog> makeDialog(Kind kind, const QString &text)
{
    switch (kind) {
    case Kind::Copy:
        return std::make_unique<CopyFilesDialog>(nullptr, text, QString(), QString());
    case Kind::Csv:
        return std::make_unique<exportcsvDialog>(nullptr, text, QString(), QString());
    case Kind::Tavron:
        return std::make_unique<ExportTavronDialog>(nullptr, text);
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class ExportDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void checkTree_fill();
    void checkTree_eachBoxStandsAlone();
    void checkTree_twoRowsOfOneName();
    void checkTree_doubleClickAnyColumnToggles();
    void checkTree_emptyTextAccepted();
    void checkTree_colours_data();
    void checkTree_colours();
    void tavron_unassignedNeverChosen();
    void copyDialog_ownTexts();
    void csvDialog_intervalsStayAscending();
    void csvDialog_options();
    void tavronDialogs_options();
    void yearDialog();
};

void ExportDialogsTest::checkTree_fill()
{
    CopyFilesDialog d(nullptr, kClassText, QString(), QString());
    QTreeWidget *tree = treeOf(&d);
    QCOMPARE(tree->topLevelItemCount(), 4);
    QTreeWidgetItem *nyc = tree->topLevelItem(0);
    QCOMPARE(nyc->text(0), QStringLiteral("Nyc"));
    QVERIFY(nyc->isExpanded());
    QCOMPARE(nyc->childCount(), 2);
    QCOMPARE(nyc->child(1)->text(0), QStringLiteral("NycLow"));
    QCOMPARE(nyc->child(1)->text(1), QStringLiteral("0"));
    QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Pip"));
    QCOMPARE(tree->topLevelItem(1)->text(1), QStringLiteral("3"));
    QCOMPARE(d.checkedClasses, (QStringList{"Nyc", "NycNoc", "NycLow", "Pip", "Unassigned", "Detected No Call"}));
    QVERIFY(boxOf(tree, nyc->child(0))->isChecked());
    // The form's widths, or what the names and the header need in the desktop's font.
    QVERIFY(tree->columnWidth(0) >= 150 && tree->columnWidth(1) >= 40);
    QVERIFY(tree->columnWidth(1) >= tree->header()->sectionSizeHint(1));
}

void ExportDialogsTest::checkTree_eachBoxStandsAlone()
{
    exportcsvDialog d(nullptr, kClassText, QString(), QString());
    QTreeWidget *tree = treeOf(&d);
    boxOf(tree, rowNamed(tree, "Nyc"))->setChecked(false);
    QVERIFY(boxOf(tree, rowNamed(tree, "NycNoc"))->isChecked());
    QCOMPARE(d.checkedClasses, (QStringList{"NycNoc", "NycLow", "Pip", "Unassigned", "Detected No Call"}));
    // Checking again puts the name at the end.
    boxOf(tree, rowNamed(tree, "Nyc"))->setChecked(true);
    QCOMPARE(d.checkedClasses, (QStringList{"NycNoc", "NycLow", "Pip", "Unassigned", "Detected No Call", "Nyc"}));
    // A partly checked state changes nothing.
    boxOf(tree, rowNamed(tree, "Pip"))->setCheckState(Qt::PartiallyChecked);
    QVERIFY(d.checkedClasses.contains("Pip"));
}

void ExportDialogsTest::checkTree_twoRowsOfOneName()
{
    CopyFilesDialog d(nullptr, "Pip\t1\n\tPip\t2\n", QString(), QString());
    QTreeWidget *tree = treeOf(&d);
    boxOf(tree, tree->topLevelItem(0)->child(0))->setChecked(false);
    QCOMPARE(d.checkedClasses, QStringList{"Pip"});
    boxOf(tree, tree->topLevelItem(0))->setChecked(false);
    QVERIFY(d.checkedClasses.isEmpty());
}

void ExportDialogsTest::checkTree_doubleClickAnyColumnToggles()
{
    CopyFilesDialog d(nullptr, kClassText, QString(), QString());
    QTreeWidget *tree = treeOf(&d);
    QTreeWidgetItem *pip = rowNamed(tree, "Pip");
    emit tree->itemDoubleClicked(pip, 1);
    QVERIFY(!boxOf(tree, pip)->isChecked());
    QVERIFY(!d.checkedClasses.contains("Pip"));
    emit tree->itemDoubleClicked(pip, 0);
    QVERIFY(boxOf(tree, pip)->isChecked());
    QCOMPARE(d.checkedClasses.last(), QStringLiteral("Pip"));
}

void ExportDialogsTest::checkTree_emptyTextAccepted()
{
    CopyFilesDialog d(nullptr, QString(), QString(), QString());
    QCOMPARE(treeOf(&d)->topLevelItemCount(), 0);
    QCOMPARE(execPressing(&d, QDialogButtonBox::Ok), int(QDialog::Accepted));
    QVERIFY(d.checkedClasses.isEmpty());
}

void ExportDialogsTest::checkTree_colours_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("unassignedBox");
    QTest::addColumn<bool>("noCallBlue");
    QTest::newRow("copy") << Kind::Copy << true << true;
    QTest::newRow("CSV") << Kind::Csv << true << true;
    QTest::newRow("Tavron") << Kind::Tavron << false << false;
}

void ExportDialogsTest::checkTree_colours()
{
    QFETCH(Kind, kind);
    QFETCH(bool, unassignedBox);
    QFETCH(bool, noCallBlue);
    const auto d = makeDialog(kind, kClassText);
    QTreeWidget *tree = treeOf(d.get());
    QTreeWidgetItem *unassigned = rowNamed(tree, "Unassigned");
    QTreeWidgetItem *noCall = rowNamed(tree, "Detected No Call");
    QCOMPARE(unassigned->foreground(0).color(), QColor(Qt::red));
    QCOMPARE(boxOf(tree, unassigned) != nullptr, unassignedBox);
    QCOMPARE(d->checkedClasses.contains("Unassigned"), unassignedBox);
    if (noCallBlue)
        QCOMPARE(noCall->foreground(0).color(), QColor(Qt::blue));
    else
        QCOMPARE(noCall->foreground(0).style(), Qt::NoBrush);
    QCOMPARE(rowNamed(tree, "Pip")->foreground(0).style(), Qt::NoBrush);
    // Only class lines are coloured.
    const auto sub = makeDialog(kind, "Nyc\t1\n\tUnassigned\t1\n");
    QCOMPARE(treeOf(sub.get())->topLevelItem(0)->child(0)->foreground(0).style(), Qt::NoBrush);
}

void ExportDialogsTest::tavron_unassignedNeverChosen()
{
    ExportTavronDialog d(nullptr, "Nyc\t3\nPip\t1\nUnassigned\t2\n");
    QTreeWidget *tree = treeOf(&d);
    QTreeWidgetItem *unassigned = tree->topLevelItem(2);
    QCOMPARE(unassigned->text(0), QStringLiteral("Unassigned"));
    emit tree->itemDoubleClicked(unassigned, 0);
    QCOMPARE(d.checkedClasses, (QStringList{"Nyc", "Pip"}));
    emit tree->itemDoubleClicked(rowNamed(tree, "Nyc"), 1);
    emit tree->itemDoubleClicked(rowNamed(tree, "Pip"), 2);
    QVERIFY(d.checkedClasses.isEmpty());
    QVERIFY(d.options().classFilter.isEmpty());
}

void ExportDialogsTest::csvDialog_intervalsStayAscending()
{
    exportcsvDialog d(nullptr, kClassText, QString(), QString());
    auto *one = d.findChild<QCheckBox *>("checkBox");
    auto *five = d.findChild<QCheckBox *>("checkBox_2");
    auto *ten = d.findChild<QCheckBox *>("checkBox_3");
    ten->click();
    one->click();
    five->click();
    QCOMPARE(d.intervals, (QList<int>{1, 5, 10}));
    five->click();
    QCOMPARE(d.intervals, (QList<int>{1, 10}));
    one->click();
    five->click();
    QCOMPARE(d.intervals, (QList<int>{5, 10}));
    ten->click();
    QCOMPARE(d.intervals, QList<int>{5});
    // States set by the program are no clicks.
    ten->setChecked(true);
    QCOMPARE(d.intervals, QList<int>{5});
}

void ExportDialogsTest::copyDialog_ownTexts()
{
    QCOMPARE(okButton(std::make_unique<CopyFilesDialog>(nullptr, "", "", "").get())->text(), QStringLiteral("Export"));
    CopyFilesDialog own(nullptr, QString(), "Label", "Copy");
    QCOMPARE(own.findChild<QLabel *>("label")->text(), QStringLiteral("Label"));
    QCOMPARE(okButton(&own)->text(), QStringLiteral("Copy"));
}

void ExportDialogsTest::csvDialog_options()
{
    exportcsvDialog d(nullptr, "Nyc\t2\nPip\t1\n", QString(), QString());
    QCOMPARE(execPressing(&d, QDialogButtonBox::Ok), int(QDialog::Accepted));
    CsvExportOptions o = d.options();
    QVERIFY(o.intervals.isEmpty());
    QCOMPARE(o.intervalMode, QStringLiteral("dynamic"));
    QVERIFY(o.daylightSaving);

    d.findChild<QRadioButton *>("radioButton_2")->click();
    QCOMPARE(d.intervalMode, QStringLiteral("static"));
    d.findChild<QRadioButton *>("radioButton")->click();
    QCOMPARE(d.intervalMode, QStringLiteral("dynamic"));
    d.findChild<QRadioButton *>("radioButton_2")->click();
    d.findChild<QCheckBox *>("checkBox_3")->click();
    d.findChild<QCheckBox *>("checkBox_4")->click();
    auto *zones = d.findChild<QComboBox *>("comboBox");
    zones->setCurrentIndex(zones->findText("Japan Standard Time"));
    emit treeOf(&d)->itemDoubleClicked(rowNamed(treeOf(&d), "Nyc"), 0);
    o = d.options();
    QCOMPARE(o.checkedClasses, QStringList{"Pip"});
    QCOMPARE(o.intervals, QList<int>{10});
    QCOMPARE(o.intervalMode, QStringLiteral("static"));
    QCOMPARE(o.timeZone.standardTimeOffset(QDateTime(QDate(2021, 1, 1), QTime(0, 0), Qt::UTC)), 9 * 3600);
    QVERIFY(!o.daylightSaving);
}

void ExportDialogsTest::tavronDialogs_options()
{
    ExportTavronDialog first(nullptr, "Pip\t1\nNyc\t1\n");
    first.findChild<QCheckBox *>("checkBox")->click();
    emit treeOf(&first)->itemDoubleClicked(rowNamed(treeOf(&first), "Nyc"), 1);
    QVERIFY(!first.options().daylightSaving);
    QCOMPARE(first.options().classFilter, QStringList{"Pip"});
    ExportTavronDialog2 second(nullptr);
    const TavronExportOptions o = second.options(TavronExport::fixedClassFilter(4));
    QVERIFY(o.daylightSaving);
    QCOMPARE(o.classFilter, TavronExport::fixedClassFilter(4));
}

void ExportDialogsTest::yearDialog()
{
    ChangeYearsDialog d(nullptr, {2021, 2020, 2019});
    QVERIFY(!d.findChild<QLabel *>("label")->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(d.getYear(), QStringLiteral("2021"));
    QCOMPARE(execPressing(&d, QDialogButtonBox::Ok), int(QDialog::Accepted));
    d.findChild<QComboBox *>("comboBox")->setCurrentIndex(2);
    QCOMPARE(d.getYear(), QStringLiteral("2019"));
    QCOMPARE(execPressing(&d, QDialogButtonBox::Cancel), int(QDialog::Rejected));
}

QUILLON_TEST(ExportDialogsTest)
#include "tst_exportdialogs.moc"
