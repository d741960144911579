#include "testregistry.h"

#include "analysis/calldetector.h"

#include <QTest>

class TestVerdict : public QObject
{
    Q_OBJECT

private slots:
    void decideFileGroup_data();
    void decideFileGroup();
};

namespace {

QStringList times(int n, const QString &label)
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << label;
    return l;
}

} // namespace

void TestVerdict::decideFileGroup_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("empty list") << QStringList{} << "";
    QTest::newRow("any Test") << QStringList{"NycLow", "NycLow", "Test", "PipPip"} << "No call";
    QTest::newRow("9 Noise of 10") << times(9, "Noise") + QStringList{"NycLow"} << "NycLow";
    QTest::newRow("10 Noise of 11") << times(10, "Noise") + QStringList{"Pip"} << "No call";
    QTest::newRow("both sides") << QStringList{"NycLow", "NycLow", "PipPip"} << "NycLow, PipPip";
    QTest::newRow("no Nyc winner") << QStringList{"NycLow", "NycNoc"} << "Nyc";
    QTest::newRow("plain Nyc") << QStringList{"Nyc", "Nyc"} << "Nyc";
    QTest::newRow("NycMid leads") << QStringList{"NycMid", "NycLow", "NycMid"} << "NycMid";
    // Plain "Nyc" labels do not stop a sub-class from leading.
    QTest::newRow("NycLow over plain Nyc") << QStringList{"Nyc", "Nyc", "Nyc", "NycLow"} << "NycLow";
    QTest::newRow("two Enil") << QStringList{"Enil", "Enil"} << "Nyc";
    QTest::newRow("three Enil") << times(3, "Enil") << "Enil";
    QTest::newRow("Enil with NycMid") << QStringList{"Enil", "NycMid"} << "NycMid";
    QTest::newRow("PipNat by share") << QStringList{"PipNat", "PipPip", "PipPip"} << "PipNat";
    QTest::newRow("PipNat not by share") << QStringList{"PipNat", "PipPn", "PipPip", "PipPip"} << "PipPip";
    QTest::newRow("PipPip leads") << QStringList{"PipPn", "PipPip", "PipPip"} << "PipPip";
    QTest::newRow("PipPn leads") << QStringList{"PipPn", "PipPn", "PipPip"} << "PipPn";
    // 3 > 0.75 x (3 + 1) fails, 3 > 0.75 x (3 + 0) holds.
    QTest::newRow("PipPip by share over PipPp")
        << QStringList{"PipPip", "PipPip", "PipPip", "PipPn", "PipPyg", "PipPyg", "PipPyg"} << "PipPip";
    QTest::newRow("PipPyg by share") << QStringList{"PipPyg", "PipPyg", "PipNat", "PipNat", "PipPn", "PipPn"}
                                     << "PipPyg";
    QTest::newRow("Pip alone") << QStringList{"Pip"} << "Pip";
    QTest::newRow("labels are case-sensitive") << QStringList{"nyclow", "pip"} << "";
}

void TestVerdict::decideFileGroup()
{
    QFETCH(QStringList, labels);
    QFETCH(QString, verdict);
    QCOMPARE(CallDetector().decideFileGroup(labels), verdict);
}

QUILLON_TEST(TestVerdict)
#include "tst_verdict.moc"
