// The published properties of the kit's classes on a fresh object: the value each starts with and whether a
// stream writes it (defaults left out, "always" properties written, "never" ones not), as one table.
#include "platform/controls/Forms.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/TypInfo.h"
#include "ui/CBtnForm.h"
#include "ui/FileMO.h"
#include "ui/KITClrBn.h"
#include "ui/kitStatusBar.h"
#include "ui/uibtn.h"
#include "ui/uiexctl.h"
#include "ui/uispla.h"
#include "ui/uishapf.h"
#include "ui/uisplit.h"
#include "ui/uiwanim.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TRow {
    std::string Property;
    std::string Value;   // as GetPropText gives it
    bool Stored;
};

void Check(const TPersistent& object, const std::vector<TRow>& rows)
{
    for (const TRow& r : rows) {
        TPersistent* holder = nullptr;
        const TPropInfo* p = FindPropInfo(object, r.Property, &holder);
        ASSERT_NE(p, nullptr) << object.ClassName() << "." << r.Property;
        EXPECT_EQ(GetPropText(object, r.Property), r.Value) << object.ClassName() << "." << r.Property;
        EXPECT_EQ(IsStoredProp(holder ? *holder : object, *p), r.Stored) << object.ClassName() << "." << r.Property;
    }
}

std::string Colour(TColor c) { return std::to_string(c); }

} // namespace

