// Axis layout and drawing: the zones of ticks, labels and title and the room they take from the chart
// rectangle; the axis line, ticks, grid, inner and minor ticks, minor grid, title and labels (placed by
// angle, framed, with exponents), drawing with a temporary range, and the hit test.
#include "chart/engine/LumEngineAxis.h"

#include "chart/engine/LumEnginePanel.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr char LineSeparator = 13;

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(LineSeparator, start);
        if (end == std::string::npos) {
            if (start < text.size() || lines.empty()) lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool IsBottomAlign(unsigned align) { return (align & TA_BOTTOM) == TA_BOTTOM; }

// Ticks and grid lines are drawn up to two pixels beyond the axis ends.
bool NearSpan(int Pixel, int Start, int End)
{
    return Pixel > Start - std::int64_t(2) && Pixel < End + std::int64_t(2);
}
} // namespace

// ---- Geometry helpers ----------------------------------------------------------------------------------

int TChartAxis::WallSize() const { return FChart->WallSizeForAxis(*this); }

int TChartAxis::RectSide(const TRect& Rect) const
{
    if (FHorizontal) return FOtherSide ? Rect.Top : Rect.Bottom;
    return FOtherSide ? Rect.Right : Rect.Left;
}

// A drawn position: brought into the int range when a stored size carries it beyond.
int TChartAxis::OutwardBy(int Position, std::int64_t Size) const
{
    if (FHorizontal) return ClampedPixel(FOtherSide ? Position - Size : Position + Size);
    return ClampedPixel(FOtherSide ? Position + Size : Position - Size);
}

// The chart rectangle every later sum starts from: a stored size that takes it out of the int range
// raises "Integer overflow", as the panel's margins do.
void TChartAxis::ShrinkRect(TRect& Rect, int Size) const
{
    if (FHorizontal) {
        if (FOtherSide)
            Rect.Top = CheckedPixel(std::int64_t(Rect.Top) + Size);
        else
            Rect.Bottom = CheckedPixel(std::int64_t(Rect.Bottom) - Size);
    } else {
        if (FOtherSide)
            Rect.Right = CheckedPixel(std::int64_t(Rect.Right) - Size);
        else
            Rect.Left = CheckedPixel(std::int64_t(Rect.Left) + Size);
    }
}

int TChartAxis::ApplyPositionPercent(int Position, const TRect& Rect) const
{
    if (FPositionPercent == 0) return Position;
    const double across = FHorizontal ? Rect.Height() : Rect.Width();
    const int d = FPositionUnits == muPixels ? PixelFromReal(FPositionPercent)
                                             : PixelFromReal(FPositionPercent * across / 100);
    // Toward the plot.
    return OutwardBy(Position, -std::int64_t(d));
}

int TChartAxis::DepthLabelPosition() const
{
    const TRect& r = FChart->ChartRect();
    return FOtherSide ? r.Bottom - DepthPixel : r.Top + DepthPixel;
}

// ---- Zones and layout ----------------------------------------------------------------------------------

int TChartAxis::TickZoneSize() const
{
    std::int64_t size = FAxisPen->Visible() ? FAxisPen->Width() + std::int64_t(1) : 0;
    if (FTicks->Visible()) size += FTickLength;
    if (FMinorTicks->Visible()) size = std::max<std::int64_t>(size, FMinorTickLength);
    return CheckedPixel(size);
}

int TChartAxis::TitleZoneSize(TLumFont& Font, int Angle, int FixedSize, const std::string& Text) const
{
    if (FixedSize != 0) return FixedSize;
    TCanvas3D& canvas = FChart->ChartCanvas();
    canvas.SelectFont(Font);
    const bool along = FHorizontal ? (Angle == 0 || Angle == 180) : (Angle == 90 || Angle == 270);
    if (along) return canvas.CharHeight();
    if (Text.empty()) return MaxLabelsWidth();
    int lines = 0;
    return FChart->MeasureMultiLineText(Text, lines);
}

int TChartAxis::LabelZoneSize() const
{
    const int size = TitleZoneSize(LabelsFont(), FLabelsAngle, FLabelsSize, {});
    return FLabelsAlternate ? CheckedPixel(2 * std::int64_t(size)) : size;
}

