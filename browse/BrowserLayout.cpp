#include "BrowserLayout.h"

#include "platform/Captions.h"
#include "platform/ListView.h"

#include <QHeaderView>
#include <QLabel>

namespace BrowserLayout {

void MakeWhite(QWidget* window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

platform::ListView* NameList(QWidget* window)
{
    auto* list = new platform::ListView(window);
    list->AddColumn(QStringLiteral("Name"));
    list->header()->setStretchLastSection(true);
    return list;
}

QLabel* CardLabel(QWidget* window, const QFont& font)
{
    auto* label = new QLabel(window);
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    platform::MarkAsData(label);
    return label;
}

void ShowLine(QLabel* label, const QString& text)
{
    label->setText(text);
    label->resize(qMax(label->width(), label->sizeHint().width()), label->height());
}

QString DisplayText(const QString& stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace BrowserLayout
