// A left click as the mouse gives it, for tests of controls that hold child windows (a spin edit's
// arrow buttons): the press and release go to what stands at the point.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Clicks at a point of the window: on the direct child whose geometry holds it (found by geometry, so
// that a window that is not showing works too), else on the window itself.
inline void ClickAtPoint(QWidget& Window, QPoint P)
{
    QWidget* target = &Window;
    for (QWidget* child : Window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->geometry().contains(P)) target = child;
    const QPoint local = target->mapFrom(&Window, P);
    const QPoint global = target->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}
