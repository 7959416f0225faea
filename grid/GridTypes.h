// The string grid's shared vocabulary: alignments, editor types, cell types, looks, scroll and pan modes,
// the option enumerations and the grid's own exception. Qt-free.
#pragma once

#include "platform/controls/Edit.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SystemColors.h"
#include "platform/rtl/TypInfo.h"

// The grid's own failures ("Invalid row accessed", "Cell does not contain integer value", ...).
VSP_DECLARE_EXCEPTION(EExtGridError, Exception);

enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
inline const TEnumNames VAlignmentNames{"vtaTop", "vtaCenter", "vtaBottom"};

enum TEditorType {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
    edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
    edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
    edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edUniEdit, edUniComboEdit, edUniComboList
};
inline const TEnumNames EditorTypeNames{
    "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit", "edDateEditUpDown",
    "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric", "edFloat", "edCapital", "edMixedCase",
    "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase", "edFloatSpinEdit", "edTimeSpinEdit", "edDateSpinEdit",
    "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edUniEdit", "edUniComboEdit", "edUniComboList"};
// The types edited by the in-place text editor.
inline bool IsTextEditorType(TEditorType t)
{
    return t == edNormal || (t >= edNumeric && t <= edPassword) || t == edLowerCase || t == edUpperCase;
}

enum TCellType {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctProgressPie, ctSummary
};
inline bool IsCheckType(TCellType t) { return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox; }

enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };

enum TGridLook { glStandard, glSoft, glClassic, glQuarn, glXP };
enum TScrollType { ssNormal, ssFlat, ssEncarta };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
enum TAdvanceDirection { adLeftRight, adTopBottom };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow };
enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TColumnSizeLocation { clRegistry, clIniFile };
enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview };
enum TBackGroundDisplay { bdTile, bdFixed };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };
enum TSortDirection { sdAscending, sdDescending };
enum TControlStyle { csClassic, csFlat, csWinXP, csKestrom, csQuarn, csGlyph, csTheme };

enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder>;
