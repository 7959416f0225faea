// The stored rules of the panel, zoom, back image, shape and control classes as one table: each
// published property's default as text, and whether a stream writes it once changed. A fresh object
// stores none of its defaults; stream-only names are written only when they hold something.
#include "chart/base/LumControls.h"
#include "chart/base/RadErarePanelExt.h"
#include "chart/base/RadErareShapes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

struct TStoredRow {
    const char* Path;
    const char* Default;   // as text; nullptr: not checked
    const char* Changed;   // a value to write
    bool StoredAfter;      // whether the changed value is written
};

struct TStoredCase {
    const char* Class;
    std::function<std::unique_ptr<TPersistent>()> Make;
    std::vector<TStoredRow> Rows;
};

// Every value property with a default or a stored test, at any depth of owned sub-objects, is left out
// of a stream while it holds its default.
void ExpectNothingStored(const TPersistent& obj, const std::string& where)
{
    for (const TPropInfo& p : obj.ClassInfo().Properties()) {
        if (p.Kind == TPropKind::Object) {
            if (p.StoredWhen && !p.StoredWhen(obj)) continue; // a sub-object made only on demand
            if (const TPersistent* sub = p.GetObject(obj)) ExpectNothingStored(*sub, where + "." + p.Name);
            continue;
        }
        if (!p.DefaultValue && !p.StoredWhen) continue; // always written
        EXPECT_FALSE(IsStoredProp(obj, p)) << where << "." << p.Name << " is stored at its default";
    }
}

} // namespace

TEST(LumStoredRules, DefaultsAndStoredTests)
{
    const std::vector<TStoredCase> cases = {
        {"TDraw3D",
         [] { return std::make_unique<TDraw3D>(nullptr); },
         {
             {"BorderRound", "0", "5", true},
             {"MarginLeft", "3", "0", true},
             {"MarginTop", "4", "0", true},
             {"MarginRight", "3", "1", true},
             {"MarginBottom", "4", "1", true},
             {"MarginUnits", "muPercent", "muPixels", true},
             {"Monochrome", "False", "True", true},
             {"PrintProportional", "True", "False", true},
             {"View3D", "True", "False", true},
             {"BufferedDisplay", "True", "False", true},
             {"PrintResolution", "0", "50", true},
             {"AllowPanning", "pmBoth", "pmNone", true},
             {"BackImageMode", "pbmStretch", "pbmTile", false},
             {"BackImageInside", "False", "True", false},
             {"BevelOuter", "bvRaised", "bvNone", true},
             {"Border.Visible", "False", "True", true},
             {"Border.EndStyle", "esFlat", "esRound", true},
             {"Shadow.HorizSize", "0", "3", true},
             {"View3DOptions.Elevation", "345", "300", true},
             {"Zoom.Allow", "True", "False", true},
             {"Zoom.Animated", "False", "True", true},
             {"Zoom.AnimatedSteps", "8", "3", true},
             {"Zoom.Direction", "tzdBoth", "tzdVertical", true},
             {"Zoom.KeyShift", "[]", "[ssShift]", true},
             {"Zoom.MinimumPixels", "16", "40", true},
             {"Zoom.MouseButton", "mbLeft", "mbRight", true},
             {"Zoom.UpLeftZooms", "False", "True", true},
             {"Zoom.Pen.Color", "16777215", "255", true},
             {"Zoom.Brush.Color", "16777215", "255", true},
             {"Zoom.Brush.Style", "bsClear", "bsSolid", true},
             {"BackImage.Left", "0", "4", true},
             {"Gradient.Visible", "False", "True", true},
         }},
        {"TLumShape",
         [] { return std::make_unique<TLumShape>(nullptr); },
         {
             {"Bevel", "bvNone", "bvRaised", true},
             {"BevelWidth", "2", "1", true},
             {"Color", "16777215", "255", true},
             {"ShapeStyle", "fosRectangle", "fosRoundRectangle", true},
             {"Transparent", "False", "True", true},
             {"Shadow.Color", "0", "255", true},
             {"Shadow.HorizSize", "3", "5", true},
             {"Shadow.VertSize", "3", "5", true},
         }},
        {"TButtonColor",
         [] { return std::make_unique<TButtonColor>(nullptr); },
         {
             {"Width", "75", "80", true},
             {"Height", "25", "30", true},
         }},
        {"TComboFlat",
         [] { return std::make_unique<TComboFlat>(nullptr); },
         {
             {"Height", "21", "25", true},
             {"Style", "csDropDownList", "csDropDown", true},
             {"ItemHeight", "13", "16", true},
             {"ItemIndex", "-1", nullptr, false},
             {"DropDownWidth", nullptr, "300", true},
         }},
    };
    for (const TStoredCase& c : cases) {
        std::unique_ptr<TPersistent> fresh = c.Make();
        ExpectNothingStored(*fresh, c.Class);
        for (const TStoredRow& row : c.Rows) {
            std::unique_ptr<TPersistent> obj = c.Make();
            TPersistent* holder = nullptr;
            const TPropInfo* prop = FindPropInfo(*obj, row.Path, &holder);
            ASSERT_NE(prop, nullptr) << c.Class << "." << row.Path;
            if (row.Default) {
                EXPECT_EQ(GetPropText(*obj, row.Path), row.Default) << c.Class << "." << row.Path;
            }
            if (!row.Changed) continue;
            SetPropText(*obj, row.Path, row.Changed);
            EXPECT_EQ(IsStoredProp(*holder, *prop), row.StoredAfter) << c.Class << "." << row.Path << " = " << row.Changed;
        }
    }
}

