// The hint window as a tool-tip window of Qt (frameless, on top, shown without activation); its face is
// painted by the program through the control's canvas.
#include "platform/controls/HintWindow.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/SystemColors.h"

#include <QWidget>

#include <algorithm>

const TClassInfo& THintWindow::StaticClassInfo()
{
    static const TClassInfo info({.Name = "THintWindow", .Parent = &TCustomControl::StaticClassInfo()});
    return info;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clInfoBk);
    QWidget* w = Widget();
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->hide();
    Canvas().Font().SetName("Tahoma");
    Canvas().Font().SetHeight(-11);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint)
{
    TCanvas& c = Canvas();
    int width = 0, lines = 0;
    std::string line;
    auto flush = [&] {
        width = std::max(width, c.TextWidth(line));
        ++lines;
        line.clear();
    };
    std::string word;
    for (std::size_t i = 0; i <= AHint.size(); ++i) {
        const char ch = i < AHint.size() ? AHint[i] : '\n';
        if (ch == '\r') continue;
        if (ch == ' ' || ch == '\n') {
            const std::string next = line.empty() ? word : line + " " + word;
            if (!line.empty() && c.TextWidth(next) > MaxWidth) {
                flush();
                line = word;
            } else line = next;
            word.clear();
            if (ch == '\n') flush();
        } else word += ch;
    }
    const int h = c.TextHeight("Wg");
    return {0, 0, width + 6, lines * h + 4};
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint)
{
    FCaption = AHint;
    FRect = Rect;
    QWidget* w = Widget();
    w->setGeometry(Rect.Left, Rect.Top, std::max(1, Rect.Right - Rect.Left), std::max(1, Rect.Bottom - Rect.Top));
    NoteSize();
    Invalidate();
    w->show();
    w->raise();
}

void THintWindow::ReleaseHandle() { Widget()->hide(); }

bool THintWindow::IsShowing() const { return Widget()->isVisible(); }

void THintWindow::Paint()
{
    TCanvas& c = Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Color());
    c.Pen().SetColor(clBlack);
    c.Rectangle(0, 0, Width(), Height());
    c.Brush().SetStyle(bsClear);
    int y = 2;
    std::string line;
    for (std::size_t i = 0; i <= FCaption.size(); ++i) {
        const char ch = i < FCaption.size() ? FCaption[i] : '\n';
        if (ch == '\r') continue;
        if (ch == '\n') {
            c.TextOut(3, y, line);
            y += c.TextHeight("Wg");
            line.clear();
        } else line += ch;
    }
}
