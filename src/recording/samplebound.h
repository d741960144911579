#pragma once

#include <QString>
#include <QtGlobal>

// Every sample of a recording is held as a 32-bit integer, and the window
// keeps a second copy for the spectrogram worker: a data chunk of 4 GB at
// 8 bits would ask for 16 GB twice over. Past this bound (1 GiB per copy,
// about nine minutes at 500 kHz) a recording is refused before anything is
// allocated for it.
constexpr quint64 maxRecordingSamples = quint64(1) << 28;

/** Why a recording of sampleCount samples is not opened, naming the bound. */
QString tooManySamplesText(quint64 sampleCount);
