#pragma once

#include <QString>

namespace platform {

// The folder that holds the program, without a trailing separator.
QString ProgramFolder();

// Points ProgramFolder() elsewhere (tests); an empty path restores the real folder.
void SetProgramFolder(const QString& folder);

} // namespace platform
