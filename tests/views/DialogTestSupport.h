// What the application dialogs' tests share: typing into an edit as a user does (key events, so that the
// edit reports the user's own edit), Escape and the close box, mouse events on a chart or on a spin
// edit's arrows, and pixels of a widget as it shows.
#pragma once

#include "platform/controls/Application.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Spin.h"
#include "tests/platform/controls/ClickSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <string>

// Replaces the edit's text by typing: all selected, Backspace, then one key per character.
inline void TypeInto(QLineEdit& Edit, const std::string& Text)
{
    Edit.setFocus();
    Edit.selectAll();
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(&Edit, &back);
    for (char c : Text) {
        const QString s = QString(QChar::fromLatin1(c));
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, s);
        QApplication::sendEvent(&Edit, &key);
    }
}

// Replaces the edit's text by one input of the whole text (a paste): the edit reports one user's edit.
inline void PasteInto(QLineEdit& Edit, const std::string& Text)
{
    Edit.setFocus();
    Edit.selectAll();
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(Text.c_str()));
    QApplication::sendEvent(&Edit, &key);
}

inline void PressEscape(QWidget& W)
{
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&W, &escape);
}

// The three ways a user leaves a dialog without its own buttons.
struct TDialogExit {
    const char* Name;
    std::function<void(TForm&)> Leave;
};
inline const TDialogExit DialogExits[] = {
    {"Escape", [](TForm& f) { PressEscape(f); }},
    {"close box", [](TForm& f) { f.close(); }},
};

inline void SendMouse(QWidget& W, QEvent::Type Type, QPoint P, Qt::MouseButton Button = Qt::LeftButton)
{
    const Qt::MouseButtons held = Type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(Button);
    QMouseEvent e(Type, P, W.mapToGlobal(P), Type == QEvent::MouseMove ? Qt::NoButton : Button, held, Qt::NoModifier);
    QApplication::sendEvent(&W, &e);
}

// A left click on a spin edit's upper (or lower) arrow, at the edit's right edge.
inline void ClickSpinArrow(TSpinEdit& Spin, bool Up)
{
    QWidget& edit = *Spin.Widget();
    ClickAtPoint(edit, {edit.width() - 5, Up ? edit.height() / 4 : edit.height() - edit.height() / 4 - 1});
}

inline void PumpEvents(int Turns = 3)
{
    for (int i = 0; i < Turns; ++i) Application->ProcessMessages();
}
