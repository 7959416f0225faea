// The brush dialog ("Pattern Color Editor"): one of the eight standard styles or one of 35 pattern
// bitmaps, the brush colour, and an optional picture. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumControls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ListBox.h"

#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class TChartBrush;

// Items of the style list: the eight standard styles, then 35 pattern bitmaps.
inline constexpr int BrushStyleItemCount = 43;
inline constexpr int BrushPatternItemCount = 35;

class TBrushDialog : public TForm {
public:
    // Edits Brush (not owned).
    TBrushDialog(QWidget* Owner, TChartBrush& Brush);
    ~TBrushDialog() override;

    TChartBrush& Brush() const { return FBrush; }

    // The form's components.
    TListBox LStyle;
    TButtonColor BColor;
    QPushButton* Button2;   // OK
    QPushButton* Button3;   // Cancel
    QGroupBox* GroupImage;
    QPushButton* Button1;   // the picture: browse for one, or clear it
    QLabel* Image1;         // the picture's preview, stretched

private:
    void FormShow();
    void FormClose();
    void StyleClicked();
    void ImageClicked();
    void ShowBrushImage();
    void EnableColorButton();
    bool HasPicture() const;
    void DrawStyleItem(int Index, TRect Rect, TOwnerDrawState State);

    TChartBrush& FBrush;
    std::unique_ptr<TChartBrush> FBackup;
};
