// The seven kinds of the Save command and the worksheet picture.
#include "views/ResMainFormSave.h"

#include "core/ProgramConfig.h"
#include "core/SurveyWriter.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/ConfigPaths.h"

#include <algorithm>

std::string SaveKindFileName(int kind, const std::string& chosen)
{
    switch (kind) {
    case skWorksheet:
    case skModelPicture: return ChangeFileExt(chosen, ".bmp");
    case skProgramConfig: return ChangeFileExt(chosen, ".cfg");
    default: return ChangeFileExt(chosen, ".sp2");
    }
}

std::string SaveSurveyAs(int kind, const std::string& chosen, const TSurveyState& survey, const TPolygonModel* model,
                         const TPictureWriter& writePicture)
{
    const std::string name = SaveKindFileName(kind, chosen);
    const std::string cannotWrite = "Cannot write file " + name;
    switch (kind) {
    case skProjectData:
        if (!survey.DataLoaded || !survey.SurveyReady) return NothingSavedNoObservedData;
        return WriteDataFile(survey, name, true, model);
    case skCalculatedData:
        if (!survey.ModelReady) return NothingSavedNoCalculatedData;
        return WriteDataFile(survey, name, false, nullptr);
    case skObservedData:
        if (!survey.DataLoaded) return NothingSavedNoObservedData;
        return WriteDataFile(survey, name, true, nullptr);
    case skModelWithCalculated:
        if (!survey.ModelReady) return NothingSavedNoCalculatedData;
        return WriteDataFile(survey, name, false, model);
    case skWorksheet:
    case skModelPicture:
        return writePicture && writePicture(name, kind == skModelPicture) ? std::string() : cannotWrite;
    case skProgramConfig:
        return WriteProgramConfig(name, survey.Settings) ? std::string() : cannotWrite;
    default: return {};
    }
}

std::unique_ptr<TBitmap> StackPictures(const std::vector<const TBitmap*>& pictures)
{
    int width = 0, height = 0;
    for (const TBitmap* p : pictures) {
        width = std::max(width, p->Width());
        height += p->Height();
    }
    auto sheet = std::make_unique<TBitmap>(width, height, pf24bit);
    TCanvas& canvas = sheet->Canvas();
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect({0, 0, width, height});
    int y = 0;
    for (const TBitmap* p : pictures) {
        canvas.Draw(0, y, *p);
        y += p->Height();
    }
    return sheet;
}
