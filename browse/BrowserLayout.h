// Parts the two read-only browsers share: a white window, the list of names on the left and
// the transparent labels of the card beside it.
#pragma once

#include "platform/ListView.h"
#include "records/KeyedCollection.h"

#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace BrowserLayout {

void MakeWhite(QWidget* window);
// A report-style list with one column headed "Name".
platform::ListView* NameList(QWidget* window);
// Fills `list` with one row per record, in collection order, each row's Tag holding the
// record's position; selects the first row.
template <typename Record>
void FillByPosition(platform::ListView* list, const KeyedCollection<Record>& records)
{
    for (int i = 1; i <= records.Count(); ++i)
        if (platform::ListItem* row = list->Add(records.Item(i)->Name, records.Item(i)->Name))
            row->Tag = i;
    list->SetSelectedItem(list->Item(1));
}
// A label with a transparent background, text from its top-left corner, showing data in the
// font it is given.
QLabel* CardLabel(QWidget* window, const QFont& font);
// Shows `text` in a one-line card label, widening the label where the text is longer.
void ShowLine(QLabel* label, const QString& text);
// Stored text as shown on a card: every line break of the files (carriage return and line feed
// together or alone) as a plain line break.
QString DisplayText(const QString& stored);

} // namespace BrowserLayout
