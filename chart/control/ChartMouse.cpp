// The chart control's mouse handling: the hit test of its parts, tools first, clicks on series, legend,
// axes and titles, zooming with a rubber band, panning, the wheel, the axis hint and the three
// Shift+right-click pop-up menus with their commands.
#include "chart/control/ChartControl.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "chart/control/LumToolsDraw.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineAxisScale.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/controls/Application.h"
#include "platform/controls/Prompter.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/Streams.h"

#include <cmath>

TChartEditorHooks& ChartEditorHooks()
{
    static TChartEditorHooks hooks;
    return hooks;
}

std::string AxisTitleOrName(const TChartAxis& Axis)
{
    const std::string& caption = Axis.Title().Caption();
    if (!caption.empty()) return caption;
    const TCustomAxisPanel* chart = Axis.ParentChart();
    if (chart && &Axis == &chart->DepthAxis()) return "Depth Right";
    if (chart && &Axis == &chart->DepthTopAxis()) return "Depth Top";
    if (Axis.Horizontal()) return Axis.OtherSide() ? "Top Axis" : "Bottom Axis";
    return Axis.OtherSide() ? "Right Axis" : "Left Axis";
}

namespace {

bool InRect(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

// The value an axis shows for a series value: (value + label offset) × label scale, its sign kept.
double LabelValue(const TChartAxis* Axis, double Value)
{
    if (!Axis) return Value;
    return (Value + Axis->LabelValueOffset) * Axis->LabelValueScale;
}

} // namespace

// ---- Hit test --------------------------------------------------------------------------------------------

TChartPartHit TCustomChart::FindPartAt(TPoint P, bool ClickableOnly)
{
    TChartPartHit hit;
    const int x = P.x, y = P.y;
    TChartLegend& legend = Legend();
    if (legend.Visible() && legend.CustomPosition()) {
        const int item = legend.ItemAtPoint(x, y);
        if (item != -1) {
            hit.Part = cpLegend;
            hit.ItemIndex = item;
            return hit;
        }
    }
    for (int i = CountSeries() - 1; i >= 0; --i) {
        TChartSeries* s = SeriesAt(i);
        if (!s->Active()) continue;
        if (ClickableOnly && !PopupRequested && !s->OnClick && !s->OnDblClick && !OnClickSeries) continue;
        const int point = s->PointAtPixel(x, y);
        if (point != -1) {
            hit = {cpSeries, point, s, nullptr};
            return hit;
        }
        if (s->Marks().Visible()) {
            const int mark = s->Marks().MarkAtPoint(x, y);
            if (mark != -1) {
                hit = {cpSeriesMarks, mark, s, nullptr};
                return hit;
            }
        }
    }
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* axis = Axes().AxisAt(i);
        if (axis->Visible() && axis->HitTest(x, y)) {
            hit.Part = cpAxis;
            hit.Axis = axis;
            return hit;
        }
    }
    if (legend.Visible() && !legend.CustomPosition()) {
        const int item = legend.ItemAtPoint(x, y);
        if (item != -1) {
            hit.Part = cpLegend;
            hit.ItemIndex = item;
            return hit;
        }
    }
    const std::pair<TChartTitle*, TChartPartKind> titles[] = {
        {&Title(), cpTitle}, {&SubTitle(), cpSubTitle}, {&Foot(), cpFoot}, {&SubFoot(), cpSubFoot}};
    for (const auto& [title, kind] : titles)
        if (title->HitTest(x, y)) {
            hit.Part = kind;
            return hit;
        }
    if (InRect(ChartRect(), x, y) && ActiveSeriesCount() > 0) hit.Part = cpChartRect;
    return hit;
}

// ---- Tools ---------------------------------------------------------------------------------------------

