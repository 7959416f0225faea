// The edge panel (TuiCustomEdgePanel): a panel whose bevels may be drawn on some of its sides only.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/rtl/Sets.h"

enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;
inline const TEnumNames BevelEdgeNames{"beLeft", "beTop", "beRight", "beBottom"};

class TuiCustomEdgePanel : public TCustomPanel {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiCustomEdgePanel(TComponent* AOwner);

    // The sides the bevels are drawn on; all four at first.
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges v);

protected:
    // With all four edges the panel paints as the platform panel does; otherwise the face, the outer
    // bevel on the chosen edges, the border, the inner bevel, and the caption.
    void Paint() override;

private:
    TBevelEdges FBevelEdges = TBevelEdges{beLeft, beTop, beRight, beBottom};
};