TEST(LumStoredRules, OnDemandObjectsAndStreamOnlyNames)
{
    TDraw3D panel(nullptr);
    const TClassInfo& info = panel.ClassInfo();
    const TPropInfo& gradient = *info.FindProperty("Gradient");
    const TPropInfo& back = *info.FindProperty("BackImage");
    EXPECT_FALSE(IsStoredProp(panel, gradient)) << "no gradient yet: nothing to stream";
    EXPECT_FALSE(IsStoredProp(panel, back));
    EXPECT_FALSE(panel.HasGradient()) << "asking did not make one";
    panel.Gradient();
    panel.BackImage();
    EXPECT_TRUE(IsStoredProp(panel, gradient));
    EXPECT_TRUE(IsStoredProp(panel, back));

    TLumZoomPen pen;
    const TPropInfo& color = *pen.ClassInfo().FindProperty("Color");
    EXPECT_FALSE(IsStoredProp(pen, color)) << "0 is the default colour of a new zoom pen";
    pen.SetDefaultColor(clWhite);
    EXPECT_TRUE(IsStoredProp(pen, color));
    pen.SetColor(clWhite);
    EXPECT_FALSE(IsStoredProp(pen, color));

    // Stream-only names: written when they hold something, the older ones never.
    TLumShape shape(nullptr);
    const std::vector<std::pair<TPersistent*, const char*>> neverWritten = {
        {&panel, "BorderStyle"}, {&panel, "AllowZoom"}, {&panel, "AnimatedZoom"}, {&panel, "AnimatedZoomSteps"},
        {&shape, "ShadowColor"}, {&shape, "ShadowSize"}};
    for (auto [obj, name] : neverWritten) {
        const TDefinedProperty* d = obj->ClassInfo().FindDefinedProperty(name);
        ASSERT_NE(d, nullptr) << name;
        EXPECT_FALSE(d->IsWritten(*obj)) << name;
    }
    const TDefinedProperty& margins = *info.FindDefinedProperty("PrintMargins");
    EXPECT_FALSE(margins.IsWritten(panel));
    panel.SetPrintMargins({15, 15, 16, 15});
    EXPECT_TRUE(margins.IsWritten(panel));
}
