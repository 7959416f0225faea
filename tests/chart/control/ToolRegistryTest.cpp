// The standard tools unit's start-up: the tool classes in the gallery's order, each with its gallery text
// and its editor form.
#include "ToolTestSupport.h"

#include "chart/control/ChartRegistry.h"

#include <gtest/gtest.h>

TEST(ToolRegistry, TheStandardToolsInTheGallerysOrderWithTheirTexts)
{
    struct TCase {
        const TClassInfo* Class;
        const char* Text;
        const char* Editor;
    };
    const TCase table[] = {
        {&TCursorTool::StaticClassInfo(), "Cursor", "TCursorToolEditor"},
        {&TAxisArrowTool::StaticClassInfo(), "Axis Arrows", "TAxisArrowToolEditor"},
        {&TDrawLineTool::StaticClassInfo(), "Draw Line", "TDrawLineEdit"},
        {&TNearestTool::StaticClassInfo(), "Nearest Point", "TNearestToolEdit"},
        {&TColorBandTool::StaticClassInfo(), "Color Band", "TColorBandToolEditor"},
        {&TColorLineTool::StaticClassInfo(), "Color Line", "TColorLineToolEditor"},
        {&TChartImageTool::StaticClassInfo(), "Image", "TChartImageToolEditor"},
        {&TMarksTipTool::StaticClassInfo(), "Mark Tips", "TMarksTipToolEdit"},
        {&TAnnotationTool::StaticClassInfo(), "Annotation", "TAnnotationToolEdit"},
        {&TGridBandTool::StaticClassInfo(), "Grid Band", "TGridBandToolEdit"},
        {&TAxisScrollTool::StaticClassInfo(), "Axis Scroll", "TAxisToolEditor"},
        {&TRectangleTool::StaticClassInfo(), "Rectangle", "TAnnotationToolEdit"},
    };
    ASSERT_NE(LumToolTypes(), nullptr);
    int previous = -1;
    for (const TCase& c : table) {
        const int index = LumToolTypes()->IndexOf(c.Class);
        EXPECT_GT(index, previous) << c.Class->Name() << " registered after the one before it";
        previous = index;
        std::unique_ptr<TComponent> made(c.Class->CreateComponent(nullptr));
        auto* tool = dynamic_cast<TLumCustomTool*>(made.get());
        ASSERT_NE(tool, nullptr) << c.Class->Name();
        EXPECT_EQ(tool->DescriptionText(), c.Text);
        EXPECT_EQ(tool->EditorFormName(), c.Editor);
    }
}
