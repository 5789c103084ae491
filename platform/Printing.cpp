#include "Printing.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

namespace platform {

namespace {
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
    const QPixmap image = window->grab();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    if (!OutputFile().isEmpty() || QPrinterInfo::defaultPrinter().isNull()) {
        result.pdfPath = OutputFile().isEmpty() ? PdfPathFor(documentName) : OutputFile();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(result.pdfPath);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        result.error = result.pdfPath.isEmpty()
                           ? QStringLiteral("the printer could not be started")
                           : QStringLiteral("'%1' could not be written").arg(result.pdfPath);
        return result;
    }
    // The window at its size on screen, at the page's top-left corner; shrunk to fit a page
    // smaller than the window.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    QSizeF size = QSizeF(image.size()) * (printer.resolution() / window->logicalDpiX());
    if (size.width() > page.width() || size.height() > page.height())
        size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRectF(QPointF(0, 0), size), image, QRectF(image.rect()));
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
