#include "MdiChild.h"

#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <QLayout>
#include <QMdiSubWindow>

MdiChild::MdiChild()
{
    setFont(platform::TahomaFont());
}

QMdiSubWindow* MdiChild::SubWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void MdiChild::MoveToTopLeft()
{
    if (QMdiSubWindow* window = SubWindow())
        window->move(0, 0);
}

void MdiChild::SetFixedClientSize(int width, int height)
{
    setFixedSize(platform::TwipsToPixelsX(width), platform::TwipsToPixelsY(height));
    if (QMdiSubWindow* window = SubWindow()) {
        // A fixed frame: its edges take no dragging, its system menu offers no Size, and Tile
        // moves it without resizing it.
        window->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
        window->adjustSize();
        window->setFixedSize(window->size());
    }
}

void MdiChild::SetClientSize(int width, int height)
{
    const QSize client(platform::TwipsToPixelsX(width), platform::TwipsToPixelsY(height));
    QMdiSubWindow* window = SubWindow();
    if (!window) {
        resize(client);
        return;
    }
    if (window->layout())
        window->layout()->activate();
    window->resize(client + (window->size() - size()));
}

void MdiChild::Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(platform::TwipsRect(left, top, width, height));
}

QSize MdiChild::OuterSizeTwips() const
{
    const QSize outer = SubWindow() ? SubWindow()->size() : size();
    return QSize(platform::PixelsToTwipsX(outer.width()), platform::PixelsToTwipsY(outer.height()));
}

int MdiChild::LeftOf(const QWidget* control)
{
    return platform::PixelsToTwipsX(control->x());
}
int MdiChild::WidthOf(const QWidget* control)
{
    return platform::PixelsToTwipsX(control->width());
}
void MdiChild::SetLeft(QWidget* control, int left)
{
    control->move(platform::TwipsToPixelsX(left), control->y());
}
void MdiChild::SetTop(QWidget* control, int top)
{
    control->move(control->x(), platform::TwipsToPixelsY(top));
}
void MdiChild::SetWidth(QWidget* control, int width)
{
    control->resize(platform::TwipsToPixelsX(width), control->height());
}
void MdiChild::SetHeight(QWidget* control, int height)
{
    control->resize(control->width(), platform::TwipsToPixelsY(height));
}