void TCustomChart::BroadcastToolMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // A tool may leave the list (or free another) while it handles the event: walk a copy, skipping tools
    // that left meanwhile.
    std::vector<TLumCustomTool*> tools;
    for (int i = 0; i < Tools().Count(); ++i) tools.push_back(Tools().GetTool(i));
    for (TLumCustomTool* tool : tools) {
        if (Tools().IndexOf(tool) < 0 || !tool->Active()) continue;
        tool->HandleChartMouse(Kind, Button, Shift, X, Y);
        if (CancelMouse()) break;
    }
}

// ---- Press -----------------------------------------------------------------------------------------------

bool TCustomChart::ClickBackground(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!OnClickBackground) return false;
    SetCancelMouse(true);
    OnClickBackground(this, Button, Shift, X, Y);
    return CancelMouse();
}

bool TCustomChart::StartZoomOrPan(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!WallsRelevant()) return false;
    bool started = false;
    TLumZoom& zoom = Zoom();
    if (zoom.Allow() && Button == zoom.MouseButton() && zoom.KeyShift() <= Shift) {
        const TRect& r = ChartRect();
        int x = X, y = Y;
        if (zoom.Direction() == tzdVertical) x = r.Left;
        if (zoom.Direction() == tzdHorizontal) y = r.Top;
        zoom.StartAt(x, y);
        if (zoom.Direction() == tzdVertical) zoom.X1 = r.Right;
        if (zoom.Direction() == tzdHorizontal) zoom.Y1 = r.Bottom;
        DrawZoomRectangle();
        started = true;
    } else if (AllowPanning() != pmNone && Button == ScrollMouseButton() && !Shift.Contains(ssShift) &&
               !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl)) {
        Panning().StartAt(X, Y);
        started = true;
    }
    if (started) SetCursor(SavedCursor());
    return started;
}

