// Mini-markup cells under the mouse: the hit test at a point of a cell, the press on a link, an anchor
// or an embedded control (buttons go down, check boxes toggle their value in the tag, edits and combos
// open over the control), the link cursor with the anchor enter and exit events, and the end of a
// control's editing.
#include "grid/ExtGrid.h"

#include "platform/controls/Screen.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/StrUtils.h"

bool TExtStringGrid::MarkupHitTest(int ACol, int ARow, int X, int Y, THTMLResult& Res)
{
    Res = THTMLResult{};
    const std::string text = RawCellText(ACol, ARow);
    if (ClassifyCellText(text, EnableHTML) != 1) return false;
    TCanvas& c = Canvas();
    ResolveCellLook(RealToDisplayCol(ACol), ARow, c.Brush(), c.Font());
    TRect r = CellSpanRect(RealToDisplayCol(ACol), ARow);
    r.Left += XMargin + 1 + (IsCheckBoxCell(ACol, ARow) ? ControlLook.CheckSize() : 0);
    r.Top += YMargin + 1;
    THTMLPaintParams p = MarkupParams(FURLColor);
    p.XPos = X;
    p.YPos = Y;
    p.HitTestOnly = true;
    p.WordWrap = !EnhTextSize;
    return PaintHTMLText(c, text, r, p, Res);
}

std::string TExtStringGrid::AnchorAt(int ACol, int ARow, int X, int Y, TPoint&)
{
    THTMLResult res;
    MarkupHitTest(ACol, ARow, X, Y, res);
    return res.AnchorVal == "ctrl" ? std::string() : res.AnchorVal;
}

bool TExtStringGrid::PressLinkOrControl(int C, int R, int X, int Y)
{
    const int rc = DisplayToRealCol(C);
    const std::string text = RawCellText(rc, R);
    const bool markup = ClassifyCellText(text, EnableHTML) == 1;
    if (!FURLShow && !markup) return false;
    std::string link;
    THTMLResult hit;
    if (markup) {
        MarkupHitTest(rc, R, X, Y, hit);
        link = hit.AnchorVal;
    } else if (IsLinkText(text)) link = text;
    if (link.empty()) return false;
    bool autoHandle = true;
    if (link == "ctrl" && markup) {
        if (FControlEditing) ControlEditDone();
        FControlCell = {rc, R};
        FControlID = hit.ControlID;
        FControlType = hit.ControlType;
        if (hit.ControlType == "BUTTON") {
            FControlButtonDown = true;
            RefreshCell(C, R);
        } else if (hit.ControlType == "CHECK") {
            std::string t = text;
            SetHTMLControlValue(t, hit.ControlID, UpperCase(hit.ControlValue) == "TRUE" ? "FALSE" : "TRUE");
            SetCellValue(rc, R, t);
        }
        if (OnControlClick) OnControlClick(this, R, C, hit.ControlID, hit.ControlType, hit.ControlValue);
        if (hit.ControlType == "EDIT" || hit.ControlType == "COMBO") {
            FControlEditing = true;
            OpenMarkupControl(hit, rc, R);
        }
        return true;
    }
    if (OnAnchorClick) OnAnchorClick(this, R, C, link, autoHandle);
    if (autoHandle) OpenLink(link);
    return true;
}

void TExtStringGrid::ControlEditDone(const std::string& Value)
{
    if (FControlType.empty()) return;
    const TPoint cell = FControlCell;
    const std::string id = FControlID, type = FControlType;
    std::string t = RawCellText(cell.x, cell.y);
    SetHTMLControlValue(t, id, Value);
    SetCellValue(cell.x, cell.y, t);
    FControlEditing = false;
    FControlType.clear();
    if (OnControlEditDone) OnControlEditDone(this, cell.y, RealToDisplayCol(cell.x), id, type, Value);
}

void TExtStringGrid::ControlEditDone() { ControlEditDone(MarkupControlText()); }

void TExtStringGrid::ReleaseMarkupButton()
{
    if (!FControlButtonDown) return;
    FControlButtonDown = false;
    RefreshCell(RealToDisplayCol(FControlCell.x), FControlCell.y);
}

bool TExtStringGrid::MoveOverLinks(int C, int R, int X, int Y)
{
    if (C < 0 || R < 0) return false;
    const int rc = DisplayToRealCol(C);
    const std::string text = RawCellText(rc, R);
    if (FURLShow && IsLinkText(text) && ClassifyCellText(text, EnableHTML) != 1) {
        SetCursor(crHandPoint);
        return true;
    }
    if (ClassifyCellText(text, EnableHTML) != 1) {
        if (!FLastAnchor.empty()) {
            if (OnAnchorExit) OnAnchorExit(this, R, C, "");
            FLastAnchor.clear();
        }
        return false;
    }
    THTMLResult res;
    MarkupHitTest(rc, R, X, Y, res);
    const std::string anchor = res.AnchorVal == "ctrl" ? std::string() : res.AnchorVal;
    if (!anchor.empty()) {
        SetCursor(crHandPoint);
        if (anchor != FLastAnchor) {
            if (OnAnchorEnter) OnAnchorEnter(this, R, C, anchor);
            FLastAnchor = anchor;
        }
        return true;
    }
    if (!FLastAnchor.empty()) {
        if (OnAnchorExit) OnAnchorExit(this, R, C, "");
        FLastAnchor.clear();
    }
    return false;
}