void TChartAxis::CalcLayout(TRect& Rect, bool Shrink)
{
    IsDateTime = ShowsDateTime();
    if (!Shrink) {
        AxisPosition = ApplyPositionPercent(RectSide(Rect), Rect);
        LabelsPosition = OutwardBy(AxisPosition, TickZoneSize());
        TitlePosition = OutwardBy(LabelsPosition, LabelZoneSize());
        return;
    }
    if (FIsDepthAxis) {
        TitlePosition = FOtherSide ? Rect.Right : Rect.Left;
    } else if (FTitle->Visible() && !FTitle->Caption().empty() && !TitleFlat) {
        ShrinkRect(Rect, TitleZoneSize(FTitle->Font(), FTitle->Angle(), FTitleSize, FTitle->Caption()));
        TitlePosition = RectSide(Rect);
    }
    if (Labels()) {
        ShrinkRect(Rect, LabelZoneSize());
        LabelsPosition = RectSide(Rect);
    }
    const int ticks = CheckedPixel(std::int64_t(WallSize()) + TickZoneSize());
    if (ticks > 0) ShrinkRect(Rect, ticks);
    TitlePosition = ApplyPositionPercent(TitlePosition, Rect);
    LabelsPosition = ApplyPositionPercent(LabelsPosition, Rect);
}

// ---- Drawing -------------------------------------------------------------------------------------------

void TChartAxis::PaintAxis(bool RecomputePosition)
{
    IsDateTime = ShowsDateTime();
    const TRect& chartRect = FChart->ChartRect();
    if (RecomputePosition) AxisPosition = ApplyPositionPercent(RectSide(chartRect), chartRect);
    TCanvas3D& canvas = FChart->ChartCanvas();
    // Title, labels and items are written on the chart's own background (a label frame brings its own);
    // the mode a brush selected before (a series', the last axis' box) must not give them opaque boxes.
    const int callerBackMode = canvas.ReadBackMode();
    canvas.WriteBackMode(TRANSPARENT);
    if (FTitle->Visible() && !FTitle->Caption().empty()) {
        if (FIsDepthAxis)
            DrawTitle(TitlePosition, DepthLabelPosition());
        else if (FHorizontal)
            DrawTitle(CenterPixel, TitlePosition);
        else
            DrawTitle(TitlePosition, CenterPixel);
    }
    DrawLabels();
    canvas.WriteBackMode(TRANSPARENT);
    canvas.Brush().SetStyle(bsClear);
    if (FAxisPen->Visible()) {
        if (FAxisPen->LineMode() == lmLine) {
            canvas.SelectPen(*FAxisPen);
        } else {
            canvas.Pen().SetStyle(psClear);
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(FAxisPen->Color());
        }
        DrawAxisLine();
        canvas.Brush().SetStyle(bsClear);
    }
    DrawTicks(*FTicks, 1, FTickLength);
    PaintGridLines(static_cast<int>(TickPositions.size()));
    DrawTicks(*FTicksInner, -1, -std::int64_t(FTickInnerLength));
    DrawMinorMarks(*FMinorTicks, FMinorTickLength, false);
    DrawMinorMarks(*FMinorGrid, 0, true);
    canvas.WriteBackMode(callerBackMode);
}

