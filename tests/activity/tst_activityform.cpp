#include "testregistry.h"

#include "activity/plotfolderdialogform.h"

#include <QtTest>

// The activity dialog's form on a bare dialog, as the dialog's constructor builds it.
class TestActivityForm : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        dialog.reset(new QDialog);
        ui.setupUi(dialog.get());
    }
    void startSizeAndTab();
    void spinBoxesRefuseOutOfRange();
    void comboItemsAtStoredIndexes();
    void logarithmicUnchecksLinear();

private:
    std::unique_ptr<QDialog> dialog;
    Ui::plotFolderDialog ui;
};

void TestActivityForm::startSizeAndTab()
{
    dialog->show();
    // Its starting size, never smaller than its texts need.
    QCOMPARE(dialog->size(), QSize(1024, 764).expandedTo(dialog->minimumSizeHint()));
    dialog->resize(600, 400);
    QCOMPARE(dialog->size(), QSize(600, 400).expandedTo(dialog->minimumSizeHint()));
    QVERIFY(dialog->width() > 600);
    QCOMPARE(ui.tabWidget->currentWidget(), ui.tab_5);
    QCOMPARE(ui.tabWidget->tabText(int(ActivityTab::Time)), QStringLiteral("Activity over Time"));
    QCOMPARE(ui.tabWidget->widget(int(ActivityTab::WindSpeed)), ui.tab_9);
}

void TestActivityForm::spinBoxesRefuseOutOfRange()
{
    // Latitude stops at 70 degrees either way, longitude at 180, the delays at 6 hours.
    const std::pair<QAbstractSpinBox *, int> boxes[] = {
        {ui.doubleSpinBox, 70}, {ui.doubleSpinBox_2, 180}, {ui.spinBox, 360}, {ui.spinBox_2, 360}};
    for (const auto &[box, limit] : boxes) {
        for (int asked : {limit + 1, -limit - 1, limit - 1}) {
            box->setProperty("value", asked);
            QCOMPARE(box->property("value").toInt(), qBound(-limit, asked, limit));
        }
        QString typed = QString::number(limit + 1);
        int at = 0;
        QVERIFY(box->validate(typed, at) != QValidator::Acceptable);
    }
}

void TestActivityForm::comboItemsAtStoredIndexes()
{
    // The charts compare these texts; the settings file stores the indexes.
    const auto items = [](const QComboBox *c) {
        QStringList texts;
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    };
    QCOMPARE(items(ui.comboBox_3), QStringList({"absolute", "relative"}));
    QCOMPARE(items(ui.comboBox_2),
             QStringList({"Civil twilight", "Nautical twilight", "Astronomical twilight", "Tavron twilight (15%)"}));
    QStringList days{"Activity in Recordings per Hour", "Number of Files per Day"};
    for (const char *kind : {"Dynamic", "Static"})
        for (int minutes : {1, 5, 10})
            days << QStringLiteral("Number of Events with %1 %2 Minute Time Intervals").arg(kind).arg(minutes);
    QCOMPARE(items(ui.comboBox_4), days);
}

void TestActivityForm::logarithmicUnchecksLinear()
{
    const std::pair<QRadioButton *, QRadioButton *> tabs[] = {
        {ui.radioButton_11, ui.radioButton_12}, {ui.radioButton_3, ui.radioButton_4},
        {ui.radioButton_2, ui.radioButton},     {ui.radioButton_5, ui.radioButton_6},
        {ui.radioButton_7, ui.radioButton_8},   {ui.radioButton_9, ui.radioButton_10}};
    for (const auto &[linear, logarithmic] : tabs) {
        linear->setChecked(true);
        QSignalSpy toggled(linear, &QRadioButton::toggled);
        logarithmic->click();
        linear->click();
        QVERIFY2(toggled.count() == 2 && !toggled.at(0).at(0).toBool() && toggled.at(1).at(0).toBool(),
                 qPrintable(linear->objectName()));
        QVERIFY(!logarithmic->isChecked());
    }
    // Each tab's pair excludes only itself: every linear button is still checked.
    for (const auto &tab : tabs)
        QVERIFY(tab.first->isChecked());
}

QUILLON_TEST(TestActivityForm)
#include "tst_activityform.moc"
