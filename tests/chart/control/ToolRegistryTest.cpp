// The standard tools unit's start-up: the sixteen tool classes in the gallery's order, each with its
// gallery text and its editor form; and the stored rules of every tool's published properties (a fresh
// tool stores nothing but what it keeps on purpose, a changed property is stored).
#include "ToolTestSupport.h"

#include "chart/control/ChartRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

struct TToolClass {
    const TClassInfo* Class;
    const char* Text;
    const char* Editor;
};

const TToolClass StandardTools[] = {
    {&TCursorTool::StaticClassInfo(), "Cursor", "TCursorToolEditor"},
    {&TDragMarksTool::StaticClassInfo(), "Drag Marks", "TDragMarksToolEditor"},
    {&TAxisArrowTool::StaticClassInfo(), "Axis Arrows", "TAxisArrowToolEditor"},
    {&TDrawLineTool::StaticClassInfo(), "Draw Line", "TDrawLineEdit"},
    {&TNearestTool::StaticClassInfo(), "Nearest Point", "TNearestToolEdit"},
    {&TColorBandTool::StaticClassInfo(), "Color Band", "TColorBandToolEditor"},
    {&TColorLineTool::StaticClassInfo(), "Color Line", "TColorLineToolEditor"},
    {&TRotateTool::StaticClassInfo(), "Rotate", "TRotateToolEditor"},
    {&TChartImageTool::StaticClassInfo(), "Image", "TChartImageToolEditor"},
    {&TMarksTipTool::StaticClassInfo(), "Mark Tips", "TMarksTipToolEdit"},
    {&TAnnotationTool::StaticClassInfo(), "Annotation", "TAnnotationToolEdit"},
    {&TSeriesAnimationTool::StaticClassInfo(), "Series Animation", "TSeriesAnimToolEditor"},
    {&TGridBandTool::StaticClassInfo(), "Grid Band", "TGridBandToolEdit"},
    {&TAxisScrollTool::StaticClassInfo(), "Axis Scroll", "TAxisToolEditor"},
    {&TRectangleTool::StaticClassInfo(), "Rectangle", "TAnnotationToolEdit"},
    {&TClipSeriesTool::StaticClassInfo(), "Clip Series", "TSeriesToolEditor"},
};

std::unique_ptr<TLumCustomTool> MakeTool(const TClassInfo& Class)
{
    std::unique_ptr<TComponent> made(Class.CreateComponent(nullptr));
    auto* tool = dynamic_cast<TLumCustomTool*>(made.get());
    if (tool) made.release();
    return std::unique_ptr<TLumCustomTool>(tool);
}

// The paths of the value properties a stream writes, through the owned sub-objects ("Pen.Visible").
void CollectStored(const TPersistent& Object, const std::string& Prefix, std::set<std::string>& Paths, int Depth = 0)
{
    for (const TPropInfo& p : Object.ClassInfo().Properties()) {
        if (p.Kind == TPropKind::Object) {
            if (TPersistent* sub = p.GetObject(Object); sub && Depth < 4)
                CollectStored(*sub, Prefix + p.Name + ".", Paths, Depth + 1);
        } else if (p.HasValue() && IsStoredProp(Object, p)) {
            Paths.insert(Prefix + p.Name);
        }
    }
}

std::set<std::string> StoredPaths(const TPersistent& Object)
{
    std::set<std::string> paths;
    CollectStored(Object, "", paths);
    return paths;
}

} // namespace

TEST(ToolRegistry, TheSixteenStandardToolsInTheGallerysOrderWithTheirTextsAndEditors)
{
    ASSERT_NE(LumToolTypes(), nullptr);
    const int first = LumToolTypes()->IndexOf(StandardTools[0].Class);
    ASSERT_GE(first, 0);
    int row = 0;
    for (const TToolClass& c : StandardTools) {
        EXPECT_EQ(LumToolTypes()->IndexOf(c.Class), first + row) << c.Class->Name() << " at its place";
        ++row;
        auto tool = MakeTool(*c.Class);
        ASSERT_NE(tool, nullptr) << c.Class->Name();
        EXPECT_EQ(tool->DescriptionText(), c.Text);
        EXPECT_EQ(tool->EditorFormName(), c.Editor);
        EXPECT_EQ(EditorNameOfClass(*tool), c.Editor);
    }
}

