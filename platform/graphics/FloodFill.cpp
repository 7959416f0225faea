// Scan-line flood fill over the canvas' pixels: one span at a time, so the work is proportional to the
// area filled. A pattern brush fills with its colour (cells and markers fill small areas only).
#include "platform/graphics/FloodFill.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/SystemColors.h"

#include <utility>
#include <vector>

void ExtFloodFill(TCanvas& canvas, int x, int y, TColor color, TFillStyle style)
{
    TRect box;
    canvas.GetClipBox(box);
    auto inside = [&](int px, int py) { return px >= box.Left && px < box.Right && py >= box.Top && py < box.Bottom; };
    if (!inside(x, y)) return;
    const TColor target = ColorToRGB(color);
    const TColor fill = ColorToRGB(canvas.Brush().Color());
    auto fillable = [&](int px, int py) {
        const TColor c = canvas.GetPixel(px, py);
        return style == fsBorder ? c != target && c != fill : c == target;
    };
    if (!fillable(x, y) || (style == fsSurface && target == fill)) return;
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!inside(sx, sy) || !fillable(sx, sy)) continue;
        int l = sx, r = sx;
        while (l - 1 >= box.Left && fillable(l - 1, sy)) --l;
        while (r + 1 < box.Right && fillable(r + 1, sy)) ++r;
        for (int i = l; i <= r; ++i) canvas.SetPixel(i, sy, fill);
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < box.Top || ny >= box.Bottom) continue;
            bool open = false;
            for (int i = l; i <= r; ++i) {
                const bool f = fillable(i, ny);
                if (f && !open) stack.emplace_back(i, ny);
                open = f;
            }
        }
    }
}