TEST(KitProperties, DefaultsAndStoredRules)
{
    Pump(1);
    TkitStatusBar bar(nullptr);
    Check(bar, {{"UseMonitorDLL", "False", false}, {"Version", "TkitStatusBar v1.24", false}});
    TkitStatusPanel* panel = bar.Panels().Add();
    Check(*panel, {{"Alignment", "taLeftJustify", false},
                   {"Bevel", "pbLowered", false},
                   {"BorderWidth", "0", false},
                   {"BiDiMode", "bdLeftToRight", false},
                   {"ParentBiDiMode", "True", false},
                   {"PanelType", "sptNormal", false},
                   {"Text", "", false},
                   {"DateFormat", "", false},
                   {"TimeFormat", "", false},
                   {"Enabled", "True", true},
                   {"Width", "50", true},
                   {"AutoFit", "False", true},
                   {"Hint", "", false}});
    Check(panel->GaugeAttrs(), {{"Style", "gsPercent", false},
                                {"Position", "0", false},
                                {"Speed", "4", false},
                                {"Color", Colour(clHighlight), false},
                                {"TextColor", Colour(clHighlightText), false}});
    // The stored-when rules: BiDiMode only without the parent's, Text not for the clock types.
    panel->SetParentBiDiMode(false);
    panel->SetText("kept");
    Check(*panel, {{"BiDiMode", "bdLeftToRight", true}, {"Text", "kept", true}});
    panel->SetPanelType(sptTime);
    EXPECT_FALSE(IsStoredProp(*panel, *FindPropInfo(*panel, "Text")));
    panel->SetPanelType(sptNormal);

    TuiBiSplit split(nullptr);
    Check(split, {{"BevelInner", "bvNone", false},     {"BevelOuter", "bvRaised", false},
                  {"BevelWidth", "1", false},          {"BorderStyle", "bsNone", false},
                  {"BorderWidth", "0", true},          {"Cursor", "0", false},
                  {"KeyIncrement", "10", false},       {"Layout", "bslVert", false},
                  {"MoveImmediate", "False", false},   {"SplitBevel", "bvRaised", false},
                  {"SplitColor", Colour(clBtnFace), false}, {"SplitHLock", "False", false},
                  {"SplitHMax", "0", true},            {"SplitHMin", "0", true},
                  {"SplitHPercent", "50", false},      {"SplitHPos", "50", true},
                  {"SplitHScaled", "False", false},    {"SplitMoveStyle", "amsBlack", false},
                  {"SplitVLock", "False", false},      {"SplitVMax", "0", true},
                  {"SplitVMin", "0", true},            {"SplitVPercent", "50", false},
                  {"SplitVPos", "50", true},           {"SplitVScaled", "False", false},
                  {"Thickness", "2", false},           {"Color", Colour(clBtnFace), false},
                  {"BevelEdges", "[beLeft,beTop,beRight,beBottom]", false}});
    Check(*split.Pane(0), {{"PaneIndex", "0", false}, {"Left", "1", false}, {"Height", "98", false}});

    TuiSuperLabel label(nullptr);
    Check(label, {{"BorderColor", Colour(clWindowFrame), false},
                  {"BorderStyle", "bsNone", false},
                  {"Ctl3D", "True", false},
                  {"TopMargin", "2", true},   // the constructor's 2 differs from the stream default 0
                  {"LeftMargin", "0", false},
                  {"RightMargin", "0", false},
                  {"BottomMargin", "0", false},
                  {"VerticalAlignment", "vaTop", false},
                  {"WordWrap", "False", false},
                  {"Width", "100", true},
                  {"Height", "25", true}});

    TuiPicBtn button(nullptr);
    Check(button, {{"TextStyle", "tsNormal", false},   {"PictureHighlight", "aghNormal", false},
                   {"Popup", "False", false},          {"TransparentColor", Colour(0xFF00FF), false},
                   {"Color", Colour(clBtnFace), false}, {"DisabledShadow", "False", false},
                   {"Layout", "ablGlyphLeft", false},  {"Margin", "-1", false},
                   {"NumGlyphs", "1", false},          {"SoundDown", "-1", false},
                   {"SoundOver", "-1", false},         {"Style", "absAutoDetect", false},
                   {"Spacing", "4", false}});
    button.SetTransparentColor(clFuchsia);
    Check(button, {{"TransparentColor", Colour(clFuchsia), true}});

    TkitColorButton colour(nullptr);
    Check(colour, {{"Version", "TkitColorButton v2.61", false}, {"ShowColorHints", "True", false},
                   {"Style", "bsAutoDetect", false},           {"OtherBtnCaption", "&Other", true},
                   {"OtherColor", Colour(clBtnFace), false},   {"CycleColors", "False", false},
                   {"Color", "0", false},                      {"Flat", "False", false},
                   {"CustomColorsKey", "", false},             {"Width", "45", true}});
    EXPECT_EQ(colour.PaletteColors().ClassInfo().DefinedProperties().size(), 3u) << "XSize, YSize and Colors";

    TFileMenuOpens recent(nullptr);
    Check(recent, {{"RegPath", "", true}, {"Numbers", "4", true}, {"MenuIndex", "0", true}});

    TuiSplash splash(nullptr);
    Check(splash, {{"AllowLocalBmp", "True", false},   {"BevelWidth", "5", false},
                   {"Duration", "5000", false},        {"HideOnClick", "True", false},
                   {"ShapeForm", "False", false},      {"ShapeTolerance", Colour(0x101010), false},
                   {"ShowModal", "False", false},      {"StayOnTop", "True", false},
                   {"AutoShow", "True", true},         {"AutoShowOnDestroy", "False", false},
                   {"AnimateShow.Duration", "200", false}, {"AnimateHide.Effect", "aweNone", false}});
    TuiAnimateWin animate;
    Check(animate, {{"Duration", "200", false}, {"Effect", "aweNone", false}, {"Horz", "awdNone", false}, {"Vert", "awdNone", false}});

    TForm form;
    TuiShapeForm shape(&form);
    Check(shape, {{"DragAnywhere", "False", false}, {"Tolerance", Colour(0x101010), false}, {"Enabled", "True", false},
                  {"Visible", "True", false}});

    TMenuItem item(nullptr);
    Check(item, {{"Caption", "", false}, {"Checked", "False", false}, {"Enabled", "True", false}, {"Visible", "True", false}});
}
