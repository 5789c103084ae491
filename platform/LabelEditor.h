// In-place editing of an item's label in a list or tree view, started by the program.
#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>

#include <functional>

class QAbstractItemView;
class QModelIndex;

namespace platform {

class LabelEditor : public QObject {
public:
    explicit LabelEditor(QAbstractItemView* view);

    // Opens an edit box over `index` holding its text. Enter, or the focus leaving the box,
    // ends the edit and calls `finished` with the edited text; Esc abandons it silently.
    void Start(const QModelIndex& index, std::function<void(const QString& newText)> finished);
    bool IsEditing() const { return editor != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Finish(bool commit);

    QAbstractItemView* view;
    QPointer<QLineEdit> editor;
    std::function<void(const QString&)> finished;
};

} // namespace platform
