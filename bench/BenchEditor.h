// Starting the real editor on generated databases, for the benchmarks that drive its windows.
#pragma once

#include <QByteArray>
#include <QString>

class frmMain;

namespace BenchSupport {

// Writes the four database files into `folder`/Data, makes `folder` the program folder and
// starts the main window on them, with every message box answered by script. Ends the program
// when a file cannot be written.
frmMain* StartEditor(const QString& folder, const QByteArray& glasses,
                     const QByteArray& ingredients, const QByteArray& recipes,
                     const QByteArray& help);

} // namespace BenchSupport
