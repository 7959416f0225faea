// The export format base (panel check, size, clipboard and file), the registry of format classes and the
// picture-by-extension hook.
#include "chart/control/LumExport.h"

#include "chart/base/LumHtml.h"
#include "chart/base/RadErarePanel.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cctype>

namespace {

// The registry exists from the first registration until the module shuts down.
struct TLumExportModule {
    std::unique_ptr<std::vector<TLumExportFormatClass>> Formats;
};

TLumExportModule& Module()
{
    static TLumExportModule module;
    return module;
}

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

} // namespace

void TLumExportFormat::SetFilterIndex(int& Counter)
{
    ++Counter;
    FilterIndex = Counter;
}

void TLumExportFormat::CheckPanel() const
{
    if (!Panel) throw Exception("Panel property is not set in Export format");
}

void TLumExportFormat::CheckSize()
{
    if (Width == 0) Width = Panel->Width();
    if (Height == 0) Height = Panel->Height();
}

void TLumExportFormat::Copy()
{
    CheckPanel();
    CheckSize();
    CopyToClipboard();
}

void TLumExportFormat::SaveToFile(const std::string& FileName)
{
    CheckPanel();
    CheckSize();
    // Written whole into memory first, so that a failure leaves an existing file as it was.
    TMemoryStream stream;
    SaveToStream(stream);
    stream.SaveToFile(FileName);
}

void RegisterExportFormat(TLumExportFormatClass AClass)
{
    auto& formats = Module().Formats;
    if (!formats) formats = std::make_unique<std::vector<TLumExportFormatClass>>();
    formats->push_back(AClass);
}

void UnregisterExportFormat(TLumExportFormatClass AClass)
{
    auto& formats = Module().Formats;
    if (!formats) return;
    if (auto it = std::find(formats->begin(), formats->end(), AClass); it != formats->end()) formats->erase(it);
}

std::vector<TLumExportFormatClass> ExportFormats()
{
    const auto& formats = Module().Formats;
    return formats ? *formats : std::vector<TLumExportFormatClass>{};
}

std::unique_ptr<TGraphic> GraphicForExtension(const std::string& Extension)
{
    const std::string wanted = Upper(Extension);
    for (TLumExportFormatClass create : ExportFormats()) {
        const std::unique_ptr<TLumExportFormat> format = create();
        if (Upper("." + format->FileExtension()) == wanted) return format->NewGraphic();
    }
    return nullptr;
}

void LumExportInitialization() { LumHtmlModule().HtmlGraphicForExtension = &GraphicForExtension; }

void LumExportFinalization()
{
    LumHtmlModule().HtmlGraphicForExtension = nullptr;
    Module().Formats.reset();
}
