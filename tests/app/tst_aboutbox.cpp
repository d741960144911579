#include "testregistry.h"

#include "app/abouttext.h"
#include "app/mainwindow.h"
#include "scripteddialogs.h"

#include <QAction>
#include <QRegularExpression>
#include <QTest>

class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    void buildDate_data();
    void buildDate();
    void text_data();
    void text();
    void slot_showsInformationBox();
};

void TestAboutBox::buildDate_data()
{
    QTest::addColumn<QByteArray>("compilerDate");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("one-digit day padded with a blank") << QByteArray("Dec  7 2026") << QDate(2026, 12, 7);
    QTest::newRow("two-digit day") << QByteArray("Jan 31 2025") << QDate(2025, 1, 31);
    QTest::newRow("leap day") << QByteArray("Feb 29 2024") << QDate(2024, 2, 29);
    QTest::newRow("no such day") << QByteArray("Feb 30 2025") << QDate();
    QTest::newRow("not a date") << QByteArray("??? ?? ????") << QDate();
}

void TestAboutBox::buildDate()
{
    QFETCH(QByteArray, compilerDate);
    QFETCH(QDate, expected);
    QCOMPARE(buildDateFromCompilerDate(compilerDate.constData()), expected);
}

void TestAboutBox::text_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expectedStart");
    QTest::newRow("day with leading zero")
        << QDate(2026, 12, 7) << "<b>Quillon</b><br><br>Version 1.0.0, 07. December 2026<br>";
    QTest::newRow("January") << QDate(2025, 1, 31) << "<b>Quillon</b><br><br>Version 1.0.0, 31. January 2025<br>";
}

void TestAboutBox::text()
{
    QFETCH(QDate, date);
    QFETCH(QString, expectedStart);
    const QString text = aboutBoxText(QStringLiteral("Quillon"), QStringLiteral("1.0.0"), date);
    QVERIFY2(text.startsWith(expectedStart), qPrintable(text));
    // The maker block follows the date, on lines of its own.
    const QString makerBlock = text.mid(expectedStart.size());
    QVERIFY(!makerBlock.trimmed().isEmpty());
    QVERIFY(!makerBlock.startsWith(QLatin1String("<br>")));
}

void TestAboutBox::slot_showsInformationBox()
{
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    MainWindow window;
    window.findChild<QAction *>(QStringLiteral("actionAbout"))->trigger();

    QCOMPARE(dialogs.messages.size(), 1);
    const MessageBoxRequest box = dialogs.messages.first();
    QVERIFY(box.parent == nullptr);
    QCOMPARE(box.title, QStringLiteral("About"));
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.textFormat, Qt::RichText);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.defaultButton, QMessageBox::Ok);

    // The version is the project's, as CMake has it; the build date is the day the window's code was
    // compiled: a real date, not after today.
    const QRegularExpression form(
        QStringLiteral("^<b>Quillon</b><br><br>Version %1, (\\d\\d\\. [A-Z][a-z]+ \\d{4})<br>.+")
            .arg(QRegularExpression::escape(QStringLiteral(QUILLON_PROJECT_VERSION))));
    const QRegularExpressionMatch match = form.match(box.text);
    QVERIFY2(match.hasMatch(), qPrintable(box.text));
    const QDate built = QLocale::c().toDate(match.captured(1), QStringLiteral("dd. MMMM yyyy"));
    QVERIFY(built.isValid());
    QVERIFY(built <= QDate::currentDate());
}

QUILLON_TEST(TestAboutBox)
#include "tst_aboutbox.moc"
