#include "recording/samplebound.h"

QString tooManySamplesText(quint64 sampleCount)
{
    return QStringLiteral("The recording holds %1 samples: too many to open. At most %2 samples (1 GiB of memory) "
                          "are opened.")
        .arg(sampleCount)
        .arg(maxRecordingSamples);
}
