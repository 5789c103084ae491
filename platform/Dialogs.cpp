#include "Dialogs.h"

#include "Controls.h"
#include "DialogScript.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>

namespace platform {

namespace {
DialogScript<OpenFileRequest, QString>& OpenFileScript()
{
    static DialogScript<OpenFileRequest, QString> script;
    return script;
}

DialogScript<QString, QString>& FolderScript()
{
    static DialogScript<QString, QString> script;
    return script;
}

DialogScript<qint32, qint32>& ColorScript()
{
    static DialogScript<qint32, qint32> script;
    return script;
}

std::function<void(QDialog&)>& ModalDriver()
{
    static std::function<void(QDialog&)> driver;
    return driver;
}

// "All Files (*.*)|*.*" in Qt's form: "All Files (*)". "*.*" means every file.
QString QtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters.append(QStringLiteral("%1 (%2)").arg(
            parts.at(i).section(QLatin1Char('('), 0, 0).trimmed(), patterns));
    }
    return filters.join(QStringLiteral(";;"));
}
} // namespace

std::optional<QString> OpenFileDialog::Show(const QString& title, const QString& filter,
                                            const QString& fileName)
{
    if (auto scripted = OpenFileScript().Take(OpenFileRequest{title, filter, fileName}, QString()))
        return scripted->isEmpty() ? std::nullopt : std::optional<QString>(*scripted);
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // a name that does not exist yet may be typed
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void OpenFileDialog::SetScripted(bool scripted)
{
    OpenFileScript().SetScripted(scripted);
}
void OpenFileDialog::SetNextAnswer(const QString& path)
{
    OpenFileScript().SetNextAnswer(path);
}
const QList<OpenFileRequest>& OpenFileDialog::Shown()
{
    return OpenFileScript().Shown();
}

std::optional<QString> FolderDialog::Show(const QString& title)
{
    if (auto scripted = FolderScript().Take(title, QString()))
        return scripted->isEmpty() ? std::nullopt : std::optional<QString>(*scripted);
    const QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(), title);
    return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen);
}

void FolderDialog::SetScripted(bool scripted)
{
    FolderScript().SetScripted(scripted);
}
void FolderDialog::SetNextAnswer(const QString& folder)
{
    FolderScript().SetNextAnswer(folder);
}
const QList<QString>& FolderDialog::Shown()
{
    return FolderScript().Shown();
}

std::optional<qint32> ColorDialog::Show(qint32 color)
{
    if (auto scripted = ColorScript().Take(color, -1))
        return *scripted < 0 ? std::nullopt : std::optional<qint32>(*scripted);
    const QColor chosen =
        QColorDialog::getColor(ColorFromValue(color), QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return ValueFromColor(chosen);
}

void ColorDialog::SetScripted(bool scripted)
{
    ColorScript().SetScripted(scripted);
}
void ColorDialog::SetNextAnswer(qint32 color)
{
    ColorScript().SetNextAnswer(color);
}
const QList<qint32>& ColorDialog::Shown()
{
    return ColorScript().Shown();
}

void ModalWindow::Show(QDialog& dialog)
{
    if (ModalDriver()) {
        dialog.show();
        ModalDriver()(dialog);
        return;
    }
    dialog.exec();
}

void ModalWindow::SetDriver(std::function<void(QDialog&)> driver)
{
    ModalDriver() = std::move(driver);
}

} // namespace platform