void TChartAxis::DrawAxisLine()
{
    TCanvas3D& canvas = FChart->ChartCanvas();
    const TRect& r = FChart->ChartRect();
    const int w = WallSize();
    const int z = DepthPixel;
    if (FIsDepthAxis) {
        const int y = FOtherSide ? r.Bottom + FChart->WallSizeForAxis(FChart->BottomAxis()) - DepthPixel
                                 : r.Top - DepthPixel;
        canvas.DrawDepthLine(AxisPosition, y, StartPixel, EndPixel);
        return;
    }
    int x0, x1, y0, y1;
    if (FHorizontal) {
        y0 = y1 = FOtherSide ? AxisPosition : AxisPosition + w;
        x0 = FOtherSide ? StartPixel : StartPixel - FChart->WallSizeForAxis(FChart->LeftAxis());
        x1 = FOtherSide ? EndPixel : EndPixel + FChart->WallSizeForAxis(FChart->RightAxis());
    } else {
        x0 = x1 = FOtherSide ? AxisPosition + w : AxisPosition - w;
        y0 = StartPixel;
        y1 = EndPixel + FChart->WallSizeForAxis(FChart->BottomAxis());
    }
    if (FAxisPen->LineMode() == lmLine) {
        if (FHorizontal)
            canvas.DrawHorizLineAtZ(x0, x1, y0, z);
        else
            canvas.DrawVertLineAtZ(x0, y0, y1, z);
        return;
    }
    const int pw = FAxisPen->Width();
    const TRect box = FHorizontal ? TRect{x0, y0 - pw, x1, y0 + pw} : TRect{x0 - pw, y0, x0 + pw, y1};
    if (FAxisPen->LineMode() == lmCylinder)
        canvas.DrawCylinderShape(!FHorizontal, box.Left, box.Top, box.Right, box.Bottom, z - pw, z + pw, true);
    else
        canvas.DrawBoxShape(box.Left, box.Right, box.Top, box.Bottom, z - pw, z + pw, true);
}

void TChartAxis::DrawTicks(const TChartPen& Pen, int Offset, std::int64_t Length)
{
    if (!Pen.Visible() || Length == 0) return;
    TCanvas3D& canvas = FChart->ChartCanvas();
    canvas.SelectPen(Pen);
    const int outward = OutwardBy(0, 1); // +1 or -1 across the axis, away from the plot
    const std::int64_t off = Offset + std::int64_t((FHorizontal && FOtherSide) || FIsDepthAxis ? 0 : WallSize());
    for (int pos : TickPositions) {
        if (!NearSpan(pos, StartPixel, EndPixel)) continue;
        if (FIsDepthAxis) {
            const int side = FOtherSide ? 1 : -1;
            canvas.DrawHorizLineAtZ(ClampedPixel(AxisPosition + std::int64_t(side) * Offset),
                                    ClampedPixel(AxisPosition + side * (Offset + Length)), DepthLabelPosition(), pos);
        } else if (FHorizontal) {
            const std::int64_t y0 = AxisPosition + outward * off;
            canvas.DrawVertLineAtZ(pos, ClampedPixel(y0), ClampedPixel(y0 + outward * Length), DepthPixel);
        } else {
            const std::int64_t x0 = AxisPosition + outward * off;
            canvas.DrawHorizLineAtZ(ClampedPixel(x0), ClampedPixel(x0 + outward * Length), pos, DepthPixel);
        }
    }
}

void TChartAxis::PaintGridLines(int TickCount)
{
    if (OnDrawGrids) OnDrawGrids(this);
    if (!FGrid->Visible()) return;
    TCanvas3D& canvas = FChart->ChartCanvas();
    canvas.WriteBackMode(TRANSPARENT);
    canvas.Brush().SetStyle(bsClear);
    canvas.SelectPenColor(*FGrid, FGrid->Color() == clDefault ? static_cast<TColor>(0x808080) : FGrid->Color());
    const int count = std::min<int>(TickCount, static_cast<int>(TickPositions.size()));
    std::vector<int> lines;
    if (FGrid->Centered()) {
        for (int i = 1; i < count; ++i)
            lines.push_back(PixelFromReal((TickPositions[i - 1] + TickPositions[i]) / 2.0));
    } else {
        lines.assign(TickPositions.begin(), TickPositions.begin() + count);
    }
    for (int p : lines)
        if (NearSpan(p, StartPixel, EndPixel)) DrawGridLine(p);
}

