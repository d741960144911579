#include "analysis/getfileinfothread.h"

#include "analysis/automaticclassification.h"
#include "analysis/classassignmenttext.h"
#include "analysis/recorderresultlookup.h"
#include "recording/audiosamplereader.h"
#include "recording/recordingkind.h"
#include "recording/wavfile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>

namespace {

const QString notAvailable = QStringLiteral("N/A");
const QString noCall = QStringLiteral("No Call");

// Classes other than "No Call" itself; none at all agrees with any proposal.
bool disagreesWithNoCall(const ClassAssignmentText &t)
{
    for (const QString &name : t.classes()) {
        if (!name.isEmpty() && name != noCall)
            return true;
    }
    return false;
}

// Every list starts with the empty name, so empty slots always pass.
const QStringList &detectorNames()
{
    static const QStringList names{"",       "No Call", "Nyc",    "NycLow", "NycNoc", "NycMid", "Enil",
                                   "Pip",    "PipNat",  "PipPn",  "PipPip", "PipPp",  "PipPyg"};
    return names;
}

const QStringList &shortReviewNames()
{
    static const QStringList names{"", "No Call", "Nyc", "Pip", "Pnat"};
    return names;
}

const QStringList &longReviewNames()
{
    static const QStringList names{"",    "No Call", "Nyc",  "Nlow", "Nnoc", "Nycmi", "Enil",
                                   "Pip", "Pnat",    "PpPn", "Ppip", "PpPp", "Ppyg"};
    return names;
}

QString lengthText(double seconds)
{
    return QLocale().toString(seconds, 'f', 3);
}

QString categorisationAborted(const QString &wavFileName, const QString &why)
{
    return QStringLiteral("The file ") + wavFileName + why + QStringLiteral("\nCategorization aborted!");
}

} // namespace

GetFileInfoThread::GetFileInfoThread()
    : QObject(nullptr)
{
}

const QStringList &GetFileInfoThread::recordingClassNames(bool calcClasses, int reviewMode)
{
    if (calcClasses)
        return detectorNames();
    return reviewMode == 1 ? longReviewNames() : shortReviewNames();
}

