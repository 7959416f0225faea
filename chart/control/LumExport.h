// Picture export formats: the base that turns a chart panel into a picture of a chosen size, for the
// clipboard, a stream or a file; the module-wide registry of format classes; and the picture-by-extension
// hook that the HTML-tag text drawing asks for image tags. Qt-free.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TCustomLumPanel;
class TGraphic;
class TStream;

class TLumExportFormat {
public:
    TLumExportFormat() = default;
    virtual ~TLumExportFormat() = default;
    TLumExportFormat(const TLumExportFormat&) = delete;
    TLumExportFormat& operator=(const TLumExportFormat&) = delete;

    // The panel to export (not owned).
    TCustomLumPanel* Panel = nullptr;
    // The 1-based place of the format's first entry in a file dialog's filter.
    int FilterIndex = 0;
    // The picture's size; 0 is the panel's own size (filled in by CheckSize).
    int Height = 0;
    int Width = 0;

    virtual void CopyToClipboard() = 0;
    virtual int GetFilterIndex() const { return FilterIndex; }
    // Takes the next entry of a filter being built: Counter + 1 becomes FilterIndex and the counter.
    virtual void SetFilterIndex(int& Counter);
    virtual bool WantsFilterIndex(int Index) { return Index == GetFilterIndex(); }
    virtual std::string Description() const = 0;
    // Without the dot ("bmp").
    virtual std::string FileExtension() const = 0;
    virtual std::string FileFilter() const = 0;
    // A new, empty graphic of the format's picture class; none when it has none.
    virtual std::unique_ptr<TGraphic> NewGraphic() const = 0;
    virtual void SaveToStream(TStream& Stream) = 0;

    // The picture on the clipboard. Raises Exception "Panel property is not set in Export format" without
    // a panel.
    void Copy();
    // The picture written to a file that is replaced only once it is complete (no panel: as Copy).
    void SaveToFile(const std::string& FileName);
    // Width and Height 0 become the panel's.
    void CheckSize();

protected:
    void CheckPanel() const;
};

// A format class: makes a new instance.
using TLumExportFormatClass = std::unique_ptr<TLumExportFormat> (*)();

void RegisterExportFormat(TLumExportFormatClass AClass);
void UnregisterExportFormat(TLumExportFormatClass AClass);
// The registered classes in registration order (empty before the first registration).
std::vector<TLumExportFormatClass> ExportFormats();

// A new empty graphic of the first registered format whose "." + extension equals Extension (compared
// upper-cased); none when no format matches.
std::unique_ptr<TGraphic> GraphicForExtension(const std::string& Extension);

// Installs GraphicForExtension as the HTML-tag text's picture hook; the finalization frees the registry.
void LumExportInitialization();
void LumExportFinalization();
