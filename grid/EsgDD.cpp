// The drop target's protocol (what it accepts at the enter, the effect by the keys, one drop handler by
// the formats listed, then the files), the readers of the formats, and the start of text and column
// drags over the platform's drag.
#include "grid/EsgDD.h"

#include <cstdint>

namespace {
bool GRichTextAware = false;
} // namespace

bool RichTextAware() { return GRichTextAware; }
void SetRichTextAware(bool Aware) { GRichTextAware = Aware; }

int DropEffectForKeys(TShiftState Keys) { return Keys.Contains(ssCtrl) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }

namespace {

// A text format's bytes up to the first NUL; empty when the data lacks the format.
std::string ReadTextFormat(const TDragData& Data, const char* Format)
{
    std::string s = Data.Has(Format) ? Data.Data(Format) : std::string();
    if (const auto zero = s.find('\0'); zero != std::string::npos) s.resize(zero);
    return s;
}

} // namespace

std::string ReadPlainText(const TDragData& Data) { return ReadTextFormat(Data, DragTextFormat); }
std::string ReadRichText(const TDragData& Data) { return ReadTextFormat(Data, DragRichTextFormat); }

int ReadColumn(const TDragData& Data)
{
    if (!Data.Has(DragColumnFormat)) return -1;
    const std::string b = Data.Data(DragColumnFormat);
    if (b.size() < 4) return -1;
    const auto u = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[static_cast<std::size_t>(i)])); };
    return static_cast<std::int32_t>(u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24);
}

std::vector<std::string> ReadFileNames(const TDragData& Data) { return Data.Files(); }

namespace {

TOfferedFormats Listed(const TDragData& Data)
{
    TOfferedFormats f;
    f.PlainText = Data.Has(DragTextFormat);
    f.RichText = Data.Has(DragRichTextFormat);
    f.Column = Data.Has(DragColumnFormat);
    f.FileList = !Data.Files().empty() || Data.Has(DropFilesFormat);
    return f;
}

} // namespace

int TESGDropTarget::DragEnter(const TDragData& Data, TShiftState Keys, TPoint, int)
{
    OfferedFormats = Listed(Data);
    const TOfferedFormats& f = OfferedFormats;
    Accepted = (f.PlainText && TakesText) || (f.FileList && TakesFiles) || (f.RichText && RichTextAware() && TakesText) ||
               (f.Column && TakesColumns);
    const int effect = Accepted ? DropEffectForKeys(Keys) : DROPEFFECT_NONE;
    TrackDragEnter();
    return effect;
}

// The effects the source allows are not consulted: the keys decide.
int TESGDropTarget::DragOver(TShiftState Keys, TPoint Screen, int)
{
    int effect = Accepted ? DropEffectForKeys(Keys) : DROPEFFECT_NONE;
    bool allow = effect != DROPEFFECT_NONE;
    TrackDragOver(Screen, allow, OfferedFormats);
    if (!allow) effect = DROPEFFECT_NONE;
    return effect;
}

void TESGDropTarget::DragLeave() { TrackDragLeave(); }

// A drag accepted for one format has all its formats handled.
int TESGDropTarget::Drop(const TDragData& Data, TShiftState Keys, TPoint Screen, int)
{
    if (!Accepted) return DROPEFFECT_NONE;
    const TOfferedFormats f = Listed(Data);
    if (f.Column) HandleColumnDrop(Screen, ReadColumn(Data));
    else if (f.RichText && RichTextAware()) HandleRichTextDrop(Screen, ReadRichText(Data));
    else if (f.PlainText) HandleTextDrop(Screen, ReadPlainText(Data));
    if (f.FileList) HandleFileDrop(Screen, ReadFileNames(Data));
    return DropEffectForKeys(Keys);
}

namespace {

TDragResult Run(TWinControl& Control, TESGDropSource& Source, const TDragFormats& Data, int AllowedEffects, int& Effect)
{
    Source.NoTarget = false;
    TDragSourceEvents events;
    events.Step = [&Source] { Source.DragStep(); };
    events.Feedback = [&Source](int e) {
        Source.NoTarget = e == DROPEFFECT_NONE;
        Source.EffectChanged(e);
    };
    bool cancelled = false;
    Effect = DoDragDrop(Control, Data, AllowedEffects, events, cancelled);
    return cancelled || Source.NoTarget || Effect == DROPEFFECT_NONE ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
}

} // namespace

TDragResult BeginTextDrag(TWinControl& Control, TESGDropSource& Source, const std::string& Text, const std::string& RichText,
                          int AllowedEffects, int& Effect)
{
    TDragFormats data;
    data.Formats.emplace_back(DragTextFormat, Text);
    if (RichTextAware()) data.Formats.emplace_back(DragRichTextFormat, RichText);
    return Run(Control, Source, data, AllowedEffects, Effect);
}

TDragResult BeginColumnDrag(TWinControl& Control, TESGDropSource& Source, int Column, int AllowedEffects, int& Effect)
{
    TDragFormats data;
    // The list names text too, so a target that looks at the list takes the column through its text.
    data.Formats.emplace_back(DragTextFormat, std::string());
    const auto u = static_cast<std::uint32_t>(Column);
    data.Formats.emplace_back(DragColumnFormat, std::string{static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                                                            static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)});
    return Run(Control, Source, data, AllowedEffects, Effect);
}
