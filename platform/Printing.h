// Printing a window on the default printer, as one page.
#pragma once

#include <QString>

class QWidget;

namespace platform {

struct PrintResult {
    bool printed = false; // the page reached the printer or the PDF file
    QString pdfPath;      // set when the page was written as a PDF file
    QString error;        // why it failed
};

// Prints `window`'s client area as it is on screen, drawn at the printer's resolution and
// scaled to the width of the page within its margins, as one page on the default printer. Where the
// machine has no printer, the page is written as the PDF file
// "<documentName>.pdf" in the user's documents folder instead.
PrintResult PrintWindowImage(QWidget* window, const QString& documentName);

// Tests: sends every print to the PDF file `path`; an empty path restores the printer.
void SetPrintOutputFile(const QString& path);

} // namespace platform
