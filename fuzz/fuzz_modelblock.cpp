// Fuzz target over the polygon-model block reader. Any input must end in one of the three outcomes
// without a fault; a loaded model must write a block that loads again with the same structure.
#include "core/PolyModelBlock.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool SameStructure(const TPolygonModel& a, const TPolygonModel& b)
{
    if (a.Nodes.Length() != b.Nodes.Length() || a.Bodies.Length() != b.Bodies.Length()
        || a.Relief.Length() != b.Relief.Length() || a.HasRelief != b.HasRelief)
        return false;
    for (int i = 0; i < a.Nodes.Length(); ++i)
        if (a.Nodes[i].FixedFlag != b.Nodes[i].FixedFlag || a.Nodes[i].NodeClass != b.Nodes[i].NodeClass
            || a.Nodes[i].FrameCode != b.Nodes[i].FrameCode)
            return false;
    for (int k = 0; k < a.Bodies.Length(); ++k) {
        if (a.Bodies[k].Length() != b.Bodies[k].Length()) return false;
        for (int s = 0; s < a.Bodies[k].Length(); ++s) {
            const Polygon &p = a.Bodies[k][s], &q = b.Bodies[k][s];
            if (p.ring != q.ring) return false;
            for (int slot : {0, 4, 8})
                if (!(p.properties[slot] == q.properties[slot])) return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TPolygonModel model;
    if (ReadModelBlock(text, model) != TModelBlockResult::Loaded) return 0;
    TPolygonModel again;
    if (ReadModelBlock(ModelBlockText(model), again) != TModelBlockResult::Loaded) std::abort();
    if (!SameStructure(model, again)) std::abort();
    return 0;
}
