// What the editor windows share: their message boxes, their hints and the hot-spot list.
#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QWidget;
namespace platform {
class DropDownList;
class TextBox;
} // namespace platform

namespace EditorParts {

// A refusal: information icon, OK button, title "INPUT ERROR" (or `title`).
void Refuse(const QString& text, const QString& title = QStringLiteral("INPUT ERROR"));
// A confirmation with a question icon and Yes and No; true for Yes.
bool Confirm(const QString& text, const QString& title);
// Shows `hint` while `control` has the focus and clears the hint line when it leaves.
void Hint(QWidget* control, const QString& hint);
// Fills a hot-spot chooser: "0" .. "254", then "(Unassigned)" for 255.
void FillHotspotList(platform::DropDownList* list);

// A typed name as the files hold it: without spaces at either end and at most 50 characters.
QString NameAsStored(const QString& typed);
// When `typed` holds a character the files cannot hold, says so under "INPUT ERROR", naming the
// character, and returns true.
bool RefuseUnstorableName(const QString& typed);
// Lets into `box` only text the files can hold: a typed or pasted character outside the code
// page becomes "?", and the user is told once which characters were replaced.
void AcceptStorableTextOnly(platform::TextBox* box);
// While the databases are open read-only, every attempt to change something in `window` (typing
// in a text box, choosing in a chooser, ticking a box, pressing a button, Insert, Delete or F2 in
// a list or tree) is refused with "The databases are open read-only." under "INVALID ACTION"
// and has no effect. Called once a window's controls exist; calling it again does nothing.
void RefuseEditsWhenReadOnly(QWidget* window);

// A label and a chooser for an attribute the editors do not edit yet: placed at `labelAt` and
// `listAt` (twips), disabled and empty for the life of the window.
void AddPlaceholder(QWidget* window, QLabel*& label, platform::DropDownList*& list,
                    const QString& caption, QRect labelAt, QRect listAt);

} // namespace EditorParts
