// Reading script text without running it: the functions it declares at its top level, and its lines.
#pragma once

#include <QString>
#include <QStringList>

namespace ScriptSource
{
// Names of the functions declared at the top level (not inside braces, not function expressions),
// in the order of the text; strings, comments and regular expressions are skipped.
QStringList TopLevelFunctions(const QString& code);
// Line n (from 1) without its line end; empty when there is no such line.
QString LineAt(const QString& code, int line);
} // namespace ScriptSource
