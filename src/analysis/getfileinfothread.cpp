#include "analysis/getfileinfothread.h"

#include "analysis/analysispool.h"
#include "analysis/automaticclassification.h"
#include "analysis/classassignmenttext.h"
#include "analysis/classnames.h"
#include "analysis/recorderresultlookup.h"
#include "recording/audiosamplereader.h"
#include "recording/recordingkind.h"
#include "recording/recordinglength.h"
#include "recording/wavfile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace {

const QString notAvailable = QStringLiteral("N/A");

// Classes other than "No Call" itself; none at all agrees with any proposal.
bool disagreesWithNoCall(const ClassAssignmentText &t)
{
    for (const QString &name : t.classes()) {
        if (!name.isEmpty() && name != ClassNames::noCall)
            return true;
    }
    return false;
}

// Every list starts with the empty name, so empty slots always pass.
const QStringList &detectorNames()
{
    static const QStringList names{"",    "No Call", "Nyc",   "NycLow", "NycNoc", "NycMid", "Enil",
                                   "Pip", "PipNat",  "PipPn", "PipPip", "PipPp",  "PipPyg"};
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

// A look-ahead examines up to this many recordings per thread, so that the
// last ones to finish keep few cores waiting, and no more than aheadBytes of
// recordings in all: the matrices of those classified at once must fit into
// memory beside each other.
constexpr int aheadPerThread = 4;
constexpr qint64 aheadBytes = qint64(32) << 20;

// Size and modification time of the file at path; -1 for both when it is missing.
void stamp(const QString &path, qint64 &size, qint64 &modifiedMs)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        size = -1;
        modifiedMs = -1;
        return;
    }
    size = info.size();
    modifiedMs = info.lastModified().toMSecsSinceEpoch();
}

