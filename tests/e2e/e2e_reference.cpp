// The files the end-to-end run must save, made without a window through the core's entries alone: the
// survey opened with its configuration, the forward run of the open, the forward run of the button, the
// inversion, and the project data (observed values with the model) written with its ".cfg".
// Usage: e2e_reference <survey.sp2> <output.sp2>
#include "core/DC2dBEMInversion.h"
#include "core/SurveyOpen.h"
#include "core/SurveyWriter.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: e2e_reference <survey.sp2> <output.sp2>\n");
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
    const std::string message = WriteDataFile(survey, argv[2], true, &model);
    if (!message.empty()) {
        std::fprintf(stderr, "e2e_reference: %s\n", message.c_str());
        return 1;
    }
    return 0;
}
