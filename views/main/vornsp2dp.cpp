// The program's main block: the application, the chart engine's start-up, the main window and the message
// loop. VSP_LAYOUT_FILE names a file that receives the window's layout report (for harnesses driving the
// program with real input); VSP_EXIT_AFTER_FIRST_PAINT set ends the process at once when the window has first painted
// (the start-up benchmark's end point).
#include "chart/control/ChartRegistry.h"
#include "chart/editors/ChartEditors.h"
#include "chart/extras/ChartExtras.h"
#include "chart/series/SeriesLibrary.h"
#include "platform/controls/Application.h"
#include "views/ResMainForm.h"

#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    Application->Initialize(argc, argv);
    Application->SetTitle("VornSP2Dp");
    ChartInitialization();
    SeriesLibraryInitialization();
    ChartEditorsInitialization(); // the pop-ups' "Options" open the editor dialogs
    ChartExtrasInitialization();
    {
        auto form = std::make_unique<TMainForm>(nullptr);
        if (const char* layout = std::getenv("VSP_LAYOUT_FILE"); layout && *layout)
            form->SetLayoutReportFile(layout);
        if (const char* exit = std::getenv("VSP_EXIT_AFTER_FIRST_PAINT"); exit && *exit)
            form->OnFirstPaint = [](TPersistent*) { std::_Exit(0); }; // the measurement ends here
        form->Show();
        form->ShowStartUpSplash();
        Application->Run();
    }
    ChartExtrasFinalization();
    ChartEditorsFinalization();
    SeriesLibraryFinalization();
    ChartFinalization();
    return 0;
}