void setTexts(GetFileInfoThread::Finding &f, const ClassAssignmentText &t, const QString &length, const QString &date,
              const QString &time)
{
    f.batClass1 = t.batClass1;
    f.batClass2 = t.batClass2;
    f.batClass3 = t.batClass3;
    f.batClass4 = t.batClass4;
    f.autoClass = t.AutoClass;
    f.accepted = t.accepted;
    f.comment = t.comment;
    f.length = length;
    f.date = date;
    f.time = time;
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

bool GetFileInfoThread::Request::operator==(const Request &o) const
{
    return wavFileName == o.wavFileName && calcClasses == o.calcClasses
           && recorderResultFileName == o.recorderResultFileName && reviewMode == o.reviewMode;
}

const QStringList &GetFileInfoThread::recordingClassNames(bool calcClasses, int reviewMode)
{
    if (calcClasses)
        return detectorNames();
    return reviewMode == 1 ? longReviewNames() : shortReviewNames();
}

int GetFileInfoThread::lookAheadCount(const std::vector<qint64> &fileSizes, int maxCount, qint64 byteBudget)
{
    int count = 0;
    qint64 bytes = 0;
    for (qint64 size : fileSizes) {
        if (count >= maxCount || (count > 0 && bytes + size > byteBudget))
            break;
        bytes += size;
        ++count;
    }
    return count;
}

void GetFileInfoThread::expectFileHeaderRequests(QStringList wavFileNames)
{
    m_expected = wavFileNames;
    m_expectedAt.clear();
    m_expectedAt.reserve(m_expected.size());
    for (int i = m_expected.size() - 1; i >= 0; --i)
        m_expectedAt.insert(m_expected.at(i), i);
    m_ahead.clear();
    m_recorderResults.clear();
}

void GetFileInfoThread::getFileHeaderInfo(int index, QString wavFileName, bool calcClasses,
                                          QString recorderResultFileName, int reviewMode)
{
    Request request;
    request.wavFileName = wavFileName;
    request.calcClasses = calcClasses;
    request.recorderResultFileName = recorderResultFileName;
    request.reviewMode = reviewMode;

    // Only classifying is worth working ahead for: a header alone is read in a moment.
    Finding finding;
    if (!calcClasses) {
        finding = examine(request, recorderProposal(request));
    } else if (m_ahead.contains(wavFileName)) {
        // A recording that changed since it was examined ahead is examined again, alone.
        if (!takeAhead(request, finding))
            finding = examine(request, recorderProposal(request));
    } else {
        const auto at = m_expectedAt.constFind(wavFileName);
        if (at != m_expectedAt.constEnd())
            finding = examineAhead(at.value(), request);
        else
            finding = examine(request, recorderProposal(request));
    }
    deliver(index, request, finding);
}

QString GetFileInfoThread::recorderProposal(const Request &request)
{
    if (request.recorderResultFileName.isEmpty())
        return QString();
    return m_recorderResults.proposal(request.wavFileName, request.recorderResultFileName, request.reviewMode);
}

bool GetFileInfoThread::takeAhead(const Request &request, Finding &finding)
{
    // Each finding made ahead serves one request.
    const Ahead ahead = m_ahead.take(request.wavFileName);
    if (!(ahead.request == request) || ahead.recorderProposal != recorderProposal(request))
        return false;
    qint64 size = 0;
    qint64 modifiedMs = 0;
    stamp(request.wavFileName, size, modifiedMs);
    if (size != ahead.size || modifiedMs != ahead.modifiedMs)
        return false;
    finding = ahead.finding;
    return true;
}

GetFileInfoThread::Finding GetFileInfoThread::examineAhead(int position, const Request &request)
{
    const int maxCount = aheadPerThread * AnalysisPool::threadCount();
    std::vector<Request> requests;
    std::vector<qint64> sizes;
    for (int p = position; p < m_expected.size() && int(requests.size()) < maxCount; ++p) {
        Request next = request;
        next.wavFileName = m_expected.at(p);
        requests.push_back(next);
        sizes.push_back(std::max<qint64>(0, QFileInfo(next.wavFileName).size()));
    }
    requests.resize(size_t(lookAheadCount(sizes, maxCount, aheadBytes)));

    // The index of the result file is this thread's: looked up here, used by all.
    std::vector<QString> proposals;
    for (const Request &r : requests)
        proposals.push_back(recorderProposal(r));
    std::vector<Ahead> found(requests.size());
    // One recording per chunk, handed out in order. A recording with a full
    // round of others behind it runs on its thread alone; those of the last
    // round split their passes, so that threads coming free help them finish.
    const size_t lastRound = size_t(AnalysisPool::threadCount());
    AnalysisPool::forEachChunk(qint64(requests.size()), 1, [&](int, qint64 begin, qint64 end) {
        for (size_t k = size_t(begin); k < size_t(end); ++k) {
            Ahead &a = found[k];
            const AnalysisPool::SerialScope alone(k + lastRound < requests.size());
            // Taken before the reading: a change while it reads makes the finding stale.
            stamp(requests[k].wavFileName, a.size, a.modifiedMs);
            a.finding = examine(requests[k], proposals[k]);
        }
    });
    for (size_t k = 1; k < requests.size(); ++k) {
        found[k].request = requests[k];
        found[k].recorderProposal = proposals[k];
        m_ahead.insert(requests[k].wavFileName, found[k]);
    }
    return found.front().finding;
}

void GetFileInfoThread::deliver(int index, const Request &request, const Finding &f)
{
    bool writeBackFailed = false;
    QString writeBackFailure;
    if (f.writeBack)
        writeBackFailed = !ClassAssignmentText::writeDescription(request.wavFileName, f.writtenText, &writeBackFailure);
    // Answered all the same: the folder chain waits for the reply.
    if (!f.message.isEmpty())
        emit signalShowMessage(f.message);
    emit signalFileInfoHeaderFinished(index, f.batClass1, f.batClass2, f.batClass3, f.batClass4, f.autoClass,
                                      f.accepted, f.length, f.date, f.time, f.comment, writeBackFailed,
                                      writeBackFailure);
}

GetFileInfoThread::Finding GetFileInfoThread::examine(const Request &request, const QString &resultProposal)
{
    Finding f;
    const QString &wavFileName = request.wavFileName;
    const bool calcClasses = request.calcClasses;
    const ClassAssignmentText none;
    // The finding with the reply's texts.
    auto found = [&f](const ClassAssignmentText &t, const QString &length, const QString &date, const QString &time) {
        setTexts(f, t, length, date, time);
        return f;
    };
    const RecordingKind kind = recordingKind(wavFileName);
    if (kind == RecordingKind::Raw) {
        // The length follows from the file size alone (two bytes per sample),
        // so the samples are never decoded for a header.
        AudioSampleReader reader;
        reader.load(wavFileName, true);
        const qint64 samples = reader.bytesPerSample > 0 ? qint64(reader.fileSize) / reader.bytesPerSample : 0;
        if (!reader.errorText.isEmpty() || samples < 1)
            return found(none, notAvailable, notAvailable, notAvailable);
        const QDateTime modified = QFileInfo(wavFileName).lastModified();
        return found(none, recordingLengthText(samples, rawSampleRate), modified.toString(QStringLiteral("dd/MM/yy")),
                     modified.toString(QStringLiteral("hh:mm:ss")));
    }

    if (kind != RecordingKind::Wav)
        return found(none, QString(), QString(), QString());

    WavFile wav;
    wav.open(wavFileName, true);
    // A chunk the reader refuses stops its walk: the chunks behind it, a bext
    // chunk among them, were never read.
    const bool headerReadWhole = wav.walkedToEnd;
    const qint64 frames = wav.frameCount();
    const int sampleRate = int(wav.sampleRate);
    // Without a sample rate there is no length to give and nothing to classify.
    if (sampleRate <= 0 || !wav.fmtFound)
        return found(none, notAvailable, notAvailable, notAvailable);
    // A data chunk the file cuts short claims a length that is not there, and the recording does not open.
    const QString length = wav.dataHeld >= 0 ? notAvailable : recordingLengthText(frames, sampleRate);

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

    if (!request.recorderResultFileName.isEmpty()) {
        t.AutoClass = resultProposal;
        // The flag belongs to the proposal the user accepted: another one in
        // its place (a review with the other class tree) was never accepted.
        // A flag stored without a proposal of its own is left as it stands.
        if (!stored.AutoClass.isEmpty() && t.AutoClass != stored.AutoClass && t.accepted == QLatin1String("1"))
            t.accepted = QStringLiteral("0");
    }

    if (!calcClasses && request.recorderResultFileName.isEmpty())
        return found(t, length, date, time);

    bool changed = false;
    if (calcClasses && t.AutoClass.isEmpty()) {
        if (sampleRate >= AutomaticClassification::minSampleRate) {
            // Decided from the header, before any sample is read: a recording
            // whose matrix would not fit is not loaded at all.
            if (!AutomaticClassification::detectionPlan(frames).fits()) {
                f.message = categorisationAborted(wavFileName, QStringLiteral(" is too long to be categorized."));
                return found(t, length, date, time);
            }
            wav.reset();
            wav.open(wavFileName, false);
            if (wav.samples.empty()) {
                f.message = categorisationAborted(wavFileName, QStringLiteral(" could not be loaded."));
                return found(t, length, date, time);
            }
            const AutomaticClassification::Result result =
                AutomaticClassification::classify(wav.samples, frames, int(wav.sampleRate), wav.bitsPerSample);
            wav.reset();
            if (result.refused) {
                f.message = categorisationAborted(wavFileName, QStringLiteral(" is too long to be categorized."));
                return found(t, length, date, time);
            }
            t.AutoClass = result.proposal;
        }
        // Below 16 kHz the detector cannot run: the proposal stays empty, the
        // checks and the write-back below still apply.
        changed = true;
    }

    const QStringList &names = recordingClassNames(calcClasses, request.reviewMode);
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
    if (t.AutoClass == ClassNames::noCall && disagreesWithNoCall(t)) {
        t.accepted = QStringLiteral("0");
        changed = changed || t.AutoClass != stored.AutoClass || t.accepted != stored.accepted;
    }

    if (changed) {
        const QString text = t.fullText(ClassAssignmentText::ClassList::FourSlots);
        // Never cut into the fields behind the description, never overwrite
        // classes that could not be read (or add a second bext chunk behind
        // them), and never show a row the file does not store.
        if (!headerReadWhole || !ClassAssignmentText::fitsDescription(text))
            return found(stored, length, date, time);
        f.writeBack = true;
        f.writtenText = text;
        // The row shows the comment as the file will hold it. Should the write
        // fail, the row still shows the corrected texts; the window tells the
        // user once, at the chain's end, which recordings do not hold them.
        t.comment = ClassAssignmentText::fullFormComment(t.comment);
    }
    return found(t, length, date, time);
}
