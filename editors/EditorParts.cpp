#include "EditorParts.h"

#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/FocusEvents.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "records/AnsiText.h"
#include "store/modCellarix.h"

#include <QLabel>

namespace EditorParts {

void Refuse(const QString& text, const QString& title)
{
    platform::MessageBox::Show(text, platform::MsgButtons::OK, platform::MsgIcon::Information,
                               title);
}

bool Confirm(const QString& text, const QString& title)
{
    return platform::MessageBox::Show(text, platform::MsgButtons::YesNo,
                                      platform::MsgIcon::Question,
                                      title) == platform::MsgAnswer::Yes;
}

void Hint(QWidget* control, const QString& hint)
{
    platform::OnFocus(
        control, [hint] { modCellarix::ShowHint(hint); }, [] { modCellarix::ShowHint(QString()); });
}

void FillHotspotList(platform::DropDownList* list)
{
    list->Clear();
    for (int number = 0; number <= 254; ++number)
        list->AddItem(QString::number(number));
    list->AddItem(QStringLiteral("(Unassigned)"));
}

namespace {
// The characters of `text`, a surrogate pair as one.
QStringList Characters(const QString& text)
{
    QStringList characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        characters << text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    return characters;
}
} // namespace

QString NameAsStored(const QString& typed)
{
    return AnsiText::TrimSpaces(AnsiText::TrimSpaces(typed).left(AnsiText::FixedFieldSize));
}

bool RefuseUnstorableName(const QString& typed)
{
    for (const QString& character : Characters(typed))
        if (!AnsiText::CanHold(character)) {
            Refuse(QStringLiteral("A name cannot hold the character '%1': the database files hold "
                                  "only the characters of the Windows-1252 code page.")
                       .arg(character));
            return true;
        }
    return false;
}

void AcceptStorableTextOnly(platform::TextBox* box)
{
    box->FilterInput = [](QString& text) {
        QString held, replaced;
        for (const QString& character : Characters(text)) {
            if (character == QChar::LineSeparator || character == QChar::ParagraphSeparator) {
                held += QLatin1Char('\n'); // a line break, as the files hold it
            } else if (AnsiText::CanHold(character)) {
                held += character;
            } else {
                held += QLatin1Char('?');
                if (!replaced.contains(character))
                    replaced += character;
            }
        }
        text = held;
        return replaced;
    };
    box->InputFiltered = [](const QString& replaced) {
        Refuse(QStringLiteral("The database files cannot hold these characters, so they were "
                              "replaced by \"?\": %1")
                   .arg(Characters(replaced).join(QLatin1Char(' '))));
    };
}

void AddPlaceholder(QWidget* window, QLabel*& label, platform::DropDownList*& list,
                    const QString& caption, QRect labelAt, QRect listAt)
{
    label = new QLabel(caption, window);
    list = new platform::DropDownList(window);
    label->setGeometry(
        platform::TwipsRect(labelAt.x(), labelAt.y(), labelAt.width(), labelAt.height()));
    list->setGeometry(platform::TwipsRect(listAt.x(), listAt.y(), listAt.width(), listAt.height()));
    platform::LinkLabel(label, list);
    label->setEnabled(false);
    list->setEnabled(false);
}

} // namespace EditorParts
