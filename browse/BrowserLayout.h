// Parts the two read-only browsers share: a white window, the list of names on the left and
// the transparent labels of the card beside it.
#pragma once

#include <QFont>
#include <QString>

class QLabel;
class QWidget;
namespace platform {
class ListView;
}

namespace BrowserLayout {

void MakeWhite(QWidget* window);
// A report-style list with one column headed "Name".
platform::ListView* NameList(QWidget* window);
// A label with a transparent background, text from its top-left corner.
QLabel* CardLabel(QWidget* window, const QFont& font);
// Stored text as shown on a card: line breaks of the files ("\r\n") as plain line breaks.
QString DisplayText(const QString& stored);

} // namespace BrowserLayout
