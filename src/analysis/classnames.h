#pragma once

#include <QString>

// The class names the program treats apart from the user's own classes. Here,
// below every subsystem, so that the header worker, the class tree, the
// assignment rules and the exports spell each the same; what a name typed by
// the user must not be is checked in classmodel/classnamerules.h.

namespace ClassNames {

/** The class tree's row of the recordings without a class; no class of a model. */
inline const QString unassigned = QStringLiteral("Unassigned");
/** The class tree's row of the recordings in which no bat call was found; no class of a model. */
inline const QString detectedNoCall = QStringLiteral("Detected No Call");
/**
 * The class of a recording that holds no bat call: a class of the built-in
 * trees, which the user assigns (it replaces every other class where
 * proposals are shown) and the recorder's review proposes. Compared exactly,
 * unlike the proposal "No call" of the own call detection.
 */
inline const QString noCall = QStringLiteral("No Call");

} // namespace ClassNames