bool TCustomChart::HandleLegendPress(const TChartPartHit& Hit, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Shift.Contains(ssShift) && Shift.Contains(ssLeft))
        for (TChartSeries* s : std::vector<TChartSeries*>(SeriesList().Items()))
            if (s->ShowInLegend()) s->SetActive(!s->Active());
    if (PopupRequested) {
        ShowPopup(FLegendMenu, {"Options", "Visible", "X auto", "Y auto"}, &TCustomChart::LegendMenuClick,
                  [this](TPopupMenu& menu) {
                      menu.Items().Items(0)->SetEnabled(bool(ChartEditorHooks().ShowLegendEditor));
                      for (int mode = 0; mode < 3; ++mode)
                          menu.Items().Items(mode + 1)->SetChecked(LegendCheckMode() == mode);
                  });
        SetCancelMouse(true);
        return true;
    }
    bool handled = false;
    if (Button == mbLeft) handled = Legend().Clicked(X, Y, Hit.ItemIndex);
    if (Button == mbRight && Hit.ItemIndex != -1 && ChartEditorHooks().ShowGraphicEditor) {
        // A values legend lists the points of its series; a series legend lists series.
        TChartSeries* s = Legend().ComputeEffectiveStyle() == lsValues ? Legend().LegendSeries()
                                                                       : SeriesForLegendItem(Hit.ItemIndex, false);
        if (s && !s->EditLocked()) ChartEditorHooks().ShowGraphicEditor(*s);
    }
    if (OnClickLegend) {
        SetCancelMouse(true);
        OnClickLegend(this, Button, Shift, X, Y);
        handled = CancelMouse();
    }
    return handled;
}

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomAxisPanel::MouseDown(Button, Shift, X, Y);
    if (CancelMouse() || Zoom().Active || Panning().Active) return;
    SetCancelMouse(false);
    BroadcastToolMouse(TChartMouseKind::Press, Button, Shift, X, Y);
    PopupRequested = Shift.Contains(ssShift) && Shift.Contains(ssRight);
    if (!CancelMouse()) {
        const TChartPartHit hit = FindPartAt({X, Y}, true);
        bool handled = false;
        // The background hears a press at most once, also when a plot-area click starts nothing.
        bool backgroundHeard = false;
        const auto background = [&] {
            backgroundHeard = true;
            return ClickBackground(Button, Shift, X, Y);
        };
        switch (hit.Part) {
        case cpLegend: handled = HandleLegendPress(hit, Button, Shift, X, Y); break;
        case cpAxis:
            if (PopupRequested) {
                ClickedAxis = hit.Axis;
                ShowPopup(FAxisMenu, {"Options", "Default", "Fix"}, &TCustomChart::AxisMenuClick, [](TPopupMenu& menu) {
                    menu.Items().Items(0)->SetEnabled(bool(ChartEditorHooks().ShowAxisDialog));
                });
            }
            if (OnClickAxis) {
                SetCancelMouse(true);
                OnClickAxis(this, hit.Axis, Button, Shift, X, Y);
                handled = CancelMouse();
            }
            if (!handled) handled = StartZoomOrPan(Button, Shift, X, Y);
            break;
        case cpSeries: {
            TChartSeries* s = hit.Series;
            SetCancelMouse(false);
            const TSeriesClick& click = Shift.Contains(ssDouble) ? s->OnDblClick : s->OnClick;
            if (click) click(s, hit.ItemIndex, Button, Shift, X, Y);
            handled = CancelMouse();
            if (PopupRequested) {
                ClickedSeries = s;
                if (!s->EditLocked()) {
                    ShowPopup(FSeriesMenu, {"Options", "Default", "Save"}, &TCustomChart::SeriesMenuClick,
                              [](TPopupMenu& menu) {
                                  menu.Items().Items(0)->SetEnabled(bool(ChartEditorHooks().ShowGraphicEditor));
                              });
                    SetCancelMouse(true);
                }
            }
            if (OnClickSeries) {
                SetCancelMouse(true);
                OnClickSeries(this, s, hit.ItemIndex, Button, Shift, X, Y);
                handled = CancelMouse();
            }
            if (!handled) handled = StartZoomOrPan(Button, Shift, X, Y);
            break;
        }
        case cpTitle:
        case cpFoot:
        case cpSubTitle:
        case cpSubFoot:
            if (OnClickTitle) {
                TChartTitle* title = hit.Part == cpTitle      ? &Title()
                                     : hit.Part == cpSubTitle ? static_cast<TChartTitle*>(&SubTitle())
                                     : hit.Part == cpFoot     ? static_cast<TChartTitle*>(&Foot())
                                                              : static_cast<TChartTitle*>(&SubFoot());
                SetCancelMouse(true);
                OnClickTitle(this, title, Button, Shift, X, Y);
                handled = CancelMouse();
            }
            if (!handled) handled = StartZoomOrPan(Button, Shift, X, Y);
            break;
        case cpChartRect:
            handled = background();
            if (!handled) handled = StartZoomOrPan(Button, Shift, X, Y);
            break;
        case cpNone:
        case cpSeriesMarks: break;
        }
        if (!handled && !backgroundHeard) background();
    }
    SetCancelMouse(false);
}

// ---- Move ------------------------------------------------------------------------------------------------

void TCustomChart::UpdateAxisHint(int X, int Y)
{
    TRepaintPause pause(this);
    if (MouseOverAxis && AxisHintCount < 10) {
        if (Hint() != AxisSettingsHint) {
            ++AxisHintCount;
            SetShowHint(true);
            SetHint(AxisSettingsHint);
            if (!View3D()) Application->ActivateHint(ClientToScreen({X, Y}));
        }
    } else if (Hint().find("Shift") != std::string::npos) {
        SetHint("");
    }
}

