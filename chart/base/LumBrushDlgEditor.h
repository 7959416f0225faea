// The brush editor of the chart engine as its callers see it (no window code). The form itself is in
// LumBrushDlgForm.h. Qt-free.
#pragma once

class TChartBrush;
class TWinControl;

// Runs the brush dialog ("Pattern Color Editor") on the brush; true when it was closed with OK (any other
// close gives the brush back as it was).
bool ShowBrushEditorModal(TWinControl* Control, TChartBrush& Brush);
