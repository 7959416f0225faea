// Small helpers of the editor tests: choosing combo items and list items as a user does, reading
// rendered pixels, and a form of a known class out of the prompter's hands.
#pragma once

#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "chart/base/RadErareServices.h"
#include "platform/rtl/Registry.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QWidget>

#include <stdexcept>
#include <string>

// Chooses an item of a combo box as the user would (the program hears only user choices).
inline void Choose(TComboBox& Combo, int Index)
{
    auto* native = static_cast<QComboBox*>(Combo.Widget());
    native->setCurrentIndex(Index);
    emit native->activated(Index);
}

// Chooses an item of a Qt combo box as the user would.
inline void Pick(QComboBox& Combo, int Index)
{
    Combo.setCurrentIndex(Index);
    emit Combo.activated(Index);
}

// The editor options of the test run's registry, all gone.
inline void ClearEditorOptions()
{
    TRegistry registry;
    registry.DeleteKey(EditorOptionsKey);
}

// Clicks the list item with that text; false when there is none.
inline bool ClickItem(QListWidget& List, const QString& Text)
{
    const auto found = List.findItems(Text, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    List.setCurrentItem(found.front());
    emit List.itemClicked(found.front());
    return true;
}

inline QImage Render(QWidget* W)
{
    QImage image(W->size(), QImage::Format_RGB32);
    W->render(&image);
    return image;
}

inline TColor PixelOf(const QImage& Image, int X, int Y)
{
    const QRgb p = Image.pixel(X, Y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

template <class T>
T& FormAs(TForm& Form)
{
    auto* t = dynamic_cast<T*>(&Form);
    if (!t) throw std::logic_error("the form is of another class: " + Form.Caption());
    return *t;
}
