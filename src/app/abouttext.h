#pragma once

#include <QDate>
#include <QString>

// The About box's text, apart from the box, so that it can be checked without a person.

/** The project's version as CMake has it: project() in the top CMakeLists.txt is the one place it is set. */
QString applicationVersionText();

/**
 * The day this program was compiled, from the compiler's __DATE__ form
 * "Mmm dd yyyy" (day padded with a blank: "Dec  7 2026"); invalid for any other form.
 */
QDate buildDateFromCompilerDate(const char *compilerDate);

/**
 * Rich text: the bold application name, two line breaks, "Version ", the version,
 * ", ", the build date as "dd. MMMM yyyy" with English month names, then a line
 * break and the maker block.
 */
QString aboutBoxText(const QString &applicationName, const QString &version, const QDate &buildDate);
