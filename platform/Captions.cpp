#include "Captions.h"

#include "Controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <climits>

namespace platform {

namespace {
// Room kept between a caption and the control beside it, in pixels.
constexpr int CaptionGap = 3;
// The smallest text a caption is shrunk to, in points.
constexpr double SmallestPointSize = 6.0;
// The property that marks a label showing data.
constexpr char ShowsData[] = "showsData";

QString WithoutMnemonic(QString caption)
{
    return caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// The widest of a list's entries, in the list's font, in pixels.
int WidestEntry(const DropDownList* list)
{
    int widest = 0;
    for (int k = 0; k < list->count(); ++k)
        widest = qMax(widest, list->fontMetrics().horizontalAdvance(list->itemText(k)));
    return widest;
}

bool HasOneLineCaption(const QWidget* control)
{
    // The entries of a drop-down list are the program's own texts, shown as captions are.
    if (const auto* list = dynamic_cast<const DropDownList*>(control))
        return list->count() > 0;
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return !label->wordWrap() && !label->text().isEmpty() &&
               !label->property(ShowsData).toBool();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return !button->text().isEmpty();
    return false;
}

// The width `control` needs to show its whole caption.
int NeededWidth(const QWidget* control)
{
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        // A button's size hint has a minimum width of its own; only the text counts here.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return button->fontMetrics().horizontalAdvance(WithoutMnemonic(button->text())) +
               button->width() - contents.width();
    }
    if (const auto* list = dynamic_cast<const DropDownList*>(control)) {
        // The entry is drawn one pixel inside the text field at either side.
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, list);
        return WidestEntry(list) + 2 + list->width() - field.width();
    }
    return control->sizeHint().width();
}

// The nearest control on `control`'s row that starts to the right of its left edge.
QWidget* RightNeighbour(const QWidget* control)
{
    const QRect at = control->geometry();
    QWidget* nearest = nullptr;
    for (QObject* object : control->parentWidget()->children()) {
        auto* sibling = qobject_cast<QWidget*>(object);
        if (!sibling || sibling == control || sibling->isWindow())
            continue;
        const QRect other = sibling->geometry();
        const bool sameRow = other.top() <= at.bottom() && other.bottom() >= at.top();
        if (sameRow && other.left() > at.left() && (!nearest || other.left() < nearest->x()))
            nearest = sibling;
    }
    return nearest;
}

void ShrinkText(QWidget* control, int width)
{
    QFont font = control->font();
    while (NeededWidth(control) > width && font.pointSizeF() > SmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        control->setFont(font);
    }
}

void FitCaption(QWidget* control)
{
    if (!HasOneLineCaption(control))
        return;
    const int left = control->x();
    QWidget* neighbour = RightNeighbour(control);
    // A window the user can widen does not limit its captions.
    const QWidget* window = control->parentWidget();
    const int limit = neighbour ? neighbour->x() - CaptionGap
                      : window->minimumWidth() == window->maximumWidth() ? window->width()
                                                                         : INT_MAX / 2;
    const int needed = NeededWidth(control);
    if (left + needed > limit) {
        const int overlap = left + needed - limit;
        if (neighbour && overlap <= neighbour->width() / 4)
            neighbour->setGeometry(neighbour->geometry().adjusted(overlap, 0, 0, 0));
        else
            ShrinkText(control, limit - left);
    }
    control->resize(qMax(control->width(), NeededWidth(control)), control->height());
}
} // namespace

void LinkLabel(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    QString name = WithoutMnemonic(label->text());
    name.remove(QRegularExpression(QStringLiteral("\\s*[:?]\\s*$")));
    control->setAccessibleName(name.trimmed());
}

void MarkAsData(QLabel* label)
{
    label->setProperty(ShowsData, true);
}

void FitCaptions(QWidget* window)
{
    for (QObject* object : window->children())
        if (auto* control = qobject_cast<QWidget*>(object); control && !control->isWindow())
            FitCaption(control);
}

} // namespace platform
