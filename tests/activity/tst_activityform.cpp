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
    void cannotBeResized();
    void spinBoxesRefuseOutOfRange();
    void comboItemsAtStoredIndexes();
    void logarithmicUnchecksLinear();
    void startsOnTimeTab();

private:
    std::unique_ptr<QDialog> dialog;
    Ui::plotFolderDialog ui;
};

void TestActivityForm::cannotBeResized()
{
    dialog->show();
    QCOMPARE(dialog->size(), QSize(1024, 764));
    dialog->resize(1200, 900);
    QCOMPARE(dialog->size(), QSize(1024, 764));
    dialog->resize(600, 400);
    QCOMPARE(dialog->size(), QSize(1024, 764));
}

void TestActivityForm::spinBoxesRefuseOutOfRange()
{
    // Latitude stops at 70 degrees either way, longitude at 180, the delays at 6 hours.
    const struct {
        QAbstractSpinBox *box;
        double limit;
    } boxes[] = {{ui.doubleSpinBox, 70}, {ui.doubleSpinBox_2, 180}, {ui.spinBox, 360}, {ui.spinBox_2, 360}};
    for (const auto &b : boxes) {
        const auto set = [&](double v) {
            if (auto *d = qobject_cast<QDoubleSpinBox *>(b.box)) {
                d->setValue(v);
                return d->value();
            }
            auto *i = qobject_cast<QSpinBox *>(b.box);
            i->setValue(int(v));
            return double(i->value());
        };
        QCOMPARE(set(b.limit + 1), b.limit);
        QCOMPARE(set(-b.limit - 1), -b.limit);
        QCOMPARE(set(b.limit - 1), b.limit - 1);
        // Typed text past the limit is no acceptable input either.
        QString typed = QString::number(b.limit + 1);
        int at = 0;
        QVERIFY(b.box->validate(typed, at) != QValidator::Acceptable);
    }
    QCOMPARE(ui.doubleSpinBox->decimals(), 4);
    QCOMPARE(ui.doubleSpinBox_2->decimals(), 4);
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
    QCOMPARE(items(ui.comboBox_2), QStringList({"Civil twilight", "Nautical twilight", "Astronomical twilight",
                                                "Tavron twilight (15%)"}));
    QStringList days{"Activity in Recordings per Hour", "Number of Files per Day"};
    for (const char *kind : {"Dynamic", "Static"})
        for (int minutes : {1, 5, 10})
            days << QStringLiteral("Number of Events with %1 %2 Minute Time Intervals").arg(kind).arg(minutes);
    QCOMPARE(items(ui.comboBox_4), days);
    QCOMPARE(ui.comboBox->count(), 0);
}

void TestActivityForm::logarithmicUnchecksLinear()
{
    dialog->show();
    const std::pair<QRadioButton *, QRadioButton *> tabs[] = {
        {ui.radioButton_11, ui.radioButton_12}, {ui.radioButton_3, ui.radioButton_4},
        {ui.radioButton_2, ui.radioButton},     {ui.radioButton_5, ui.radioButton_6},
        {ui.radioButton_7, ui.radioButton_8},   {ui.radioButton_9, ui.radioButton_10}};
    for (const auto &[linear, logarithmic] : tabs) {
        QVERIFY(!linear->isChecked() && !logarithmic->isChecked());
        linear->setChecked(true);
        QSignalSpy toggled(linear, &QRadioButton::toggled);
        logarithmic->click();
        QVERIFY2(!linear->isChecked(), qPrintable(linear->objectName()));
        QCOMPARE(toggled.count(), 1);
        QCOMPARE(toggled.at(0).at(0).toBool(), false);
        linear->click();
        QVERIFY(!logarithmic->isChecked());
        QCOMPARE(toggled.at(1).at(0).toBool(), true);
    }
    // The pairs are independent: every tab's linear button stays checked.
    for (const auto &tab : tabs)
        QVERIFY(tab.first->isChecked());
}

void TestActivityForm::startsOnTimeTab()
{
    QCOMPARE(ui.tabWidget->currentIndex(), int(ActivityTab::Time));
    QCOMPARE(ui.tabWidget->currentWidget(), ui.tab_5);
    QCOMPARE(ui.tabWidget->tabText(int(ActivityTab::Time)), QStringLiteral("Activity over Time"));
    QCOMPARE(ui.tabWidget->widget(int(ActivityTab::WindSpeed)), ui.tab_9);
}

QUILLON_TEST(TestActivityForm)
#include "tst_activityform.moc"
