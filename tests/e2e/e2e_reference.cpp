// The files the end-to-end run must save, made without a window through the core's entries alone: the
// survey opened with its configuration, the forward run of the open, the forward run of the button, the
// inversion, and the project data (observed values with the model) written with its ".cfg". The shape
// identifiers in the model's property lines are the model view's own (each drawing of its shapes numbers
// them anew); they are taken from the file the program saved when it is named, and the host's is the
// view's "no shape".
// Usage: e2e_reference <survey.sp2> <output.sp2> [<saved.sp2>]
#include "core/DC2dBEMInversion.h"
#include "core/SurveyOpen.h"
#include "core/SurveyWriter.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: e2e_reference <survey.sp2> <output.sp2> [<saved.sp2>]\n");
        return 2;
    }
    TSurveyOpenResult opened = OpenSurveyFile(TSurveyState{}, argv[1], [](const std::string&) { return true; }, 100.0);
    if (opened.Kind != ReadDataWithModel) {
        std::fprintf(stderr, "e2e_reference: %s is no survey with a model\n", argv[1]);
        return 1;
    }
    TSurveyState survey = std::move(opened.Survey);
    TPolygonModel model = *opened.Model;
    for (int run = 0; run < 2; ++run)
        if (!RunForwardProblem(survey, model).Succeeded) {
            std::fprintf(stderr, "e2e_reference: the forward run failed\n");
            return 1;
        }
    if (!RunInversionProblem(survey, model).Succeeded) {
        std::fprintf(stderr, "e2e_reference: the inversion failed\n");
        return 1;
    }
    if (argc == 4) {
        const TSurveyOpenResult saved = OpenSurveyFile(TSurveyState{}, argv[3], [](const std::string&) { return false; }, 100.0);
        if (saved.Kind != ReadDataWithModel || saved.Model->Bodies.Length() != model.Bodies.Length()) {
            std::fprintf(stderr, "e2e_reference: %s holds no model of the same bodies\n", argv[3]);
            return 1;
        }
        for (int i = 0; i < model.Bodies.Length(); ++i) {
            if (saved.Model->Bodies[i].Length() != model.Bodies[i].Length()) {
                std::fprintf(stderr, "e2e_reference: body %d of %s differs\n", i, argv[3]);
                return 1;
            }
            for (int j = 0; j < model.Bodies[i].Length(); ++j)
                model.Bodies[i][j].properties[psShapeIndex] = saved.Model->Bodies[i][j].properties[psShapeIndex];
        }
        // The host has no shape: the model view marks it with a one-byte -1, which writes no field.
        model.Bodies[0][0].properties[psShapeIndex] = Variant(std::int8_t(-1));
    }
    const std::string message = WriteDataFile(survey, argv[2], true, &model);
    if (!message.empty()) {
        std::fprintf(stderr, "e2e_reference: %s\n", message.c_str());
        return 1;
    }
    return 0;
}
