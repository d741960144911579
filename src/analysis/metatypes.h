#pragma once

#include "analysis/blob.h"
#include "analysis/mybatcall.h"

#include <QMetaType>
#include <vector>

// The sample vector travels to the spectrogram worker by pointer (the main
// window keeps it and guards it while a request runs); the vectors by value.
Q_DECLARE_METATYPE(std::vector<int> *)
Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<float>)

/**
 * Registers every value type that crosses a thread in a request or reply of the
 * analysis workers. Call once before the first queued connection is made (the
 * program's main and the tests do); further calls do nothing harmful.
 */
void registerAnalysisMetaTypes();
