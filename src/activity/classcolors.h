#pragma once

#include <QColor>
#include <QVariantList>

/**
 * One colour per class in every activity chart. Classes are numbered by their
 * place in the folder's class list; the user may store a colour for each
 * (the application setting "classColors", possibly shorter than the list),
 * and a class without one takes a built-in colour of its own index.
 */

/** The built-in colours (alpha 127), used in turn for classes 0 to 14, 15 to 29, ... */
constexpr int classPaletteSize = 15;

/**
 * The colour of class `i`: the stored entry i as it stands (its alpha included;
 * an entry that is no colour and does not convert to one gives an invalid
 * colour), or, past the stored list, built-in colour i mod 15 with alpha 127.
 */
QColor classColor(const QVariantList &storedColors, int i);