bool TCustomChart::PanAxes(bool Horizontal, int P, int Q)
{
    if (P == Q) return false;
    const TPanningMode own = Horizontal ? pmHorizontal : pmVertical;
    if (AllowPanning() != pmBoth && AllowPanning() != own) return false;
    bool moved = false;
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* axis = Axes().AxisAt(i);
        if (axis->IsDepthAxis() || axis->Horizontal() != Horizontal) continue;
        const double vp = axis->PixelToValue(P), vq = axis->PixelToValue(Q);
        double lo = 0, hi = 0;
        if (!axis->Logarithmic()) {
            const double d = vp - vq;
            lo = axis->Minimum() + d;
            hi = axis->Maximum() + d;
        } else if (axis->SignedLogMode) {
            const double c = axis->SignedLogScale;
            const double d = SymLogTransform(c, vp) - SymLogTransform(c, vq);
            lo = SymLogInverse(c, SymLogTransform(c, axis->Minimum()) + d);
            hi = SymLogInverse(c, SymLogTransform(c, axis->Maximum()) + d);
        } else {
            if (!(vp > 0) || !(vq > 0) || !(axis->Minimum() > 0) || !(axis->Maximum() > 0)) continue;
            const double d = std::log(vp) - std::log(vq);
            lo = std::exp(std::log(axis->Minimum()) + d);
            hi = std::exp(std::log(axis->Maximum()) + d);
        }
        bool allow = true;
        if (OnAllowScroll) OnAllowScroll(axis, lo, hi, allow);
        if (allow) {
            axis->SetFixedRange(lo, hi);
            moved = true;
        }
    }
    return moved;
}

void TCustomChart::MouseMove(TShiftState Shift, int X, int Y)
{
    SetCancelMouse(false);
    if (!ComponentState().Contains(csDesigning)) BroadcastToolMouse(TChartMouseKind::Move, mbLeft, Shift, X, Y);
    MouseOverAxis = false;
    for (int i = 0; i < Axes().Count() && !MouseOverAxis; ++i) MouseOverAxis = Axes().AxisAt(i)->HitTest(X, Y);
    UpdateAxisHint(X, Y);
    if (!CancelMouse()) {
        TLumZoom& zoom = Zoom();
        TZoomPanning& pan = Panning();
        if (zoom.Active) {
            int x = X, y = Y;
            if (zoom.Direction() == tzdVertical) x = ChartRect().Right;
            if (zoom.Direction() == tzdHorizontal) y = ChartRect().Bottom;
            if (x != zoom.X1 || y != zoom.Y1) {
                DrawZoomRectangle();
                zoom.X1 = x;
                zoom.Y1 = y;
                DrawZoomRectangle();
            }
        } else if (pan.Active) {
            if (!InRect(ChartRect(), X, Y)) {
                pan.Active = false;
            } else if (X != pan.X1 || Y != pan.Y1) {
                if (ScalesRestored) SaveScales();
                const bool movedX = PanAxes(true, pan.X1, X);
                const bool movedY = PanAxes(false, pan.Y1, Y);
                pan.X1 = X;
                pan.Y1 = Y;
                if (movedX || movedY) {
                    if (OnScroll) OnScroll(this);
                    Invalidate();
                }
            }
        } else if (!TrackSeriesHover(X, Y)) {
            SetCursor(SavedCursor());
        }
    }
    TCustomAxisPanel::MouseMove(Shift, X, Y);
    if (MouseOverAxis) SetCursor(crHandPoint);
}

// ---- Release ---------------------------------------------------------------------------------------------

void TCustomChart::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    SetCancelMouse(false);
    TCustomAxisPanel::MouseUp(Button, Shift, X, Y);
    TLumZoom& zoom = Zoom();
    if (zoom.Active && Button == zoom.MouseButton()) {
        zoom.Active = false;
        DrawZoomRectangle();
        ChartCanvas().Pen().SetMode(pmCopy);
        if (zoom.Direction() != tzdVertical) zoom.X1 = X;
        if (zoom.Direction() != tzdHorizontal) zoom.Y1 = Y;
        const bool wide = zoom.Direction() == tzdVertical || std::abs(zoom.X1 - zoom.X0) > zoom.MinimumPixels();
        const bool tall = zoom.Direction() == tzdHorizontal || std::abs(zoom.Y1 - zoom.Y0) > zoom.MinimumPixels();
        if (wide && tall) {
            const bool forward = zoom.Direction() == tzdVertical ? zoom.Y1 > zoom.Y0 : zoom.X1 > zoom.X0;
            if (zoom.UpLeftZooms() || forward)
                ApplyZoomRect();
            else
                UndoZoom();
            Invalidate();
        }
    }
    Panning().Active = false;
    BroadcastToolMouse(TChartMouseKind::Release, Button, Shift, X, Y);
}