void TChartAxis::DrawGridLine(int Pixel)
{
    TCanvas3D& canvas = FChart->ChartCanvas();
    const TRect& r = FChart->ChartRect();
    if (FIsDepthAxis) {
        canvas.DrawVertLineAtZ(r.Left, r.Top, r.Bottom, Pixel);
        canvas.DrawHorizLineAtZ(r.Left, r.Right, r.Bottom, Pixel);
        return;
    }
    auto across = [&](int z) {
        if (FHorizontal)
            canvas.DrawVertLineAtZ(Pixel, r.Top, r.Bottom, z);
        else
            canvas.DrawHorizLineAtZ(r.Left, r.Right, Pixel, z);
    };
    if (!FChart->View3D()) {
        if (FHorizontal)
            canvas.DrawVertLine(Pixel, r.Top + 1, r.Bottom);
        else
            canvas.DrawHorizLine(r.Left + 1, r.Right, Pixel);
        return;
    }
    if (!FChart->AxisBehind()) {
        across(0);
        return;
    }
    const int depth = FChart->Width3D();
    if (!SkipWallGrid) across(depth);
    if (!SkipSideGrid) {
        const int c = PixelFromReal(depth * FGrid->ZPosition() / 100);
        if (c != depth) {
            if (FHorizontal)
                canvas.DrawDepthLine(Pixel, AxisPosition, c, depth);
            else
                canvas.DrawDepthLine(AxisPosition, Pixel, c, depth);
        }
    }
}

void TChartAxis::DrawMinorTick(int Pixel, int Length)
{
    TCanvas3D& canvas = FChart->ChartCanvas();
    const int outward = OutwardBy(0, 1);
    const std::int64_t off = 1 + std::int64_t((FHorizontal && FOtherSide) ? 0 : WallSize());
    const std::int64_t start = AxisPosition + outward * off;
    const int from = ClampedPixel(start), to = ClampedPixel(start + std::int64_t(outward) * Length);
    if (FHorizontal)
        canvas.DrawVertLineAtZ(Pixel, from, to, DepthPixel);
    else
        canvas.DrawHorizLineAtZ(from, to, Pixel, DepthPixel);
}

void TChartAxis::DrawMinorMarks(const TChartPen& Pen, int Length, bool AsGrid)
{
    if (TickPositions.empty() || !Pen.Visible() || FIsDepthAxis) return;
    FChart->ChartCanvas().SelectPen(Pen);
    // At most one mark per pixel of an interval: a stored count of millions draws no more than fit.
    const auto countIn = [this](double span) {
        return static_cast<int>(std::min<double>(FMinorTickCount, std::max(0.0, std::floor(std::fabs(span)) - 1)));
    };
    std::vector<int> marks;
    const auto& t = TickPositions;
    const int n = static_cast<int>(t.size());
    const auto addMark = [&marks](double pixel) { marks.push_back(PixelFromReal(pixel)); };
    if (!FLogarithmic) {
        for (int i = 1; i < n; ++i) {
            const double interval = static_cast<double>(t[i]) - t[i - 1];
            const int k = countIn(interval);
            const double fraction = 1.0 / (k + 1.0);
            for (int j = 1; j <= k; ++j) addMark(t[i] - RoundHalfEven(j * interval * fraction));
        }
        if (n > 1) {
            const double interval = static_cast<double>(t[1]) - t[0];
            const int k = countIn(interval);
            const double fraction = 1.0 / (k + 1.0);
            for (int j = 1; j <= k; ++j) {
                addMark(t[0] - RoundHalfEven(j * interval * fraction));
                addMark(t[n - 1] + RoundHalfEven(j * interval * fraction));
            }
        }
    } else {
        auto nextDecade = [this](double v) {
            return SignedLogMode ? SymLogStep(SignedLogScale, 1, v) : v * FLogarithmicBase;
        };
        auto previousDecade = [this](double v) {
            return SignedLogMode ? SymLogStep(SignedLogScale, -1, v) : v / FLogarithmicBase;
        };
        std::vector<double> starts;
        for (int pos : t) starts.push_back(PixelToValue(pos));
        const auto [lo, hi] = std::minmax_element(starts.begin(), starts.end());
        const double below = previousDecade(*lo);
        const double above = nextDecade(*hi);
        starts.push_back(below);
        starts.push_back(above);
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        for (double v : starts) {
            const double next = nextDecade(v);
            const int k = countIn(static_cast<double>(CalcPosValue(next)) - CalcPosValue(v));
            const double fraction = 1.0 / (k + 1.0);
            for (int j = 1; j <= k; ++j) {
                const double m = v + j * (next - v) * fraction;
                if (m >= CurrentMinimum && m <= CurrentMaximum) marks.push_back(CalcPosValue(m));
            }
        }
    }
    for (int p : marks) {
        if (!(p > StartPixel && p < EndPixel)) continue;
        if (AsGrid)
            DrawGridLine(p);
        else
            DrawMinorTick(p, Length);
    }
}

