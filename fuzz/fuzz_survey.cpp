// Fuzz target of the survey files: the open pipeline's core entry on arbitrary survey text and ".cfg"
// text, then the writer to memory in all four variants, and a second open of what was written.
// Input: one byte of options, then the survey text, then (after a NUL byte, when there is one) the ".cfg".
#include "core/SurveyOpen.h"
#include "core/SurveyWriter.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const unsigned options = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = rest.find('\0');
    const std::string_view survey = rest.substr(0, cut);
    std::optional<std::string> cfg;
    if (cut != std::string_view::npos) cfg = std::string(rest.substr(cut + 1));

    TSurveyState inUse;
    inUse.ExtendedNodes = options & 1;
    inUse.RealTopoCoordinates = options & 2;
    inUse.ReverseLine = options & 4;
    inUse.LineShift = 100;
    inUse.OpenInModelingMode = options & 8;
    const bool answer = options & 16;
    const TConfirm confirm = [answer](const std::string&) { return answer; };

    const TSurveyOpenResult r = OpenSurveyText(inUse, survey, "fuzz.sp2", cfg, confirm, 100);
    if (r.Kind == ReadError) return 0;
    const TPolygonModel* model = r.Model ? &*r.Model : nullptr;
    for (bool observed : {true, false}) {
        FormatSurveyText(r.Survey, observed, nullptr);
        if (model) FormatSurveyText(r.Survey, observed, model);
    }
    const TSurveyOpenResult again =
        OpenSurveyText(TSurveyState(), FormatSurveyText(r.Survey, true, model), "again.sp2", std::nullopt, confirm, 100);
    if (again.Kind != ReadError) FormatSurveyText(again.Survey, true, nullptr);
    return 0;
}
