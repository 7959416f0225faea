// Painting of the edge panel: bevels on the chosen sides only.
#include "ui/uipanel.h"

#include "platform/graphics/Canvas.h"

const TClassInfo& TuiCustomEdgePanel::StaticClassInfo()
{
    using P = TProps<TuiCustomEdgePanel>;
    static const TClassInfo info({
        .Name = "TuiCustomEdgePanel",
        .Parent = &TCustomPanel::StaticClassInfo(),
        .Properties = {P::Set("BevelEdges", BevelEdgeNames, &TuiCustomEdgePanel::BevelEdges, &TuiCustomEdgePanel::SetBevelEdges)
                           .Default(TBevelEdges{beLeft, beTop, beRight, beBottom})},
    });
    return info;
}

TuiCustomEdgePanel::TuiCustomEdgePanel(TComponent* AOwner) : TCustomPanel(AOwner) {}

void TuiCustomEdgePanel::SetBevelEdges(TBevelEdges v)
{
    FBevelEdges = v;
    Invalidate();
}

namespace {

void EdgeBevel(TCanvas& c, TRect& r, TBevelCut cut, int width, unsigned sides)
{
    if (cut == bvNone) return;
    const bool lowered = cut == bvLowered;
    DrawFrame3D(c, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, width, sides);
}

} // namespace

void TuiCustomEdgePanel::Paint()
{
    if (FBevelEdges.Count() == 4) {
        TCustomPanel::Paint();
        return;
    }
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(r);
    const unsigned sides = static_cast<unsigned>(FBevelEdges.Bits());
    EdgeBevel(c, r, BevelOuter(), BevelWidth(), sides);
    Frame3D(c, r, Color(), Color(), BorderWidth());
    EdgeBevel(c, r, BevelInner(), BevelWidth(), sides);
    const std::string caption = Text();
    if (caption.empty()) return;
    c.Brush().SetStyle(bsClear);
    const int h = c.TextHeight("W");
    TRect text{r.Left, (r.Top + r.Bottom - h) / 2, r.Right, (r.Top + r.Bottom - h) / 2 + h};
    c.DrawText(caption, text, DT_CENTER | DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE);
}