// ---- Title and labels ----------------------------------------------------------------------------------

void TChartAxis::DrawTitle(int X, int Y)
{
    TCanvas3D& canvas = FChart->ChartCanvas();
    canvas.SelectFont(FTitle->Font());
    canvas.WriteBackMode(TRANSPARENT);
    if (FIsDepthAxis) {
        canvas.WriteTextAlign(LabelsSideFactor());
        canvas.WriteTextAtZ(X, Y, FChart->Width3D() / 2, FTitle->Caption());
        return;
    }
    if (TitleFlat) {
        canvas.WriteTextAlign(TA_LEFT | TA_TOP);
        if (FHorizontal)
            canvas.WriteTextOrHtml(X, FChart->Height() - LabelWidth(11), FTitle->Caption(), FTitle->TextFormat() == ttfHtml);
        else
            canvas.WriteTextOrHtml(X / 2, Y, FTitle->Caption(), FTitle->TextFormat() == ttfHtml);
        return;
    }
    const bool exponent = FLabelsExponent;
    FLabelsExponent = false;
    try {
        DrawAxisLabel(X, Y, nullptr, FTitle->Caption(), FTitle->Angle());
    } catch (...) {
        FLabelsExponent = exponent;
        throw;
    }
    FLabelsExponent = exponent;
}

void TChartAxis::DrawLabelAt(int Pixel, const std::string& Text, TLumCustomShape* Shape)
{
    if (FTickOnLabelsOnly) AddTick(Pixel);
    TCanvas3D& canvas = FChart->ChartCanvas();
    canvas.SelectFont(Shape ? Shape->Font() : LabelsFont());
    if (FIsDepthAxis) {
        canvas.WriteTextAlign(LabelsSideFactor());
        const TView3DOptions& view = FChart->View3DOptions();
        int z = Pixel;
        if (view.Rotation() == 360 || view.Orthogonal()) z += canvas.CharHeight() / 2;
        const int x = FOtherSide ? LabelsPosition : LabelsPosition - canvas.MeasureTextWidth("W") / 2 - 2;
        canvas.WriteTextAtZ(x, DepthLabelPosition(), z, Text);
        return;
    }
    int position = LabelsPosition;
    if (FLabelsAlternate) {
        if (FLabelsDrawnAlternate) position = OutwardBy(position, FHorizontal ? canvas.CharHeight() : MaxLabelsWidth());
        FLabelsDrawnAlternate = !FLabelsDrawnAlternate;
    }
    if (FHorizontal)
        DrawAxisLabel(Pixel, position, Shape, Text, FLabelsAngle);
    else
        DrawAxisLabel(position, Pixel, Shape, Text, FLabelsAngle);
}

