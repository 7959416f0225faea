// The framed planes around the plot (back, bottom, left and right wall, flat or boxes of a thickness) and
// the framed text boxes above and below it (titles and foot titles), with the positioned box that titles
// and the legend share. The chart owns them and draws the walls itself (ChartControl.h). Qt-free.
#pragma once

#include "chart/base/RadErareShapes.h"
#include "platform/controls/Edit.h"
#include "platform/rtl/StringList.h"

#include <memory>
#include <string>

class TCustomChart;

// ---- Walls -----------------------------------------------------------------------------------------------

class TCustomChartWall : public TLumCustomShape {
    VSP_PERSISTENT_CLASS
public:
    // Dark sides, colour clDefault (also as the stored default).
    explicit TCustomChartWall(TCustomLumPanel* Chart);

    // From another wall: AutoHide, Dark3D and Size; then the box's settings.
    void Assign(const TPersistent& Source) override;

    // Never drawn in front of the series (the bottom wall then reaches under its place).
    bool AutoHide() const { return FAutoHide; }
    void SetAutoHide(bool Value);
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value);
    // Thickness in pixels: below 1 a flat plane, else a box.
    int Size() const { return FSize; }
    void SetSize(int Value);

    // A colour given at construction, also kept as the default that the Color stored test compares with.
    void InitColor(TColor Value);
    TColor DefaultColor() const { return FDefaultColor; }
    bool ColorStored() const { return Color() != FDefaultColor; }
    // Box sides are drawn darker: Dark3D, a brush that fills, and no brush picture.
    bool DarkSides() const;

private:
    bool FAutoHide = false;
    bool FDark3D = true;
    int FSize = 0;
    TColor FDefaultColor = clDefault;
};

class TChartWall : public TCustomChartWall {
    VSP_PERSISTENT_CLASS
public:
    using TCustomChartWall::TCustomChartWall;
};

// Silver and transparent: in 2-D only its frame outlines the plot until it is made opaque.
class TChartBackWall : public TChartWall {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartBackWall(TCustomLumPanel* Chart);
};

// Silver and hidden until made visible.
class TChartRightWall : public TChartWall {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartRightWall(TCustomLumPanel* Chart);
};

// The chart's four walls, created with their colours.
class TChartWalls : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartWalls(TCustomChart* Chart);
    ~TChartWalls() override;
    TChartWalls(const TChartWalls&) = delete;
    TChartWalls& operator=(const TChartWalls&) = delete;

    // From other walls: each wall into its counterpart. Other sources are refused.
    void Assign(const TPersistent& Source) override;

    TChartBackWall& Back() const { return *FBack; }
    TChartWall& Bottom() const { return *FBottom; }
    TChartWall& Left() const { return *FLeft; }
    TChartRightWall& Right() const { return *FRight; }
    TCustomChart* Chart() const { return FChart; }

    // The chart's View3DWalls, with its repaint.
    void SetView3D(bool Value);
    // Size of all four walls.
    void SetSize(int Value);

private:
    TCustomChart* FChart;
    std::unique_ptr<TChartBackWall> FBack;
    std::unique_ptr<TChartWall> FBottom;
    std::unique_ptr<TChartWall> FLeft;
    std::unique_ptr<TChartRightWall> FRight;
};

// ---- Positioned boxes ------------------------------------------------------------------------------------

// A box that lays itself out against the chart rectangle, or stays where Left and Top put it.
class TLumCustomShapePosition : public TLumCustomShape {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumCustomShapePosition(TCustomLumPanel* Chart) : TLumCustomShape(Chart) {}

    // From another positioned box: CustomPosition and, when set, Left and Top; then the box's settings.
    void Assign(const TPersistent& Source) override;

    bool CustomPosition() const { return FCustomPosition; }
    void SetCustomPosition(bool Value);
    bool CustomPositionStored() const { return FCustomPosition != FDefaultCustomPosition; }
    // The left and top edges of the box; setting one switches CustomPosition on (without a repaint) and
    // moves that edge alone (the drawing recomputes the opposite one).
    int Left() const { return ShapeRect().Left; }
    void SetLeft(int Value);
    int Top() const { return ShapeRect().Top; }
    void SetTop(int Value);

protected:
    void SetDefaultCustomPosition(bool Value) { FDefaultCustomPosition = Value; }

private:
    // Stores through the panel's change routine (repaint on a change), or plainly without a panel.
    void StoreEdge(int TRect::*Edge, int Value);

    bool FCustomPosition = false;
    bool FDefaultCustomPosition = false;
};

// ---- Titles ----------------------------------------------------------------------------------------------

class TChartTitle : public TLumCustomShapePosition {
    VSP_PERSISTENT_CLASS
public:
    // A top title: centred, adjusting its frame, transparent, in blue.
    explicit TChartTitle(TCustomLumPanel* Chart);
    ~TChartTitle() override;

    // From another title: AdjustFrame, Alignment and the lines; then the positioned box's settings.
    void Assign(const TPersistent& Source) override;

    bool AdjustFrame() const { return FAdjustFrame; }
    void SetAdjustFrame(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // The lines; a change repaints the chart.
    TStringList& Text() const { return *FText; }
    void SetText(const TStringList& Value) { FText->Assign(Value); }
    // The one given line (none: no line).
    void SetTextLine(const std::string* Line);
    void ClearText() { SetTextLine(nullptr); }
    // True for titles laid out from the chart's top, false for foot titles.
    bool OnTop() const { return FOnTop; }

    TRect GetTitleRect() const { return ShapeRect(); }
    // Visible and the point lies in the box, edges included.
    bool HitTest(int X, int Y) const;
    // Lays the title out against the chart rectangle (or at its custom place), draws box and lines, and
    // takes its band from the chart rectangle unless custom-positioned. Nothing when hidden or empty.
    void DrawTitle();

protected:
    void SetOnTop(bool Value) { FOnTop = Value; }
    // Font colour and style, also as the font's stored defaults.
    void InitFont(TColor Color, TFontStyles Style);

private:
    // The frame's width: a visible pen of its own colour, or the bevel.
    int FrameWidth() const;

    bool FAdjustFrame = true;
    TAlignment FAlignment = taCenter;
    std::unique_ptr<TStringList> FText;
    bool FOnTop = true;
};

// Laid out from the chart's bottom, in red italics.
class TChartFootTitle : public TChartTitle {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartFootTitle(TCustomLumPanel* Chart);
};

// The published properties shared by the title classes (for descendants' class descriptions).
std::vector<TPropInfo> PublishedTitleProperties();
