// The chart control: the axis panel with four titles, a legend and four walls, which it lays out and
// paints around the engine's axes and series, and its answers to the panel's questions (back colour,
// free colours, wall sizes, legend texts). TChart publishes it; the application's views derive from
// TChart. Qt-free.
#pragma once

#include "chart/control/ChartLegend.h"
#include "chart/control/ChartMouse.h"
#include "chart/control/ChartWalls.h"
#include "chart/engine/LumEnginePanel.h"
#include "platform/controls/PopupMenu.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class TChartAxis;
class TChartSeries;

// One axis' scales kept from before the first zoom or pan.
struct TAxisSavedScales {
    bool Automatic = false;
    bool AutomaticMinimum = false;
    bool AutomaticMaximum = false;
    double Minimum = 0;
    double Maximum = 0;
};
// One entry per axis of the chart's axis list, in list order.
using TAllAxisSavedScales = std::vector<TAxisSavedScales>;

using TChartAllowScrollEvent =
    std::function<void(TChartAxis* Sender, double& AMin, double& AMax, bool& AllowScroll)>;
using TChartClickAxis = std::function<void(TCustomChart* Sender, TChartAxis* Axis, TMouseButton Button,
                                           TShiftState Shift, int X, int Y)>;
using TChartClick = std::function<void(TCustomChart* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickSeries = std::function<void(TCustomChart* Sender, TChartSeries* Series, int ValueIndex,
                                             TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickTitle = std::function<void(TCustomChart* Sender, TChartTitle* ATitle, TMouseButton Button,
                                            TShiftState Shift, int X, int Y)>;
// May move one legend item: its text (X, Y) and its symbol (XColor).
using TOnGetLegendPos = std::function<void(TCustomChart* Sender, int Index, int& X, int& Y, int& XColor)>;
using TOnGetLegendRect = std::function<void(TCustomChart* Sender, TRect& Rect)>;
using TOnGetLegendText = std::function<void(TCustomAxisPanel* Sender, TLegendStyle LegendStyle, int Index,
                                            std::string& LegendText)>;

class TCustomChart : public TCustomAxisPanel {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomChart(TComponent* AOwner);
    // Frees titles, walls and legend before the axis panel goes.
    ~TCustomChart() override;

    // From another chart: ColorPaletteIndex (the number only), titles, legend, ScrollMouseButton and
    // walls; then the axis panel's settings.
    void Assign(const TPersistent& Source) override;

    // ---- Parts (setters copy into the owned objects) ----
    TChartTitle& Title() const { return *FTitle; }
    void SetTitle(const TChartTitle& Value) { FTitle->Assign(Value); }
    TChartTitle& SubTitle() const { return *FSubTitle; }
    void SetSubTitle(const TChartTitle& Value) { FSubTitle->Assign(Value); }
    TChartFootTitle& Foot() const { return *FFoot; }
    void SetFoot(const TChartTitle& Value) { FFoot->Assign(Value); }
    TChartFootTitle& SubFoot() const { return *FSubFoot; }
    void SetSubFoot(const TChartTitle& Value) { FSubFoot->Assign(Value); }
    TChartLegend& Legend() const { return *FLegend; }
    void SetLegend(const TChartLegend& Value) { FLegend->Assign(Value); }
    TChartWalls& Walls() const { return *FWalls; }
    TChartBackWall& BackWall() const { return FWalls->Back(); }
    void SetBackWall(const TChartWall& Value) { FWalls->Back().Assign(Value); }
    TChartWall& BottomWall() const { return FWalls->Bottom(); }
    void SetBottomWall(const TChartWall& Value) { FWalls->Bottom().Assign(Value); }
    TChartWall& LeftWall() const { return FWalls->Left(); }
    void SetLeftWall(const TChartWall& Value) { FWalls->Left().Assign(Value); }
    TChartRightWall& RightWall() const { return FWalls->Right(); }
    void SetRightWall(const TChartWall& Value) { FWalls->Right().Assign(Value); }
    // The back wall's pen.
    TChartPen& Frame() const { return FWalls->Back().Pen(); }
    void SetFrame(const TChartPen& Value) { FWalls->Back().Pen().Assign(Value); }

    // ---- Settings ----
    TMouseButton ScrollMouseButton() const { return FScrollMouseButton; }
    void SetScrollMouseButton(TMouseButton Value) { FScrollMouseButton = Value; }
    // The colour palette last applied (0: the engine's default palette); setting stores the number only.
    int ColorPaletteIndex() const { return FColorPaletteIndex; }
    void SetColorPaletteIndex(int Value) { FColorPaletteIndex = Value; }

    // ---- State of the mouse handling ----
    TAllAxisSavedScales SavedScales;
    // True while SavedScales holds nothing to restore.
    bool ScalesRestored = true;
    TChartSeries* ClickedSeries = nullptr;
    TChartAxis* ClickedAxis = nullptr;
    // Set at each press: Shift held and the right button pressed.
    bool PopupRequested = false;
    int AxisHintCount = 0;
    bool MouseOverAxis = false;

    // ---- Events ----
    TChartAllowScrollEvent OnAllowScroll;
    TChartClickAxis OnClickAxis;
    TChartClick OnClickBackground;
    TChartClick OnClickLegend;
    TChartClickSeries OnClickSeries;
    TChartClickTitle OnClickTitle;
    TOnGetLegendPos OnGetLegendPos;
    TOnGetLegendRect OnGetLegendRect;
    TOnGetLegendText OnGetLegendText;
    // After an axis pop-up command (Sender: the chart).
    TNotifyEvent OnAxisMenuClick;
    // After a series pop-up command (Sender: the series) or a legend pop-up command (Sender: the chart).
    TNotifyEvent OnSeriesMenuClick;

    // ---- Mouse handling (ChartMouse.cpp) ----
    // The part under the point; with ClickableOnly a series counts only while a pop-up is requested or
    // a click event could hear it.
    TChartPartHit FindPartAt(TPoint P, bool ClickableOnly);
    void PartAtPoint(TPoint P, TChartPartHit& Part) { Part = FindPartAt(P, false); }
    // Every Active tool in list order hears the event, until one sets CancelMouse.
    void BroadcastToolMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The axes take the values under the zoom rectangle's corners (the scales saved before the first).
    virtual void ApplyZoomRect();
    // The scales from before the first zoom or pan come back; then OnUndoZoom and a repaint.
    void UndoZoom() override;
    bool IsZoomed() const override { return !ScalesRestored; }
    // The pop-up commands, by the item's index in its menu.
    void LegendMenuClick(TMenuItem* Sender);
    void AxisMenuClick(TMenuItem* Sender);
    void SeriesMenuClick(TMenuItem* Sender);
    // The series' points as "X" tab "Y" lines (each value plus its axis' label offset, times its label
    // scale), CR LF ended; EFCreateError when the file cannot be written (an old file stays whole).
    static void SaveSeriesPoints(const TChartSeries& Series, const std::string& FileName);

    // ---- The axis panel's questions ----
    // The panel colour behind a transparent back wall, else the back wall's colour.
    TColor GetBackColor() const override;
    // False when another series than SkipSeries has the colour, or (when asked) it is the panel's or
    // the back wall's colour.
    bool IsColorFree(TColor Color, bool CheckBackColors, const TChartSeries* SkipSeries) const override;
    // In 3-D with walls: the visible wall beside the axis (left, bottom, right; the back wall for any
    // other axis) gives its Size; else 0.
    int WallSizeForAxis(const TChartAxis& Axis) const override;
    // The depth sizes, then in orthogonal 3-D the room for depth and walls off the chart rectangle.
    void FitChartRectTo3D() override;
    // First pass: titles and legend take their space. Second pass: custom-positioned legend and titles,
    // then the 3-D walls and axes that face the viewer.
    void PaintLegendAndTitles(bool BeforeSeries) override;
    // The walls behind the series.
    void PaintWalls() override;
    // A gradient legend symbol in the canvas brush's colour, else the panel's plain box.
    void PaintLegendRectangle(const TRect& Rect) override;
    // The legend's text of a point of a series; empty without a series.
    void LegendItemText(TChartSeries* Series, int Index, std::string& Text) const override;

    // No active series, or some active series that uses axes.
    bool WallsRelevant() const;
    // Whether the plot's right (left) side plane faces the viewer.
    bool RightWallInFront();
    bool LeftWallInFront();

    // The series, then the tools, in list order: the chart's children in a component stream.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const override;

    // The stream property "BackColor" (an identifier or an integer): the back wall's colour.
    void ReadBackColor(const TPropValue& Value);
    // The stream property "ColorPaletteIndex": stored, and a palette above 0 applied.
    void ReadColorPaletteIndex(const TPropValue& Value);

    // ---- Look kept in the settings file (ChartSettings.cpp) ----
    // Each standard axis keeps its current style string as its default (the axis pop-up's "Default").
    void StoreAxesDefaults();
    // Keys "left", "right", "top", "bottom" of section SettingsName + "_axes". EIniFileException
    // "Unable to write to <file>" when the file refuses a key; the keys written before stay.
    void SaveAxesToIni(const std::string& SettingsName);
    // Each standard axis takes its stored string without placement, then becomes Automatic; a damaged
    // string is passed over. No file, section or key leaves the look as it is.
    void LoadAxesFromIni(const std::string& SettingsName);
    // Key "ser_" + the series type description of section SettingsName + "_serie"; one key per type, so
    // the last series of a type saved under a name wins. Nothing without a series.
    void SaveSeriesToIni(const std::string& SettingsName, TChartSeries* Series);
    // Applies that key's string to the series; a missing one changes nothing, a damaged one what stands
    // before the damage, and neither raises.
    void LoadSeriesFromIni(const std::string& SettingsName, TChartSeries* Series);

protected:
    // The legend lets go of a series that is freed.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
    friend class TCustomChartLegend;
    // Hears the chart's series events so that the legend lets go of a series that leaves the chart.
    class TSeriesWatch : public IChartEventListener {
    public:
        explicit TSeriesWatch(TCustomChart& Chart) : FChart(Chart) {}
        void HandleChartEvent(TLumEvent& Event) override;

    private:
        TCustomChart& FChart;
    };

    void DrawTitles(bool CustomPositioned);
    void PaintFrontParts();
    // The chart rectangle's bottom plus the bottom wall's size.
    int WallBottom() const;
    // Whether the triangle of the side plane at X is turned away from the viewer.
    bool SidePlaneCulled(int X);
    void SelectWallPenBrush(TCustomChartWall& Wall);
    void PaintSideWall(TCustomChartWall& Wall, bool IsLeft);
    void PaintBottomWall();
    void PaintBackWall();
    // Paints an axis again in front of the series, with one of its skip marks set meanwhile.
    void PaintAxisInFront(TChartAxis& Axis);
    void PaintGridInFront(TChartAxis& Axis);

    // Mouse handling steps (ChartMouse.cpp).
    bool HandleLegendPress(const TChartPartHit& Hit, TMouseButton Button, TShiftState Shift, int X, int Y);
    bool ClickBackground(TMouseButton Button, TShiftState Shift, int X, int Y);
    bool StartZoomOrPan(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Pans the axes of one direction from pixel P to pixel Q; true when one moved.
    bool PanAxes(bool Horizontal, int P, int Q);
    void SaveScales();
    void ScrollVerticalAxes(bool Down);
    void UpdateAxisHint(int X, int Y);
    // Fills the menu with the captions (one click handler for all) and shows it at the mouse.
    void ShowPopup(std::unique_ptr<TPopupMenu>& Menu, std::initializer_list<const char*> Captions,
                   void (TCustomChart::*Handler)(TMenuItem*), const std::function<void(TPopupMenu&)>& Prepare);
    std::unique_ptr<TPopupMenu> FLegendMenu, FAxisMenu, FSeriesMenu;

    std::unique_ptr<TChartFootTitle> FFoot;
    std::unique_ptr<TChartLegend> FLegend;
    TMouseButton FScrollMouseButton = mbRight;
    std::unique_ptr<TChartFootTitle> FSubFoot;
    std::unique_ptr<TChartTitle> FSubTitle;
    std::unique_ptr<TChartTitle> FTitle;
    std::unique_ptr<TChartWalls> FWalls;
    int FColorPaletteIndex = 0;
    TSeriesWatch FSeriesWatch{*this};
};

// The chart control with its properties published; what the program's views derive from.
class TChart : public TCustomChart {
    VSP_PERSISTENT_CLASS
public:
    explicit TChart(TComponent* AOwner) : TCustomChart(AOwner) {}
};
