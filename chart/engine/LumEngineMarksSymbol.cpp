// The marks' symbol: its defaults and published properties.
#include "chart/engine/LumEngineMarksSymbol.h"

const TClassInfo& TSeriesMarksSymbol::StaticClassInfo()
{
    using P = TProps<TSeriesMarksSymbol>;
    using S = TSeriesMarksSymbol;
    static const TClassInfo info({
        .Name = "TSeriesMarksSymbol",
        .Parent = &TLumCustomShape::StaticClassInfo(),
        .Properties =
            {
                P::Enumeration("Bevel", BevelCutNames, &S::Bevel, &S::SetBevel).Default(bvNone),
                P::Integer("BevelWidth", &S::BevelWidth, &S::SetBevelWidth).Default(2),
                P::Object("Brush", [](const S& s) -> TPersistent* { return &s.Brush(); }),
                P::Object("Frame", [](const S& s) -> TPersistent* { return &s.Pen(); }),
                P::Object("Gradient", [](const S& s) -> TPersistent* { return &const_cast<S&>(s).Gradient(); })
                    .StoredWhen(&S::HasGradient),
                P::Object("Pen", [](const S& s) -> TPersistent* { return &s.Pen(); }),
                P::Object("Shadow", [](const S& s) -> TPersistent* { return &const_cast<S&>(s).Shadow(); }),
                P::Enumeration("ShapeStyle", ShapeStyleNames, &S::ShapeStyle, &S::SetShapeStyle)
                    .Default(fosRectangle),
                P::Integer("Transparency", &S::Transparency, &S::SetTransparency).Default(0),
                P::Boolean("Visible", &S::Visible, &S::SetVisible).Default(false),
            },
    });
    return info;
}

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomLumPanel* Panel) : TLumCustomShape(Panel)
{
    SetVisible(false);
    Shadow().SetUniformSize(1);
    Shadow().SetDefaultSize(1);
}
