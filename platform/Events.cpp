#include "Events.h"

#include <QApplication>

namespace platform {

void ProcessPendingEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void SetBusyPointer(bool busy)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace platform