TEST(ToolRegistry, AFreshToolStoresOnlyWhatItKeepsOnPurpose)
{
    // What a fresh tool writes although nobody changed it: the properties whose constructor value is no
    // default of theirs.
    const std::map<std::string, std::set<std::string>> kept = {
        {"TNearestTool", {"Brush.Style", "Pen.Color", "Pen.Style"}},
        {"TRotateTool", {"Pen.Color", "Pen.Mode"}},
        {"TAnnotationTool", {"Callout.Arrow.Visible", "Callout.Brush.Color", "Callout.Dark3D"}},
        {"TRectangleTool",
         {"Callout.Arrow.Visible", "Callout.Brush.Color", "Callout.Dark3D", "Cursor", "Height", "Shape.CustomPosition",
          "Shape.Left", "Shape.Shadow.HorizSize", "Shape.Shadow.VertSize", "Shape.Top", "Shape.Transparency", "Width"}},
    };
    for (const TToolClass& c : StandardTools) {
        auto tool = MakeTool(*c.Class);
        const auto found = kept.find(c.Class->Name());
        const std::set<std::string> expected = found == kept.end() ? std::set<std::string>{} : found->second;
        EXPECT_EQ(StoredPaths(*tool), expected) << c.Class->Name();
    }
}

TEST(ToolRegistry, ThePublishedPropertiesOfTheMotionToolsAreStoredOnceChanged)
{
    struct TRow {
        const TClassInfo* Class;
        const char* Path;
        const char* Default;
        const char* Changed;
    };
    const TRow rows[] = {
        {&TRotateTool::StaticClassInfo(), "Active", "True", "False"},
        {&TRotateTool::StaticClassInfo(), "Button", "mbLeft", "mbRight"},
        {&TRotateTool::StaticClassInfo(), "Inverted", "False", "True"},
        {&TRotateTool::StaticClassInfo(), "Style", "rsAll", "rsElevation"},
        {&TRotateTool::StaticClassInfo(), "Pen.Visible", "False", "True"},
        {&TDragMarksTool::StaticClassInfo(), "Active", "True", "False"},
        {&TSeriesAnimationTool::StaticClassInfo(), "Active", "True", "False"},
        {&TSeriesAnimationTool::StaticClassInfo(), "DrawEvery", "0", "3"},
        {&TSeriesAnimationTool::StaticClassInfo(), "Loop", "salNo", "salCircular"},
        {&TSeriesAnimationTool::StaticClassInfo(), "StartAtMin", "True", "False"},
        {&TSeriesAnimationTool::StaticClassInfo(), "StartValue", "0", "2.5"},
        {&TSeriesAnimationTool::StaticClassInfo(), "Steps", "100", "50"},
        {&TClipSeriesTool::StaticClassInfo(), "Active", "True", "False"},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Class->Name() + "." + r.Path);
        auto tool = MakeTool(*r.Class);
        TPersistent* holder = nullptr;
        const TPropInfo* p = FindPropInfo(*tool, r.Path, &holder);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(GetPropText(*tool, r.Path), r.Default);
        EXPECT_FALSE(IsStoredProp(*holder, *p));
        SetPropText(*tool, r.Path, r.Changed);
        EXPECT_EQ(GetPropText(*tool, r.Path), r.Changed);
        EXPECT_TRUE(IsStoredProp(*holder, *p));
    }
    // The rotate tool's outline pen draws white in exclusive-or.
    TRotateTool rotate(nullptr);
    EXPECT_FALSE(rotate.Pen().Visible());
    EXPECT_EQ(rotate.Pen().Mode(), pmXor);
    EXPECT_EQ(rotate.Pen().Color(), clWhite);
}