// ---- Zoom and its undo -----------------------------------------------------------------------------------

void TCustomChart::SaveScales()
{
    SavedScales.assign(static_cast<std::size_t>(Axes().Count()), TAxisSavedScales{});
    for (int i = 0; i < Axes().Count(); ++i) {
        const TChartAxis* axis = Axes().AxisAt(i);
        if (axis->IsDepthAxis()) continue;
        SavedScales[static_cast<std::size_t>(i)] = {axis->Automatic(), axis->AutomaticMinimum(),
                                                    axis->AutomaticMaximum(), axis->Minimum(), axis->Maximum()};
    }
    ScalesRestored = false;
}

void TCustomChart::ApplyZoomRect()
{
    TLumZoom& zoom = Zoom();
    zoom.SortCorners();
    struct TTarget {
        TChartAxis* Axis;
        double Min, Max;
    };
    const auto horizontal = [&](TChartAxis& a) -> TTarget { return {&a, a.PixelToValue(zoom.X0), a.PixelToValue(zoom.X1)}; };
    const auto vertical = [&](TChartAxis& a) -> TTarget { return {&a, a.PixelToValue(zoom.Y1), a.PixelToValue(zoom.Y0)}; };
    const TTarget targets[] = {vertical(LeftAxis()), vertical(RightAxis()), horizontal(TopAxis()), horizontal(BottomAxis())};
    if (ScalesRestored) SaveScales();
    if (zoom.Animated()) {
        for (int step = 1; step < zoom.AnimatedSteps(); ++step) {
            for (const TTarget& t : targets) {
                const double lo = t.Axis->Minimum(), hi = t.Axis->Maximum();
                t.Axis->SetFixedRange(lo + (t.Min - lo) / 3, hi - (hi - t.Max) / 3);
            }
            Invalidate();
            Repaint();
        }
    }
    for (const TTarget& t : targets) t.Axis->SetFixedRange(t.Min, t.Max);
    SetZoomed(true);
    if (OnZoom) OnZoom(this);
}

void TCustomChart::UndoZoom()
{
    if (!ScalesRestored) {
        for (int i = 0; i < Axes().Count() && i < static_cast<int>(SavedScales.size()); ++i) {
            TChartAxis* axis = Axes().AxisAt(i);
            if (axis->IsDepthAxis()) continue;
            const TAxisSavedScales& s = SavedScales[static_cast<std::size_t>(i)];
            axis->SetAutomatic(s.Automatic);
            axis->SetAutomaticMinimum(s.AutomaticMinimum);
            axis->SetAutomaticMaximum(s.AutomaticMaximum);
            axis->StoreMinimum(s.Minimum);
            axis->StoreMaximum(s.Maximum);
        }
        SavedScales.clear();
        ScalesRestored = true;
    }
    ZoomUndone();
}

// ---- Wheel -----------------------------------------------------------------------------------------------

void TCustomChart::ScrollVerticalAxes(bool Down)
{
    const double sign = Down ? 1.0 : -1.0;
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* axis = Axes().AxisAt(i);
        if (axis->Horizontal()) continue;
        if (!axis->Logarithmic()) {
            axis->ScrollBy(false, sign * 0.03 * (axis->Maximum() - axis->Minimum()));
            continue;
        }
        // Both ends move by 3 % of the span of their logarithms (of their transforms in the signed mode),
        // as panning moves them, so that the minimum never reaches 0.
        double lo = 0, hi = 0;
        if (ShiftedAxisRange(*axis, sign * 0.03, lo, hi)) axis->SetFixedRange(lo, hi);
    }
}

bool TCustomChart::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const bool result = TCustomAxisPanel::DoMouseWheelDown(Shift, MousePos);
    ScrollVerticalAxes(true);
    return result;
}