void TChartAxis::DrawAxisLabel(int X, int Y, TLumCustomShape* Shape, const std::string& Text, int Angle)
{
    TCanvas3D& canvas = FChart->ChartCanvas();
    const int charHeight = canvas.CharHeight();
    const int h = charHeight / 2;
    const int angle = ((Angle % 360) + 360) % 360;
    int lines = LineCount(Text);
    unsigned align = TA_LEFT;

    // Alignment and anchor by angle.
    if (FHorizontal) {
        switch (angle) {
        case 0:
            align = TA_CENTER | (FOtherSide ? TA_BOTTOM : TA_TOP);
            break;
        case 45: {
            align = TA_LEFT;
            if (FOtherSide) {
                Y -= canvas.MeasureTextWidth("Wj");
            } else {
                const int c = PixelFromReal(canvas.MeasureTextWidth(Text) * std::sin(M_PI / 4));
                X -= c;
                Y += c;
            }
            break;
        }
        case 90:
            align = FOtherSide ? TA_LEFT : TA_RIGHT;
            X -= h;
            break;
        case 180:
            align = TA_CENTER | (FOtherSide ? TA_TOP : TA_BOTTOM);
            break;
        case 270:
            align = FOtherSide ? TA_RIGHT : TA_LEFT;
            X += h;
            break;
        default:
            break;
        }
    } else {
        switch (angle) {
        case 0:
            if (FLabelsAlign == alOpposite) {
                align = FOtherSide ? TA_RIGHT : TA_LEFT;
                X = FOtherSide ? X + LabelZoneSize() : X - LabelZoneSize();
            } else {
                align = FOtherSide ? TA_LEFT : TA_RIGHT;
            }
            Y -= h;
            break;
        case 90:
            align = TA_CENTER | (FOtherSide ? TA_TOP : TA_BOTTOM);
            break;
        case 180:
            align = FOtherSide ? TA_RIGHT : TA_LEFT;
            Y += h;
            break;
        case 270:
            align = TA_CENTER | (FOtherSide ? TA_BOTTOM : TA_TOP);
            break;
        default:
            break;
        }
    }

    // The block of lines sits on the anchor.
    const int d = (angle == 180 || angle == 270) ? -charHeight : charHeight;
    auto shiftBlock = [&](int n) {
        if (FHorizontal) {
            if (angle == 0) Y -= FOtherSide ? n * d : d;
            else if (angle == 180) Y -= FOtherSide ? d : n * d;
            else if (angle == 90 || angle == 270) X -= PixelFromReal(d * (n + 1) / 2.0);
        } else {
            if (angle == 0 || angle == 180) Y -= PixelFromReal(d * (n + 1) / 2.0);
            else if (angle == 90) X -= FOtherSide ? d : n * d;
            else if (angle == 270) X -= FOtherSide ? n * d : d;
        }
    };
    shiftBlock(lines);

    // Frame.
    TLumCustomShape& frame = Shape ? *Shape : static_cast<TLumCustomShape&>(FItems->Format());
    if (!frame.Transparent()) {
        int widest = 0;
        for (const std::string& line : SplitLines(Text)) widest = std::max(widest, canvas.MeasureTextWidth(line));
        TRect box{X, Y + d, X + widest, Y + d + charHeight * lines};
        const int height = box.Height();
        if (IsBottomAlign(align)) {
            box.Top -= height;
            box.Bottom -= height;
        }
        if ((align & TA_CENTER) == TA_CENTER) {
            box.Left -= widest / 2;
            box.Right -= widest / 2;
        } else if ((align & TA_RIGHT) == TA_RIGHT) {
            box.Left -= widest;
            box.Right -= widest;
        }
        const int margin = canvas.MeasureTextWidth("W") / 2;
        box.Left -= margin;
        box.Right += margin;
        if (DepthPixel != 0) box = canvas.ProjectRect(box, DepthPixel);
        frame.DrawShapeRect(box, FLabelsAngle, DepthPixel);
    }

    canvas.WriteBackMode(TRANSPARENT); // the frame's brush may have made it opaque
    canvas.WriteTextAlign(align);
    std::string text = Text;
    int z = DepthPixel;
    bool draw = true;
    if (OnDrawLabel) {
        OnDrawLabel(this, X, Y, z, text, draw);
        if (!draw) {
            canvas.WriteTextAlign(0);
            return;
        }
        lines = LineCount(text);
    }
    for (const std::string& piece : SplitLines(text)) {
        const std::string line = ParseNumberInRange(piece, true, 0, 0) == 0 ? std::string("0") : piece;
        if (angle == 0) {
            Y += d;
            if (FLabelsExponent)
                WriteExponentLine(X, Y, line, align);
            else
                canvas.WriteTextAtZ(X, Y, z, line);
        } else {
            if (angle == 90 || angle == 270)
                X += d;
            else if (angle == 180)
                Y += d;
            canvas.WriteRotatedTextAtZ(X, Y, z, line, angle);
        }
    }
    canvas.WriteTextAlign(0);
}

