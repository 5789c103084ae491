// The editor and browser windows: child windows of the main window, each with its own load
// step and the menus the main window's menu bar shows while the child is active.
#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QMdiSubWindow;

class MdiChild : public QWidget {
public:
    MdiChild();
    // Fills the window from the collections and shows it; run when the window is created.
    virtual void Form_Load() = 0;
    // Entries shown in the main window's menu bar while this window is active: menus, or
    // commands that act when clicked.
    virtual QList<QAction*> MenuBarEntries() const { return {}; }

protected:
    QMdiSubWindow* SubWindow() const;
    // Places the window at the top-left corner of the main window's client area.
    void MoveToTopLeft();
    // A fixed border: the client area is `width` × `height` twips and cannot be resized.
    void SetFixedClientSize(int width, int height);
    // A sizable border whose client area starts at `width` × `height` twips.
    void SetClientSize(int width, int height);
    // The window's outer size (frame included), in twips.
    QSize OuterSizeTwips() const;

    // Geometry of a control in twips.
    static void Place(QWidget* control, int left, int top, int width, int height);
    static int LeftOf(const QWidget* control);
    static int WidthOf(const QWidget* control);
    static void SetLeft(QWidget* control, int left);
    static void SetTop(QWidget* control, int top);
    static void SetWidth(QWidget* control, int width);
    static void SetHeight(QWidget* control, int height);
};