bool TCustomChart::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool result = TCustomAxisPanel::DoMouseWheelUp(Shift, MousePos);
    ScrollVerticalAxes(false);
    return result;
}

// ---- Pop-up menus ----------------------------------------------------------------------------------------

void TCustomChart::ShowPopup(std::unique_ptr<TPopupMenu>& Menu, std::initializer_list<const char*> Captions,
                             void (TCustomChart::*Handler)(TMenuItem*), const std::function<void(TPopupMenu&)>& Prepare)
{
    if (!Menu) {
        Menu = std::make_unique<TPopupMenu>(nullptr);
        Menu->SetAutoHotkeys(maManual);
        for (const char* caption : Captions) {
            auto* item = new TMenuItem(this);
            item->SetCaption(caption);
            item->OnClick = [this, Handler, item](TPersistent*) { (this->*Handler)(item); };
            Menu->Items().Add(item);
        }
    }
    if (Prepare) Prepare(*Menu);
    const TPoint at = LastMousePos();
    Menu->Popup(at.x, at.y);
}

void TCustomChart::LegendMenuClick(TMenuItem* Sender)
{
    SetCancelMouse(true);
    const int index = Sender->MenuIndex();
    if (index == 0) {
        if (ChartEditorHooks().ShowLegendEditor) ChartEditorHooks().ShowLegendEditor(*this, Legend());
    } else if (index >= 1 && index <= 3) {
        SetLegendCheckMode(index - 1);
        Invalidate();
        Repaint();
    }
    Panning().Active = false;
    SetCancelMouse(true);
    if (OnSeriesMenuClick) OnSeriesMenuClick(this);
}

void TCustomChart::AxisMenuClick(TMenuItem* Sender)
{
    SetCancelMouse(true);
    if (ClickedAxis) {
        switch (Sender->MenuIndex()) {
        case 0:
            if (ChartEditorHooks().ShowAxisDialog) ChartEditorHooks().ShowAxisDialog(*this, *ClickedAxis);
            break;
        case 1:
            if (!ClickedAxis->DefaultStyle.empty()) ReadAxisStyle(*ClickedAxis, ClickedAxis->DefaultStyle, true);
            break;
        case 2: ClickedAxis->SetAutomatic(false); break;
        default: break;
        }
    }
    Panning().Active = false;
    SetCancelMouse(true);
    if (OnAxisMenuClick) OnAxisMenuClick(this);
}

void TCustomChart::SeriesMenuClick(TMenuItem* Sender)
{
    SetCancelMouse(true);
    if (ClickedSeries) {
        switch (Sender->MenuIndex()) {
        case 0:
            if (ChartEditorHooks().ShowGraphicEditor) ChartEditorHooks().ShowGraphicEditor(*ClickedSeries);
            break;
        case 1: ClickedSeries->RestoreDefaultStyle(); break;
        case 2: {
            TFileDialogData dialog;
            dialog.Filter = "Text files|*.txt";
            if (ExecuteSaveDialog(this, dialog)) SaveSeriesPoints(*ClickedSeries, ChangeFileExt(dialog.FileName, ".txt"));
            break;
        }
        default: break;
        }
    }
    Panning().Active = false;
    SetCancelMouse(true);
    if (OnSeriesMenuClick) OnSeriesMenuClick(ClickedSeries);
}

void TCustomChart::SaveSeriesPoints(const TChartSeries& Series, const std::string& FileName)
{
    std::string text = "X\tY\r\n";
    const TChartAxis* h = Series.GetHorizAxis();
    const TChartAxis* v = Series.GetVertAxis();
    for (int i = 0; i < Series.PointCount(); ++i) {
        text += FormatReal23(LabelValue(h, Series.XValueAt(i)));
        text += '\t';
        text += FormatReal23(LabelValue(v, Series.YValueAt(i)));
        text += "\r\n";
    }
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    stream.SaveToFile(FileName);
}
