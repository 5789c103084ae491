#include "Printing.h"

#include <QDir>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

namespace platform {

namespace {
constexpr qreal PageMarginMm = 15;

QString& OutputFile()
{
    static QString path;
    return path;
}

QString PdfPathFor(const QString& documentName)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    QString name = documentName;
    name.replace(QRegularExpression(QStringLiteral(R"([\\/:*?"<>|])")), QStringLiteral("_"));
    return QDir(folder).filePath(name.isEmpty() ? QStringLiteral("Print.pdf")
                                                : name + QStringLiteral(".pdf"));
}
} // namespace

PrintResult PrintWindowImage(QWidget* window, const QString& documentName)
{
    PrintResult result;
    // The window's controls recorded as drawing commands, not pixels, so that the printer
    // draws its text and lines at its own resolution.
    QPicture picture;
    {
        QPainter recorder(&picture);
        window->render(&recorder, QPoint(), QRegion(),
                       QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    if (!OutputFile().isEmpty() || QPrinterInfo::defaultPrinter().isNull()) {
        result.pdfPath = OutputFile().isEmpty() ? PdfPathFor(documentName) : OutputFile();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(result.pdfPath);
    }
    printer.setPageMargins(QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm),
                           QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer)) {
        result.error = result.pdfPath.isEmpty()
                           ? QStringLiteral("the printer could not be started")
                           : QStringLiteral("'%1' could not be written").arg(result.pdfPath);
        return result;
    }
    // The window as wide as the page within its margins, in its own proportions; narrower
    // where it would be taller than the page.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    if (window->width() > 0 && window->height() > 0) {
        // A picture drawn on the printer is already enlarged from its own resolution to the
        // printer's.
        const qreal pictureScale = qreal(printer.logicalDpiX()) / picture.logicalDpiX();
        const qreal scale = qMin(page.width() / window->width(), page.height() / window->height());
        painter.scale(scale / pictureScale, scale / pictureScale);
        painter.drawPicture(0, 0, picture);
    }
    result.printed = painter.end();
    if (!result.printed)
        result.error = QStringLiteral("the page could not be finished");
    return result;
}

void SetPrintOutputFile(const QString& path)
{
    OutputFile() = path;
}

} // namespace platform
