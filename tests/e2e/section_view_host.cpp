// A small window hosting one data view fed with a grid read from a fixture file, for the end-to-end run
// of the contoured section (the program itself loads no nodes into its view). A status line shows the
// view's cursor read-out; VSP_LAYOUT_FILE names the file that receives the window's layout report.
// Usage: section_view_host <grid file>. The file: "nx nz", then nx column positions, nz depths, and nx
// rows of nz values, blank-separated.
#include "chart/control/ChartRegistry.h"
#include "chart/editors/ChartEditors.h"
#include "chart/extras/ChartExtras.h"
#include "chart/series/SeriesLibrary.h"
#include "platform/controls/Application.h"
#include "platform/controls/MainForm.h"
#include "platform/rtl/TextFile.h"
#include "ui/kitStatusBar.h"
#include "views/PseudoSection2d.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>

namespace {

class TSectionHost : public TMainFormBase {
public:
    explicit TSectionHost(TComponent* owner) : TMainFormBase(owner)
    {
        SetCaption("Section view host");
        StatusBar1 = new TkitStatusBar(this);
        StatusBar1->SetName("StatusBar1");
        StatusBar1->SetParent(this);
        StatusBar1->Panels().Add()->SetWidth(400);
        SetAlign(StatusBar1, alBottom);
        PseudoSection2d1 = new TPseudoSection2d(this);
        PseudoSection2d1->SetName("PseudoSection2d1");
        PseudoSection2d1->SetParent(this);
        SetAlign(PseudoSection2d1, alClient);
        PseudoSection2d1->OnCursorText = [this](TPersistent*) {
            StatusBar1->Panels().Items(0)->SetText(PseudoSection2d1->CursorText);
            WriteLayoutReport();
        };
        SetClientSize(790, 360);
    }
    TkitStatusBar* StatusBar1;
    TPseudoSection2d* PseudoSection2d1;

protected:
    void AddToLayoutReport(std::ostream& out) const override
    {
        out << "status 0 " << StatusBar1->Panels().Items(0)->Text() << "\n";
    }
};

bool ReadGrid(const std::string& path, arofdoubleM& x, arofdoubleM& depths, ararofdoubleM& values)
{
    TTextReader in(path);
    std::int32_t nx = 0, nz = 0;
    if (!in.ReadInteger(nx) || !in.ReadInteger(nz) || nx < 2 || nz < 2 || nx > 1000 || nz > 1000) return false;
    x.SetLength(nx);
    depths.SetLength(nz);
    values.SetLength(nx);
    for (double& v : x)
        if (!in.ReadReal(v)) return false;
    for (double& v : depths)
        if (!in.ReadReal(v)) return false;
    for (arofdoubleM& row : values) {
        row.SetLength(nz);
        for (double& v : row)
            if (!in.ReadReal(v)) return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Application->Initialize(argc, argv);
    Application->SetTitle("Section view host");
    ChartInitialization();
    SeriesLibraryInitialization();
    ChartEditorsInitialization();
    ChartExtrasInitialization();
    int result = 0;
    {
        arofdoubleM x, depths;
        ararofdoubleM values;
        if (argc < 2 || !ReadGrid(argv[1], x, depths, values)) {
            std::fprintf(stderr, "section_view_host: give a readable grid file\n");
            result = 1;
        } else {
            auto form = std::make_unique<TSectionHost>(nullptr);
            if (const char* layout = std::getenv("VSP_LAYOUT_FILE"); layout && *layout)
                form->SetLayoutReportFile(layout);
            form->Show();
            form->PseudoSection2d1->FLevelCount = 10;
            form->PseudoSection2d1->SetSectionGrid(x, depths, values, arofdoubleM{}, 0);
            Application->Run();
        }
    }
    ChartExtrasFinalization();
    ChartEditorsFinalization();
    SeriesLibraryFinalization();
    ChartFinalization();
    return result;
}
