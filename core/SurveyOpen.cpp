// Opening a survey on a copy of the survey in use: reset, read, prepare.
#include "core/SurveyOpen.h"

TSurveyOpenResult OpenSurveyText(const TSurveyState& current, std::string_view text, const std::string& path,
                                 const std::optional<std::string>& cfgText, const TConfirm& confirm,
                                 double modelBottomInUse)
{
    TSurveyOpenResult r;
    r.Survey = current;
    TSurveyState& s = r.Survey;
    ResetForOpen(s);
    TPolygonModel model;
    r.Kind = ReadSurveyText(s, text, path, cfgText, confirm, model);
    if (r.Kind != ReadError) {
        const double bottom = r.Kind == ReadDataWithModel ? model.ModelBox.ZMax : modelBottomInUse;
        const TPrepareResult prepared = PrepareSurvey(s, bottom);
        if (prepared.Accepted) {
            r.LabelValueOffset = prepared.LabelValueOffset;
            if (r.Kind == ReadDataWithModel) r.Model = std::move(model);
            s.DataLoaded = !s.OpenInModelingMode;
            s.SurveyReady = true;
            return r;
        }
    }
    r.Kind = ReadError;
    r.Message = "Error in data file!";
    return r;
}

TSurveyOpenResult OpenSurveyFile(const TSurveyState& current, const std::string& path, const TConfirm& confirm,
                                 double modelBottomInUse)
{
    const std::optional<std::string> text = ReadTextFileIfAny(path);
    return OpenSurveyText(current, text ? *text : std::string(), path, ReadTextFileIfAny(ConfigFileBeside(path)),
                          confirm, modelBottomInUse);
}
