// The common dialogs and modal windows. Each goes through a seam that tests can script (the
// answer to give, nothing shown) and inspect (what was asked).
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QDialog;

namespace platform {

struct OpenFileRequest {
    QString title;
    QString filter;   // pairs "description|pattern", separated by '|'
    QString fileName; // preset
};

class OpenFileDialog {
public:
    // Asks for a file to open, an existing one or a new name; the chosen full path, or nothing
    // when the user cancelled.
    static std::optional<QString> Show(const QString& title, const QString& filter,
                                       const QString& fileName);
    // Tests: while scripted, Show returns the queued answers (an empty path cancels); with
    // none queued it cancels.
    static void SetScripted(bool scripted);
    static void SetNextAnswer(const QString& path);
    static const QList<OpenFileRequest>& Shown();
};

class FolderDialog {
public:
    // Asks for a folder, titled `title`; the chosen folder, or nothing when the user cancelled.
    static std::optional<QString> Show(const QString& title);
    // Tests: while scripted, Show returns the queued answers (an empty path cancels); with
    // none queued it cancels.
    static void SetScripted(bool scripted);
    static void SetNextAnswer(const QString& folder);
    static const QList<QString>& Shown(); // the titles asked with
};

class ColorDialog {
public:
    // Asks for a colour, starting from `color` (red + 256 × green + 65536 × blue); the chosen
    // colour, or nothing when the user cancelled.
    static std::optional<qint32> Show(qint32 color);
    // Tests: while scripted, Show returns the queued answers (-1 cancels); with none queued it
    // cancels.
    static void SetScripted(bool scripted);
    static void SetNextAnswer(qint32 color);
    static const QList<qint32>& Shown(); // the start colours asked with
};

class ModalWindow {
public:
    // Shows `dialog` modally and returns when it has been closed.
    static void Show(QDialog& dialog);
    // Tests: `driver` receives the dialog, shown but not modal, in place of the user, and
    // must close it; an empty driver restores real modal showing.
    static void SetDriver(std::function<void(QDialog&)> driver);
};

} // namespace platform
