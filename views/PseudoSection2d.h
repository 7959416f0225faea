// The data view: a chart that shows the survey's curves with their legend beside the plot, the station
// and electrode marks, and a contoured section (bands and isolines in a picture stretched by an image
// tool, a colour bar, a cursor read-out, a pop-up menu) that its two feeders fill. Qt-free.
#pragma once

#include "chart/control/Chart.h"
#include "core/SectionMesh.h"
#include "platform/rtl/DynArray.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TChartImageTool;
class TLegendScrollBar;
class TLineSeries;
class TLumCanvas;
class TLumFont;
class TMetafile;
class TPointSeries;

// The pop-up menu's commands in their order.
enum TSectionMenuCommand { smLogScale, smGridPoints, smColorBar, smSetup, smPrintPreview, smSavePicture,
                           smSaveXYZ, smDefault };

// The section's data (nodes, triangles, levels, range, picture geometry) are the TSectionData base.
class TPseudoSection2d : public TChart, public TSectionData {
    VSP_PERSISTENT_CLASS
public:
    // The series, the image tool, the legend and its scroll bar, the pop-up menu and the picture; the two
    // marks series' styles read from the settings file ("roz2i_ps_grid", "roz2i_ps_st").
    explicit TPseudoSection2d(TComponent* AOwner);
    ~TPseudoSection2d() override;

    // ---- Picture ----
    TMetafile& Picture() const { return *FPicture; }

    // ---- Cursor ----
    double FCursorX = 0, FCursorY = 0;
    std::string CursorText;
    TNotifyEvent OnCursorText;
    std::uint8_t FMouseZone = 0;

    // ---- Colour bar ----
    TLumFont& BarFont() const { return *FBarFont; }
    std::string ColorBarTitle;

    // ---- Objects ----
    TChartImageTool* ImageTool = nullptr;
    TPointSeries* FrameSeries = nullptr;
    TPointSeries* GridSeries = nullptr;
    TPointSeries* StationSeries = nullptr;
    TPointSeries* MarkerSeries = nullptr;
    TLegendScrollBar* LegendScrollBar = nullptr;
    TPopupMenu& ViewMenu() const { return *FViewMenu; }
    TPseudoSection2d* MenuChart = nullptr;
    std::string DefaultSettings;
    TNotifyEvent OnViewCommand;

    // ---- The main window's curves ----
    // The observed (Series1) and calculated (Series2) curves: made by CreateDataGraphs.
    TLineSeries* Series1 = nullptr;
    TLineSeries* Series2 = nullptr;
    // The main window's look of its data view: the two curves (Series1 with 2 x 2 circles, Series2 red
    // and dotted without pointers, both ascending in x), the right axis without grid, the title emptied.
    void CreateDataGraphs();

    // ---- Operations ----
    // Repaints, then puts the legend 5 pixels right of the plot rectangle, level with its top (further left
    // when it would not stand whole in the view). Every
    // drawing (screen, printed page, pictures) keeps a legend in pixels at its place relative to the
    // top-right corner of that drawing's plot rectangle.
    void PlaceLegend();
    // Once the plot rectangle of the drawing being made is laid out: the legend moves with it.
    void FireBeforeDrawSeries() override;
    void RefreshImage() { UpdateImage(); }
    // The section anew from its grid or its nodes (with a new mesh when asked), then the grid points
    // (all anew with a mesh, else their labels). A grid cut to its node limit says "Very large nodes
    // number!"; past the triangulation's limits ESectionCapacity leaves the section as it was.
    void RebuildSection(bool withMesh);
    // Levels and colours for the contoured range; nothing on the empty section.
    void UpdateLevels();
    // The picture of the section over its nodes' extent; nothing with fewer than two nodes or while the
    // image tool is off, an empty picture when the working coordinates span no width or height.
    void UpdateImage();

    // Feeders (test hooks; no command reaches them): scattered nodes with their border flags (none: all
    // 0), or a grid of values per column and level under a relief (none: flat). Bad input raises
    // Exception saying why and leaves the section as it was; then the section is built, its levels set
    // and its picture drawn.
    void SetSectionNodes(const arofdoubleM& x, const arofdoubleM& y, const arofdoubleM& values,
                         const arofintM& border);
    void SetSectionGrid(const arofdoubleM& columnX, const arofdoubleM& depths, const ararofdoubleM& values,
                        const arofdoubleM& relief, double depthStretch);
    // The empty section: no nodes and no grid input, so that no rebuild brings an old grid back.
    void ClearSection();
    // The 18 blank-separated numbers of a view settings string; fewer change nothing, and an integer
    // item outside the 32-bit range raises ERangeError before anything changes.
    void ApplyViewSettings(const std::string& text);
    void SetViewDefaults();

    // The view's own mouse, after-draw and axis range handlers, installed at construction and again by
    // the main window's pseudo-section mode; RemoveHandlers takes them away for its plain graph mode.
    void InstallHandlers();
    void RemoveHandlers();

    // Handlers the view installs on itself; they act only on a built section.
    void AfterDrawColorBar();
    // The bands from the top (highest) down in equal steps, ticks and level labels (those that would
    // overlap the previous one skipped), the title above and the frame.
    void DrawColorBar(int Left, int Top, TLumCanvas& Canvas, const std::string& Caption, int Height, int Width);
    void ShowCursorValues(TShiftState Shift, int X, int Y);
    // Over the picture 0, left of the plot 1, right of it 2, above 3, below 4; elsewhere the zone stays.
    void UpdateMouseZone(int X, int Y);
    // The pop-up menu with its check marks, unless the mouse was last over the picture.
    void ShowViewMenu();
    // One of the eight commands, then OnViewCommand.
    void MenuCommand(TMenuItem* Sender);
    // Header "X -Y  Z", then per node X, -Y and Z as 23-character numbers; a failed write says "Cannot
    // write file " and the name, and leaves an old file whole.
    void SaveXYZFile(const std::string& path) const;

    // The menu's items in order.
    TMenuItem* MenuItem(TSectionMenuCommand command) const { return FMenuItems[command]; }

private:
    void CreateSeries();
    void SetUpChart();
    void CreateViewMenu();
    // Node coordinates through the axes' scales, the bounds and the picture scales.
    void TransformNodes();
    // Working coordinates of the section's nodes from their source coordinates in the axes' scales.
    void MapNodes(TSectionData& section) const;
    // The section built from `work` takes the view's place; then the grid points.
    void CommitSection(TSectionData&& work, bool withMesh, bool cut);
    void RenderSectionImage();
    bool SectionEmpty() const { return NodeEnd < 3; }

    // The plot rectangle the legend's position was last taken in (PlaceLegend, then each drawing);
    // empty until the legend is first placed.
    TRect FLegendPlot;

    std::unique_ptr<TLumFont> FBarFont;
    std::unique_ptr<TMetafile> FPicture;
    std::unique_ptr<TPopupMenu> FViewMenu;
    std::array<TMenuItem*, 8> FMenuItems{};
};
