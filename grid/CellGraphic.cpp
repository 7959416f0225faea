// A cell graphic frees the objects it owns: those it created, and always an image-index list.
#include "grid/CellGraphic.h"

#include "grid/ExtObj.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Icon.h"
#include "platform/rtl/StringList.h"

const void* TCellSlot::Identity() const
{
    return std::visit(
        [](auto v) -> const void* {
            if constexpr (std::is_pointer_v<decltype(v)>) return v;
            else return nullptr;
        },
        FValue);
}

void TCellSlot::Free()
{
    std::visit(
        [](auto v) {
            if constexpr (std::is_pointer_v<decltype(v)>) delete v;
        },
        FValue);
    FValue = std::monostate{};
}

namespace {

const TEnumNames CellTypeNames{"ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated",
                               "ctDataImage", "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture",
                               "ctValue", "ctProgress", "ctComment", "ctButton", "ctBitButton", "ctVirtCheckBox",
                               "ctProgressPie", "ctSummary"};
const TEnumNames CellVAlignNames{"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"};
const TEnumNames CellHAlignNames{"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"};

} // namespace

const TClassInfo& TCellGraphic::StaticClassInfo()
{
    using G = TCellGraphic;
    using P = TProps<G>;
    static const TClassInfo info({
        .Name = "TCellGraphic",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Enumeration("CellType", CellTypeNames, [](const G& g) { return g.CellType; }, [](G& g, TCellType v) { g.CellType = v; }),
                       P::Enumeration("CellVAlign", CellVAlignNames, [](const G& g) { return g.CellVAlign; }, [](G& g, TCellVAlign v) { g.CellVAlign = v; }),
                       P::Enumeration("CellHAlign", CellHAlignNames, [](const G& g) { return g.CellHAlign; }, [](G& g, TCellHAlign v) { g.CellHAlign = v; }),
                       P::Integer("CellIndex", [](const G& g) { return g.CellIndex; }, [](G& g, int v) { g.CellIndex = v; }),
                       P::Boolean("CellTransparent", [](const G& g) { return g.CellTransparent; }, [](G& g, bool v) { g.CellTransparent = v; }),
                       P::Boolean("CellCreated", [](const G& g) { return g.CellCreated; }, [](G& g, bool v) { g.CellCreated = v; }),
                       P::Boolean("CellBoolean", [](const G& g) { return g.CellBoolean; }, [](G& g, bool v) { g.CellBoolean = v; }),
                       P::Integer("CellAngle", [](const G& g) { return g.CellAngle; }, [](G& g, int v) { g.CellAngle = v; }),
                       P::Real("CellValue", [](const G& g) { return g.CellValue; }, [](G& g, double v) { g.CellValue = v; }).Default(0.0),
                       P::Integer("CellErrFrom", [](const G& g) { return static_cast<int>(g.CellErrFrom); }, [](G& g, int v) { g.CellErrFrom = static_cast<short>(v); }),
                       P::Integer("CellErrLen", [](const G& g) { return static_cast<int>(g.CellErrLen); }, [](G& g, int v) { g.CellErrLen = static_cast<short>(v); }),
                       P::Text("CellText", [](const G& g) { return g.CellText; }, [](G& g, const std::string& v) { g.CellText = v; })
                           .Default(std::string())},
    });
    return info;
}

// The main object is the graphic's for the picture-holding types it created; an image-index list is
// always its own.
TCellGraphic::~TCellGraphic()
{
    switch (CellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        if (CellCreated) CellObject.Free();
        break;
    case ctImages: CellObject.Free(); break;
    case ctIcon:
        if (CellCreated) CellIcon.Free();
        break;
    default: break;
    }
}

void TCellGraphic::Assign(const TPersistent& Source)
{
    const auto* g = dynamic_cast<const TCellGraphic*>(&Source);
    if (!g) {
        TPersistent::Assign(Source);
        return;
    }
    CellType = g->CellType;
    CellVAlign = g->CellVAlign;
    CellHAlign = g->CellHAlign;
    CellIndex = g->CellIndex;
    CellTransparent = g->CellTransparent;
    CellCreated = g->CellCreated;
    CellBoolean = g->CellBoolean;
    CellAngle = g->CellAngle;
    CellValue = g->CellValue;
    CellErrFrom = g->CellErrFrom;
    CellErrLen = g->CellErrLen;
    CellText = g->CellText;
}
