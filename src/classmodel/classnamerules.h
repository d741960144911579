#pragma once

#include "analysis/classnames.h"

#include <QString>

// What a class name must not be, checked in one place for every way a name
// enters a class tree: the class dialogs, the class-model files and the
// window's own class tree. A recording stores its classes as one line of
// text, joined by " + " and separated from the proposal and the comment by
// bars, with nothing escaped; a name that holds either would read back as
// other classes or as a comment. The names the program itself gives a
// meaning ("Unassigned", "Detected No Call", "No Call") are in
// analysis/classnames.h.

namespace ClassNames {

/**
 * False for a name that cannot be stored in a recording: one holding "|",
 * " + ", a TAB or a line break, one that ends in " +" once trimmed (the
 * separator behind it would read as " + " one blank later), and the two
 * pseudo-class names, which the class tree would merge with its own rows.
 * Names are compared as the class tree shows them, trimmed. The empty name
 * passes: whether a name may be empty is the caller's rule.
 */
bool isUsable(const QString &name);

/**
 * isUsable() for a class, as against a subclass, of a class-model file: a
 * blank name is refused too. The class tree shows it trimmed, empty, and
 * would save it as a line that starts with the TAB behind it: a subclass
 * line when read back.
 */
bool isUsableClass(const QString &name);

/**
 * Why a name typed for a new or renamed class is refused, as the class
 * dialogs tell the user: "The new Class Name may not be empty." for a blank
 * name, "This class name cannot be used." followed by what a name may not
 * hold for one isUsable() rejects or one holding a ";" (the separator of the
 * export files, where such a name is written with a "," instead); the empty
 * text for a name that is taken as typed. A ";" is refused only here: class-model files and recordings that
 * already hold such a name still load.
 */
QString refusal(const QString &typed);

/**
 * The class dialogs' check on OK: true when `typed` is taken; otherwise
 * shows the refusal (information icon, no parent, no title) and returns false,
 * so that the dialog stays open with the text for the user to correct.
 */
bool confirmTyped(const QString &typed);

} // namespace ClassNames