void TChartAxis::WriteExponentLine(int X, int Y, const std::string& Line, unsigned Align)
{
    TCanvas3D& canvas = FChart->ChartCanvas();
    const std::size_t e = Line.find_first_of("Ee");
    if (e == std::string::npos) {
        canvas.WriteTextAtZ(X, Y, DepthPixel, Line);
        return;
    }
    const std::string mantissa = Line.substr(0, e);
    const std::string exponent = Line.substr(e + 1);
    const int raise = canvas.CharHeight() / 2 - 2;
    const int mantissaWidth = canvas.MeasureTextWidth(mantissa);
    TFont& font = canvas.Font();
    const int size = font.Size();
    auto smallFont = [&] { font.SetSize(size - size / 4); };
    const unsigned vertical = Align & TA_BOTTOM;
    if ((Align & TA_CENTER) == TA_CENTER || (Align & TA_RIGHT) == 0) {
        int x = X;
        if ((Align & TA_CENTER) == TA_CENTER) {
            smallFont();
            const int exponentWidth = canvas.MeasureTextWidth(exponent);
            font.SetSize(size);
            x -= (mantissaWidth + exponentWidth) / 2;
        }
        canvas.WriteTextAlign(TA_LEFT | vertical);
        canvas.WriteTextAtZ(x, Y, DepthPixel, mantissa);
        smallFont();
        canvas.WriteTextAtZ(x + mantissaWidth, Y - raise, DepthPixel, exponent);
    } else {
        smallFont();
        const int exponentWidth = canvas.MeasureTextWidth(exponent);
        canvas.WriteTextAtZ(X, Y - raise, DepthPixel, exponent);
        font.SetSize(size);
        canvas.WriteTextAtZ(X - exponentWidth, Y + (FOtherSide ? 2 : 0), DepthPixel, mantissa);
    }
    font.SetSize(size);
    canvas.WriteTextAlign(Align);
}

// ---- Drawing with a temporary range --------------------------------------------------------------------

void TChartAxis::DrawWithRange(int ALabelsPosition, int ATitlePosition, int AEndPixel, int AStartPixel,
                               bool WithGrid, int AAxisPosition, double AMinimum, double AMaximum, double AIncrement)
{
    const double oldMinimum = FMinimum;
    const double oldMaximum = FMaximum;
    const double oldIncrement = FIncrement;
    const bool oldAutomatic = FAutomatic;
    auto restore = [&] {
        FMinimum = oldMinimum;
        FMaximum = oldMaximum;
        FIncrement = oldIncrement;
        FAutomatic = oldAutomatic;
        CurrentMinimum = FMinimum;
        CurrentMaximum = FMaximum;
        RecalcScales();
    };
    FAutomatic = false;
    FMinimum = AMinimum;
    FMaximum = AMaximum;
    FIncrement = AIncrement;
    CurrentMinimum = AMinimum;
    CurrentMaximum = AMaximum;
    RecalcScales();
    try {
        DrawAxisAt(ALabelsPosition, ATitlePosition, AEndPixel, AStartPixel, WithGrid, AAxisPosition);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TChartAxis::DrawAxisAt(int ALabelsPosition, int ATitlePosition, int AEndPixel, int AStartPixel, bool WithGrid,
                            int AAxisPosition)
{
    LabelsPosition = ALabelsPosition;
    TitlePosition = ATitlePosition;
    AxisPosition = AAxisPosition;
    StartPixel = AStartPixel;
    EndPixel = AEndPixel;
    SetPixelRange();
    // The grid is shown or hidden for this one drawing, without telling anybody.
    const bool gridVisible = FGrid->Visible();
    const TNotifyEvent handler = FGrid->OnChange;
    FGrid->OnChange = nullptr;
    FGrid->SetVisible(WithGrid);
    auto restore = [&] {
        FGrid->SetVisible(gridVisible);
        FGrid->OnChange = handler;
    };
    try {
        PaintAxis(false);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// ---- Hit test ------------------------------------------------------------------------------------------

TRect TChartAxis::GetAxisRect() const
{
    const int inner = OutwardBy(AxisPosition, -3);
    const int a = std::min(inner, LabelsPosition);
    const int b = std::max(inner, LabelsPosition);
    if (FHorizontal) return TRect{StartPixel, a, EndPixel, b};
    return TRect{a, StartPixel, b, EndPixel};
}

bool TChartAxis::HitTest(int X, int Y) const
{
    if (!FChart->IsAxisShown(*this)) return false;
    TRect r = GetAxisRect();
    if (FChart->View3D()) r = FChart->ChartCanvas().ProjectRect(r, FOtherSide ? FChart->Width3D() : 0);
    r = SortRectCorners(r);
    r.Left -= 1;
    r.Top -= 1;
    r.Right += 1;
    r.Bottom += 1;
    return RectContainsXY(r, X, Y);
}
