// TToolBar: layout of its items and its face.
#include "platform/controls/ComCtrls.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/SystemColors.h"

const TClassInfo& TToolBar::StaticClassInfo()
{
    using P = TProps<TToolBar>;
    static const TClassInfo info({
        .Name = "TToolBar",
        .Parent = &TCustomControl::StaticClassInfo(),
        .Properties = {P::Integer("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23),
                       P::Integer("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22)},
        .Create = &CreateComponentOf<TToolBar>,
    });
    return info;
}

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clBtnFace);
    SetBounds(0, 0, 150, 29);
}

void TToolBar::SetButtonWidth(int v)
{
    if (FButtonWidth == v) return;
    FButtonWidth = v;
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int v)
{
    if (FButtonHeight == v) return;
    FButtonHeight = v;
    ArrangeButtons();
}

void TToolBar::AddButton(TWinControl* control)
{
    control->SetParent(this);
    FItems.push_back({control, 0});
    ArrangeButtons();
}

void TToolBar::AddSeparator(int width)
{
    FItems.push_back({nullptr, width});
    ArrangeButtons();
}

// Items start 2 pixels below the bar's top edge line; a hidden control takes no room.
void TToolBar::ArrangeButtons()
{
    int x = 0;
    for (const TItem& item : FItems) {
        if (!item.Control) {
            x += item.Width;
            continue;
        }
        if (!item.Control->Visible()) continue;
        item.Control->SetBounds(x, 2, FButtonWidth, FButtonHeight);
        x += FButtonWidth;
    }
}

int TToolBar::ItemsWidth() const
{
    int x = 0;
    for (const TItem& item : FItems)
        if (!item.Control)
            x += item.Width;
        else if (item.Control->Visible())
            x += FButtonWidth;
    return x;
}

void TToolBar::Resize()
{
    ArrangeButtons();
    TCustomControl::Resize();
}

void TToolBar::Paint()
{
    TCanvas& c = Canvas();
    c.Brush().SetColor(Color());
    c.Brush().SetStyle(bsSolid);
    c.FillRect(ClientRect());
    TRect top = ClientRect();
    c.DrawEdge(top, EDGE_ETCHED, BF_TOP);
}