void GetFileInfoThread::getFileHeaderInfo(int index, QString wavFileName, bool calcClasses,
                                          QString recorderResultFileName, int reviewMode)
{
    auto reply = [&](const ClassAssignmentText &t, const QString &length, const QString &date,
                     const QString &time, bool writeBackFailed = false) {
        emit signalFileInfoHeaderFinished(index, t.batClass1, t.batClass2, t.batClass3, t.batClass4, t.AutoClass,
                                          t.accepted, length, date, time, t.comment, writeBackFailed);
    };
    const ClassAssignmentText none;

    const RecordingKind kind = recordingKind(wavFileName);
    if (kind == RecordingKind::Raw) {
        // The length follows from the file size alone (two bytes per sample),
        // so the samples are never decoded for a header.
        AudioSampleReader reader;
        reader.load(wavFileName, true);
        const qint64 samples = reader.bytesPerSample > 0 ? qint64(reader.fileSize) / reader.bytesPerSample : 0;
        if (!reader.errorText.isEmpty() || samples < 1) {
            reply(none, notAvailable, notAvailable, notAvailable);
            return;
        }
        const QDateTime modified = QFileInfo(wavFileName).lastModified();
        reply(none, lengthText(double(samples) / rawSampleRate), modified.toString(QStringLiteral("dd/MM/yy")),
              modified.toString(QStringLiteral("hh:mm:ss")));
        return;
    }

    if (kind != RecordingKind::Wav) {
        reply(none, QString(), QString(), QString());
        return;
    }

    WavFile wav;
    wav.open(wavFileName, true);
    // A chunk the reader refuses stops its walk: the chunks behind it, a bext
    // chunk among them, were never read.
    const bool headerReadWhole = wav.walkedToEnd;
    const qint64 frames = wav.frameCount();
    const int sampleRate = int(wav.sampleRate);
    // Without a sample rate there is no length to give and nothing to classify.
    if (sampleRate <= 0 || !wav.fmtFound) {
        reply(none, notAvailable, notAvailable, notAvailable);
        return;
    }
    const QString length = lengthText(double(frames) / sampleRate);

    QString date;
    QString time;
    const QDateTime recorded = wav.recordingDateTime();
    if (recorded.isValid()) {
        date = recorded.toString(QStringLiteral("dd/MM/yy"));
        time = recorded.toString(QStringLiteral("HH:mm:ss"));
    }
    if (date.isEmpty())
        date = notAvailable;
    if (time.isEmpty())
        time = notAvailable;

    // The reader has decoded the description as UTF-8 already, zero bytes dropped.
    const ClassAssignmentText stored = ClassAssignmentText::parse(wav.bext.description);
    ClassAssignmentText t = stored;

    if (!recorderResultFileName.isEmpty())
        t.AutoClass = RecorderResultLookup::proposal(wavFileName, recorderResultFileName, reviewMode);

    if (!calcClasses && recorderResultFileName.isEmpty()) {
        reply(t, length, date, time);
        return;
    }

    bool changed = false;
    if (calcClasses && t.AutoClass.isEmpty()) {
        if (sampleRate >= AutomaticClassification::minSampleRate) {
            // Decided from the header, before any sample is read: a recording
            // whose matrix would not fit is not loaded at all.
            if (!AutomaticClassification::detectionPlan(frames).fits()) {
                emit signalShowMessage(
                    categorisationAborted(wavFileName, QStringLiteral(" is too long to be categorized.")));
                reply(t, length, date, time);
                return;
            }
            wav.reset();
            wav.open(wavFileName, false);
            if (wav.samples.empty()) {
                // Answered all the same: the folder chain waits for this reply.
                emit signalShowMessage(categorisationAborted(wavFileName, QStringLiteral(" could not be loaded.")));
                reply(t, length, date, time);
                return;
            }
            const AutomaticClassification::Result result = AutomaticClassification::classify(
                wav.samples, frames, int(wav.sampleRate), wav.bitsPerSample);
            wav.reset();
            if (result.refused) {
                emit signalShowMessage(
                    categorisationAborted(wavFileName, QStringLiteral(" is too long to be categorized.")));
                reply(t, length, date, time);
                return;
            }
            t.AutoClass = result.proposal;
        }
        // Below 16 kHz the detector cannot run: the proposal stays empty, the
        // checks and the write-back below still apply.
        changed = true;
    }

    const QStringList &names = recordingClassNames(calcClasses, reviewMode);
    QString *slotTexts[] = {&t.batClass4, &t.batClass3, &t.batClass2, &t.batClass1};
    for (QString *slot : slotTexts) {
        if (!names.contains(*slot)) {
            slot->clear();
            changed = true;
        }
    }

    // A proposal "No Call" beside classes of the user's own leaves them where
    // they are: a "Pip" assigned by hand must not vanish because the recorder
    // heard noise. The flag "0" tells that proposal and classes disagree, and
    // the proposal is stored so that the file says so too.
    if (t.AutoClass == noCall && disagreesWithNoCall(t)) {
        t.accepted = QStringLiteral("0");
        changed = changed || t.AutoClass != stored.AutoClass || t.accepted != stored.accepted;
    }

    if (changed) {
        const QString text = t.fullText(ClassAssignmentText::ClassList::FourSlots);
        // Never cut into the fields behind the description, never overwrite
        // classes that could not be read (or add a second bext chunk behind
        // them), and never show a row the file does not store.
        if (!headerReadWhole || !ClassAssignmentText::fitsDescription(text)) {
            reply(stored, length, date, time);
            return;
        }
        const bool written = WavFile().writeBextDescription(wavFileName, text);
        // The row shows the comment as the file now holds it.
        t.comment = ClassAssignmentText::fullFormComment(t.comment);
        // The row still shows the corrected texts; the window tells the user
        // once, at the chain's end, which recordings do not hold them.
        reply(t, length, date, time, !written);
        return;
    }
    reply(t, length, date, time);
}
