#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeScript(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size()
           && file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

} // namespace

// The start script on a copy of the project whose installer, build tool and
// program are stand-ins: the program reports where it was started and with what.
class TestRunScript : public QObject
{
    Q_OBJECT
private slots:
    void startsInTheCallersFolder();
};

void TestRunScript::startsInTheCallersFolder()
{
    QTemporaryDir project;
    QTemporaryDir caller;
    QVERIFY(project.isValid() && caller.isValid());
    const QString report = caller.filePath(QStringLiteral("started.txt"));
    QVERIFY(QFile::copy(QStringLiteral(QUILLON_SOURCE_DIR "/run.sh"), project.filePath(QStringLiteral("run.sh"))));
    QVERIFY(QDir(project.path()).mkpath(QStringLiteral("scripts")));
    QVERIFY(QDir(project.path()).mkpath(QStringLiteral("build-release")));
    QVERIFY(QDir(project.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(writeScript(project.filePath(QStringLiteral("scripts/install-deps.sh")), "#!/bin/sh\nexit 0\n"));
    // The build runs in the project folder, or the stand-in refuses.
    QVERIFY(writeScript(project.filePath(QStringLiteral("bin/cmake")),
                        "#!/bin/sh\n[ -f run.sh ] || { echo \"cmake outside the project: $PWD\" >&2; exit 1; }\n"));
    QVERIFY(writeScript(project.filePath(QStringLiteral("build-release/quillon")),
                        "#!/bin/sh\nprintf '%s\\n%s\\n' \"$PWD\" \"$1\" > \"$QUILLON_RUN_REPORT\"\n"));
    QFile recording(caller.filePath(QStringLiteral("call.wav")));
    QVERIFY(recording.open(QIODevice::WriteOnly));
    recording.close();

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), project.filePath(QStringLiteral("bin")) + QLatin1Char(':') + env.value("PATH"));
    env.insert(QStringLiteral("QUILLON_RUN_REPORT"), report);
    run.setProcessEnvironment(env);
    run.setWorkingDirectory(caller.path());
    run.start(QStringLiteral("bash"), {project.filePath(QStringLiteral("run.sh")), QStringLiteral("call.wav")});
    QVERIFY(run.waitForFinished(30000));
    QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());

    QFile started(report);
    QVERIFY(started.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(started.readAll()).split(QLatin1Char('\n'));
    const QString callerPath = QDir(caller.path()).canonicalPath();
    // Started where it was called, the relative recording still found.
    QCOMPARE(QDir(lines.value(0)).canonicalPath(), callerPath);
    QCOMPARE(QFileInfo(lines.value(1)).canonicalFilePath(), callerPath + QStringLiteral("/call.wav"));
}

QUILLON_TEST(TestRunScript)
#include "tst_runscript.moc"
