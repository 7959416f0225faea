// The grid's clipboard: ranges copied as tab-separated text, as the rich text of one cell and in the
// private format of component records; cut; paste of the best format at a cell (a private block is read
// and checked whole before any cell changes), of text with rows and columns added as needed, and the
// smart paste that extends two values into a series over the selection.
#include "grid/ExtGridClipboard.h"

#include "grid/ExtGrid.h"
#include "platform/controls/Clipbrd.h"
#include "platform/graphics/ColorIdents.h"
#include "platform/graphics/Icon.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysFormat.h"
#include "platform/graphics/RichText.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>

// ---- Sources ------------------------------------------------------------------------------------------

bool TDesktopClipSource::Has(const std::string& Mime) const { return Clipboard().HasFormat(Mime); }
std::string TDesktopClipSource::Get(const std::string& Mime) const
{
    const std::string bytes = Clipboard().Format(Mime);
    return Mime == GridTextFormat ? DesktopTextLineBreaks(bytes) : bytes;
}

bool TBufferClipSource::Has(const std::string& Mime) const
{
    return std::any_of(FData.begin(), FData.end(), [&](const auto& f) { return f.first == Mime; });
}

std::string TBufferClipSource::Get(const std::string& Mime) const
{
    for (const auto& f : FData)
        if (f.first == Mime) return f.second;
    return {};
}

// ---- Holders --------------------------------------------------------------------------------------------

namespace {

TComponentRecordCodec Codec()
{
    TComponentRecordCodec c;
    c.ColourIdent = [](std::int64_t colour) {
        std::string ident;
        return ColorToIdent(static_cast<TColor>(colour), ident) ? ident : std::string();
    };
    c.IdentColour = [](const std::string& ident, std::int64_t& colour) {
        TColor c = 0;
        if (!IdentToColor(ident, c)) return false;
        colour = c;
        return true;
    };
    return c;
}

template <class C, class M> auto Getter(M C::*m) { return [m](const C& c) { return c.*m; }; }

std::vector<std::uint8_t> Bytes(TStream& s)
{
    const std::string b = s.ReadBytes(s.Size() - s.Position());
    return {b.begin(), b.end()};
}

void Put(TStream& s, const std::vector<std::uint8_t>& b)
{
    s.WriteBytes(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
}

} // namespace

const TClassInfo& TGridPropIO::StaticClassInfo()
{
    using C = TGridPropIO;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TGridPropIO",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Integer("ColCount", Getter(&C::ColCount), [](C& c, int v) { c.ColCount = v; }),
                       P::Integer("RowCount", Getter(&C::RowCount), [](C& c, int v) { c.RowCount = v; }),
                       P::Text("ColWidths", Getter(&C::ColWidths), [](C& c, const std::string& v) { c.ColWidths = v; }).Default(std::string()),
                       P::Text("RowHeights", Getter(&C::RowHeights), [](C& c, const std::string& v) { c.RowHeights = v; }).Default(std::string()),
                       P::Boolean("FullGrid", Getter(&C::FullGrid), [](C& c, bool v) { c.FullGrid = v; }),
                       P::Integer("ID", Getter(&C::ID), [](C& c, int v) { c.ID = v; })},
    });
    return info;
}

const TClassInfo& TGridCellIO::StaticClassInfo()
{
    using C = TGridCellIO;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TGridCellIO",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Integer("Col", Getter(&C::Col), [](C& c, int v) { c.Col = static_cast<std::int16_t>(v); }),
                       P::Integer("Row", Getter(&C::Row), [](C& c, int v) { c.Row = static_cast<std::int16_t>(v); }),
                       P::Text("Cell", Getter(&C::Cell), [](C& c, const std::string& v) { c.Cell = v; }).Default(std::string()),
                       P::Boolean("HasProp", Getter(&C::HasProp), [](C& c, bool v) { c.HasProp = v; })},
    });
    return info;
}

const TClassInfo& TGridCellPropIO::StaticClassInfo()
{
    using C = TGridCellPropIO;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TGridCellPropIO",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Object("CellProperties", [](const C& c) { return const_cast<TCellProperties*>(&c.CellProperties); }),
                       P::Boolean("HasGraphic", Getter(&C::HasGraphic), [](C& c, bool v) { c.HasGraphic = v; })},
    });
    return info;
}

const TClassInfo& TGridGraphicIO::StaticClassInfo()
{
    using C = TGridGraphicIO;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TGridGraphicIO",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Object("CellGraphic", [](const C& c) { return const_cast<TCellGraphic*>(&c.CellGraphic); })},
    });
    return info;
}

const TClassInfo& TGridBitmapData::StaticClassInfo()
{
    using C = TGridBitmapData;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TBitmap",
        .Parent = &TPersistent::StaticClassInfo(),
        .Defined = {P::DefinedBinary(
            "Data",
            [](C& c, TStream& s) {
                const std::int32_t n = s.ReadInt32();
                if (n < 0 || n > s.Size() - s.Position()) throw EReadError("Bitmap image is not valid");
                const std::string b = s.ReadBytes(n);
                c.Bitmap.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(b.data()), b.size());
            },
            [](const C& c, TStream& s) {
                std::vector<std::uint8_t> b;
                c.Bitmap.SaveToBytes(b);
                s.WriteInt32(static_cast<std::int32_t>(b.size()));
                Put(s, b);
            },
            [](const C&) { return true; })},
    });
    return info;
}

const TClassInfo& TGridBMPIO::StaticClassInfo()
{
    using C = TGridBMPIO;
    using P = TProps<C>;
    static const TClassInfo info({.Name = "TGridBMPIO",
                                  .Parent = &TPersistent::StaticClassInfo(),
                                  .Properties = {P::Object("Bitmap", [](const C& c) { return const_cast<TGridBitmapData*>(&c.Bitmap); })}});
    return info;
}

TGridIconData::TGridIconData() : Icon(std::make_unique<TIcon>()) {}
TGridIconData::~TGridIconData() = default;

const TClassInfo& TGridIconData::StaticClassInfo()
{
    using C = TGridIconData;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TIcon",
        .Parent = &TPersistent::StaticClassInfo(),
        .Defined = {P::DefinedBinary(
            "Data",
            [](C& c, TStream& s) {
                const std::vector<std::uint8_t> b = Bytes(s);
                c.Icon->LoadFromBytes(b.data(), b.size());
            },
            [](const C& c, TStream& s) {
                std::vector<std::uint8_t> b;
                c.Icon->SaveToBytes(b);
                Put(s, b);
            },
            [](const C&) { return true; })},
    });
    return info;
}

const TClassInfo& TGridIconIO::StaticClassInfo()
{
    using C = TGridIconIO;
    using P = TProps<C>;
    static const TClassInfo info({.Name = "TGridIconIO",
                                  .Parent = &TPersistent::StaticClassInfo(),
                                  .Properties = {P::Object("Icon", [](const C& c) { return const_cast<TGridIconData*>(&c.Icon); })}});
    return info;
}

// A picture's data: its graphic's class name, then the graphic as that class streams it (a bitmap and a
// JPEG after their length, an icon and a PNG as their files).
const TClassInfo& TGridPictureData::StaticClassInfo()
{
    using C = TGridPictureData;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TPicture",
        .Parent = &TPersistent::StaticClassInfo(),
        .Defined = {P::DefinedBinary(
            "Data",
            [](C& c, TStream& s) {
                const std::string cls = s.ReadBytes(s.ReadByte());
                std::unique_ptr<TGraphic> g;
                bool counted = false;
                if (cls == "TBitmap") g = std::make_unique<TBitmap>(), counted = true;
                else if (cls == "TJPEGImage") g = std::make_unique<TJPEGImage>(), counted = true;
                else if (cls == "TIcon") g = std::make_unique<TIcon>();
                else if (cls == "TPngImage") g = std::make_unique<TPngImage>();
                else if (cls.empty()) return;
                else throw EReadError("Unknown picture class " + cls);
                std::vector<std::uint8_t> b;
                if (counted) {
                    const std::int32_t n = s.ReadInt32();
                    if (n < 0 || n > s.Size() - s.Position()) throw EReadError("Picture data is not valid");
                    const std::string raw = s.ReadBytes(n);
                    b.assign(raw.begin(), raw.end());
                } else b = Bytes(s);
                g->LoadFromBytes(b.data(), b.size());
                c.Picture.SetGraphic(g.get());
            },
            [](const C& c, TStream& s) {
                const TGraphic* g = c.Picture.Graphic();
                const std::string cls = g ? g->ClassName() : "";
                s.WriteByte(static_cast<std::uint8_t>(cls.size()));
                s.WriteBytes(cls);
                if (!g) return;
                std::vector<std::uint8_t> b;
                g->SaveToBytes(b);
                if (cls == "TBitmap" || cls == "TJPEGImage") s.WriteInt32(static_cast<std::int32_t>(b.size()));
                Put(s, b);
            },
            [](const C&) { return true; })},
    });
    return info;
}

const TClassInfo& TGridPicIO::StaticClassInfo()
{
    using C = TGridPicIO;
    using P = TProps<C>;
    static const TClassInfo info({.Name = "TGridPicIO",
                                  .Parent = &TPersistent::StaticClassInfo(),
                                  .Properties = {P::Object("Picture", [](const C& c) { return const_cast<TGridPictureData*>(&c.Picture); })}});
    return info;
}

const TClassInfo& TGridFilePictureData::StaticClassInfo()
{
    using C = TGridFilePictureData;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TFilePicture",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Text("Filename", Getter(&C::Filename), [](C& c, const std::string& v) { c.Filename = v; }).Default(std::string())},
    });
    return info;
}

const TClassInfo& TGridFilePicIO::StaticClassInfo()
{
    using C = TGridFilePicIO;
    using P = TProps<C>;
    static const TClassInfo info({.Name = "TGridFilePicIO",
                                  .Parent = &TPersistent::StaticClassInfo(),
                                  .Properties = {P::Object("Picture", [](const C& c) { return const_cast<TGridFilePictureData*>(&c.Picture); })}});
    return info;
}

const TClassInfo& TGridStringsData::StaticClassInfo()
{
    using C = TGridStringsData;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TStringList",
        .Parent = &TPersistent::StaticClassInfo(),
        .Defined = {P::DefinedRaw(
            "Strings",
            [](C& c, TStream& s) {
                if (s.ReadByte() != vaList) throw EReadError("Error reading Strings: list expected");
                c.Strings.clear();
                for (;;) {
                    if (s.Position() >= s.Size()) throw EReadError("Error reading Strings: list not ended");
                    const std::int64_t at = s.Position();
                    if (s.ReadByte() == vaNull) break;
                    s.SetPosition(at);
                    c.Strings.push_back(ReadStreamText(s, true));
                }
            },
            [](const C& c, TStream& s) {
                s.WriteByte(vaList);
                for (const std::string& t : c.Strings) WriteStreamText(s, t, true);
                s.WriteByte(vaNull);
            },
            [](const C&) { return true; })},
    });
    return info;
}

const TClassInfo& TGridSLIO::StaticClassInfo()
{
    using C = TGridSLIO;
    using P = TProps<C>;
    static const TClassInfo info({.Name = "TGridSLIO",
                                  .Parent = &TPersistent::StaticClassInfo(),
                                  .Properties = {P::Object("Strings", [](const C& c) { return const_cast<TGridStringsData*>(&c.Strings); })}});
    return info;
}

void WriteGridRecord(TStream& Stream, const TPersistent& Holder) { WriteComponentRecord(Stream, Holder.ClassName(), Holder, Codec()); }

namespace {

// Reads the next record, which must be of the named holder class.
void ReadRecord(TStream& Stream, TPersistent& Holder)
{
    const std::string cls = ReadComponentRecord(Stream, Holder, Codec());
    if (cls != Holder.ClassName()) throw EReadError("Invalid stream format: " + cls + " where " + Holder.ClassName() + " belongs");
}

// Decimal numbers separated by "," within 0..32767; false for anything else.
bool ReadSizes(const std::string& Text, int Count, std::vector<int>& Out)
{
    Out.clear();
    if (Text.empty()) return Count == 0;
    std::size_t i = 0;
    while (i <= Text.size()) {
        const auto comma = Text.find(',', i);
        const std::string item = Text.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
        int v = -1;
        const auto res = std::from_chars(item.data(), item.data() + item.size(), v);
        if (item.empty() || res.ec != std::errc() || res.ptr != item.data() + item.size() || v < 0 || v > 32767) return false;
        Out.push_back(v);
        if (comma == std::string::npos) break;
        i = comma + 1;
    }
    return static_cast<int>(Out.size()) == Count;
}

std::string JoinSizes(const std::vector<int>& v)
{
    std::string s;
    for (std::size_t i = 0; i < v.size(); ++i) s += (i ? "," : "") + std::to_string(v[i]);
    return s;
}

bool PictureType(TCellType t)
{
    return t == ctBitmap || t == ctIcon || t == ctRadio || t == ctImages || t == ctPicture || t == ctFilePicture || t == ctBitButton;
}

} // namespace

static void ReadPastedBlockChecked(TStream& Stream, TPastedBlock& Block);

void ReadPastedBlock(TStream& Stream, TPastedBlock& Block)
{
    // A picture in the block that does not decode is a bad block like any other (found by the cells
    // fuzz target: the picture's own error left the paste as an unexpected failure).
    try {
        ReadPastedBlockChecked(Stream, Block);
    } catch (const EInvalidGraphic& e) {
        Block = TPastedBlock();
        throw EReadError(std::string("Invalid stream format: ") + e.what());
    }
}

static void ReadPastedBlockChecked(TStream& Stream, TPastedBlock& Block)
{
    TPastedBlock b;
    ReadRecord(Stream, b.Range);
    const TGridPropIO& r = b.Range;
    if (r.ColCount < 1 || r.RowCount < 1 || r.ColCount > 32768 || r.RowCount > 32768 || !ReadSizes(r.ColWidths, r.ColCount, b.Widths) ||
        !ReadSizes(r.RowHeights, r.RowCount, b.Heights))
        throw EReadError("Invalid stream format: the range's counts and sizes do not agree");
    bool first = true;
    while (Stream.Size() - Stream.Position() >= 2) {
        TGridCellIO cell;
        ReadRecord(Stream, cell);
        if (first && !r.FullGrid) b.Base = {cell.Col, cell.Row};
        first = false;
        if (cell.Col < b.Base.x || cell.Row < b.Base.y || cell.Col >= b.Base.x + r.ColCount || cell.Row >= b.Base.y + r.RowCount)
            throw EReadError("Invalid stream format: a cell outside the copied range");
        TPastedCell pc;
        pc.Col = cell.Col;
        pc.Row = cell.Row;
        pc.Text = cell.Cell;
        if (cell.HasProp) {
            TGridCellPropIO props;
            ReadRecord(Stream, props);
            pc.Props = std::make_unique<TCellProperties>(nullptr, 0, 0);
            pc.Props->Assign(props.CellProperties);
            pc.Props->BrushColorTo = props.CellProperties.BrushColorTo;
            if (props.HasGraphic) {
                TGridGraphicIO graphic;
                ReadRecord(Stream, graphic);
                pc.Graphic = std::make_unique<TCellGraphic>();
                pc.Graphic->Assign(graphic.CellGraphic);
                TCellGraphic& g = *pc.Graphic;
                switch (g.CellType) {
                case ctBitmap:
                case ctBitButton: {
                    TGridBMPIO io;
                    ReadRecord(Stream, io);
                    auto* bmp = new TBitmap;
                    bmp->Assign(io.Bitmap.Bitmap);
                    g.CellObject = bmp;
                    break;
                }
                case ctIcon: {
                    TGridIconIO io;
                    ReadRecord(Stream, io);
                    g.CellIcon = io.Icon.Icon.release();
                    break;
                }
                case ctRadio:
                case ctImages: {
                    TGridSLIO io;
                    ReadRecord(Stream, io);
                    if (g.CellType == ctRadio) {
                        auto* list = new TStringList;
                        for (const std::string& s : io.Strings.Strings) list->Add(s);
                        g.CellObject = list;
                    } else {
                        auto* list = new TIntList(0, 0);
                        for (const std::string& s : io.Strings.Strings) {
                            int v = 0;
                            const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
                            if (res.ec != std::errc() || res.ptr != s.data() + s.size()) {
                                delete list;
                                throw EReadError("Invalid stream format: an image index that is no number");
                            }
                            list->AddValue(v);
                        }
                        g.CellObject = list;
                    }
                    break;
                }
                case ctPicture: {
                    TGridPicIO io;
                    ReadRecord(Stream, io);
                    auto* pic = new TPicture;
                    pic->Assign(io.Picture.Picture);
                    g.CellObject = pic;
                    break;
                }
                case ctFilePicture: {
                    TGridFilePicIO io;
                    ReadRecord(Stream, io);
                    auto* pic = new TFilePicture;
                    try {
                        pic->SetFilename(io.Picture.Filename);
                    } catch (const Exception&) {
                        // The file is gone: the name stays, the picture shows nothing.
                    }
                    g.CellObject = pic;
                    break;
                }
                default: break;
                }
                // What the block brought belongs to the cell now.
                if (PictureType(g.CellType)) g.CellCreated = true;
            }
        }
        b.Cells.push_back(std::move(pc));
    }
    Block = std::move(b);
}

// ---- The grid's clipboard operations ----------------------------------------------------------------

namespace {
std::atomic<int> NextGridID{1};
} // namespace

int TExtStringGrid::ClipboardID()
{
    if (FClipboardID == 0) FClipboardID = NextGridID++;
    return FClipboardID;
}

void TExtStringGrid::GetCellCopyText(int ACol, int ARow, std::string& Text)
{
    Text = GetCellValue(ACol, ARow);
    if (Text.empty() && CellTypeOf(ACol, ARow) == ctCheckBox) {
        bool state = false;
        GetCheckBoxState(ACol, ARow, state);
        if (state) GetCheckTrue(ACol, ARow, Text);
        else GetCheckFalse(ACol, ARow, Text);
    }
}

void TExtStringGrid::SetCellByDisplayCol(int ACol, int ARow, const std::string& Value)
{
    const int rc = DisplayToRealCol(ACol);
    SetCellValue(rc, ARow, Value);
    if (rc != ACol) RefreshCell(ACol, ARow);
}

void TExtStringGrid::PasteDone(TPoint, TGridRect, bool) {}

std::string TExtStringGrid::CopyRangeAsText(const TGridRect& R, bool Disjunct)
{
    CopyOrigin = {R.Left, R.Top};
    std::string out;
    for (int r = R.Top; r <= R.Bottom; ++r) {
        if (Disjunct && MouseActions.DisjunctRowSelect && !MouseActions.DisjunctColSelect &&
            !IsRowSelected(MouseActions.RowSelectPersistent ? DisplayToRealRow(r) : r))
            continue;
        std::string line;
        bool any = false;
        for (int c = R.Left; c <= R.Right; ++c) {
            if (Disjunct && MouseActions.DisjunctColSelect && !IsColSelected(c)) continue;
            const int rc = DisplayToRealCol(c);
            std::string t;
            GetCellCopyText(rc, r, t);
            if (t.find('\r') != std::string::npos) t = "\"" + RemoveCarriageReturns(t) + "\"";
            if (!Navigation.CopyHTMLTagsToClipboard && t.find("</") != std::string::npos) t = HTMLToPlainText(GetCellValue(rc, r));
            else if (t.find("{\\") != std::string::npos) t = ParseRichText(GetCellValue(rc, r)).PlainText();
            line += t + "\t";
            any = true;
        }
        if (any) line.pop_back();
        out += line;
        if (R.Top < R.Bottom) out += "\r\n";
    }
    return out;
}

void TExtStringGrid::WriteCellsStream(const TGridRect& R, TStream& Stream)
{
    TGridPropIO range;
    range.ColCount = R.Right - R.Left + 1;
    range.RowCount = R.Bottom - R.Top + 1;
    std::vector<int> widths, heights;
    for (int c = R.Left; c <= R.Right; ++c) widths.push_back(ColWidths(c));
    for (int r = R.Top; r <= R.Bottom; ++r) heights.push_back(RowHeights(r));
    range.ColWidths = JoinSizes(widths);
    range.RowHeights = JoinSizes(heights);
    range.FullGrid = range.ColCount == ColCount() && range.RowCount == RowCount();
    range.ID = ClipboardID();
    WriteGridRecord(Stream, range);
    int lastProgress = -1;
    for (int r = R.Top; r <= R.Bottom; ++r) {
        for (int c = R.Left; c <= R.Right; ++c) {
            const std::string text = GetCellValue(c, r);
            const TCellProperties* props = FindCellProps(c, r);
            if (text.empty() && !props) continue;
            TGridCellIO cell;
            cell.Col = c;
            cell.Row = r;
            cell.Cell = text;
            cell.HasProp = props != nullptr;
            WriteGridRecord(Stream, cell);
            if (!props) continue;
            TGridCellPropIO io;
            io.CellProperties.Assign(*props);
            io.CellProperties.BrushColorTo = props->BrushColorTo;
            io.CellProperties.Control = nullptr;
            const TCellGraphic* g = CellGraphicOf(c, r);
            io.HasGraphic = g && g->CellType != ctEmpty && (!PictureType(g->CellType) || g->CellCreated);
            WriteGridRecord(Stream, io);
            if (!io.HasGraphic) continue;
            TGridGraphicIO gio;
            gio.CellGraphic.Assign(*g);
            WriteGridRecord(Stream, gio);
            switch (g->CellType) {
            case ctBitmap:
            case ctBitButton: {
                TGridBMPIO b;
                if (const TBitmap* bmp = g->CellObject.As<TBitmap>()) b.Bitmap.Bitmap.Assign(*bmp);
                WriteGridRecord(Stream, b);
                break;
            }
            case ctIcon: {
                TGridIconIO i;
                if (const TIcon* icon = g->CellIcon.As<TIcon>()) i.Icon.Icon->Assign(*icon);
                WriteGridRecord(Stream, i);
                break;
            }
            case ctRadio:
            case ctImages: {
                TGridSLIO l;
                if (const TStringList* list = g->CellObject.As<TStringList>())
                    for (int i = 0; i < list->Count(); ++i) l.Strings.Strings.push_back((*list)[i]);
                if (const TIntList* list = g->CellObject.As<TIntList>())
                    for (int i = 0; i < list->Count(); ++i) l.Strings.Strings.push_back(std::to_string(list->ValueAt(i)));
                WriteGridRecord(Stream, l);
                break;
            }
            case ctPicture: {
                TGridPicIO p;
                if (const TPicture* pic = g->CellObject.As<TPicture>()) p.Picture.Picture.Assign(*pic);
                WriteGridRecord(Stream, p);
                break;
            }
            case ctFilePicture: {
                TGridFilePicIO p;
                if (const TFilePicture* pic = g->CellObject.As<TFilePicture>()) p.Picture.Filename = pic->Filename();
                WriteGridRecord(Stream, p);
                break;
            }
            default: break;
            }
        }
        if (OnFileProgress) {
            const int p = static_cast<int>(std::nearbyint(100.0 * (r - R.Top) / std::max(1, R.Bottom - R.Top)));
            if (p != lastProgress) {
                lastProgress = p;
                OnFileProgress(this, p);
            }
        }
    }
}

void TExtStringGrid::PasteCellsStream(TPoint Origin, TStream& Stream)
{
    TPastedBlock block;
    ReadPastedBlock(Stream, block);
    ApplyPastedBlock(Origin, block);
}

void TExtStringGrid::ApplyPastedBlock(TPoint Origin, TPastedBlock& Block)
{
    const TGridPropIO& range = Block.Range;
    if (range.FullGrid) {
        ClearAllCells();
        SetRowCount(range.RowCount);
        SetColCount(range.ColCount);
        for (int i = 0; i < range.ColCount; ++i) SetColWidths(i, Block.Widths[static_cast<std::size_t>(i)]);
        for (int i = 0; i < range.RowCount; ++i) SetRowHeights(i, Block.Heights[static_cast<std::size_t>(i)]);
    }
    for (TPastedCell& pc : Block.Cells) {
        const int c = Origin.x + pc.Col - Block.Base.x, r = Origin.y + pc.Row - Block.Base.y;
        if (c < 0 || r < 0 || c >= ColCount() || r >= RowCount()) continue;
        SetCellValue(c, r, pc.Text);
        if (!pc.Props) continue;
        // The cell keeps knowing where it is (the copy repaints the cell it names while it assigns).
        TCellProperties& p = CellProps(c, r);
        const int ownerCol = p.OwnerCol, ownerRow = p.OwnerRow;
        pc.Props->OwnerCol = ownerCol;
        pc.Props->OwnerRow = ownerRow;
        p.Assign(*pc.Props);
        p.BrushColorTo = pc.Props->BrushColorTo;
        p.OwnerCol = ownerCol;
        p.OwnerRow = ownerRow;
        if (!pc.Graphic) continue;
        TCellGraphic& g = CreateCellGraphic(c, r);
        g.Assign(*pc.Graphic);
        g.CellObject = pc.Graphic->CellObject;
        g.CellIcon = pc.Graphic->CellIcon;
        pc.Graphic->CellObject = nullptr;
        pc.Graphic->CellIcon = nullptr;
        if (TIntList* list = g.CellObject.As<TIntList>()) {
            list->OwnerCol = c;
            list->OwnerRow = r;
        }
    }
    Invalidate();
}

TGridClipData TExtStringGrid::CopyRange(const TGridRect& R, bool Disjunct)
{
    TGridClipData data;
    data.emplace_back(GridTextFormat, CopyRangeAsText(R, Disjunct));
    if (Navigation.AllowRTFClipboard) {
        const std::string first = GetCellValue(DisplayToRealCol(R.Left), R.Top);
        if (first.find("{\\") != std::string::npos) data.emplace_back(GridRichTextFormat, first);
    }
    // The private format counts cells in 16 bits: a range beyond them goes as text only.
    if (Navigation.AllowFmtClipboard && R.Right <= 32767 && R.Bottom <= 32767) {
        TMemoryStream s;
        WriteCellsStream(R, s);
        data.emplace_back(GridCellsFormat, std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size())));
    }
    return data;
}

TGridRect TExtStringGrid::CopiedRange(bool& Disjunct)
{
    Disjunct = MouseActions.DisjunctRowSelect || MouseActions.DisjunctColSelect;
    return Disjunct ? TGridRect{0, 0, ColCount() - 1, RowCount() - 1} : Selection();
}

void TExtStringGrid::ClipboardCopy()
{
    bool disjunct = false;
    const TGridRect r = CopiedRange(disjunct);
    Clipboard().SetFormats(CopyRange(r, disjunct));
    LastCopyWasCopy = true;
}

void TExtStringGrid::ClipboardCut()
{
    ClipboardCopy();
    CutRange();
    LastCopyWasCopy = false;
}

// Empties what a cut took: flagged rows or columns, or the cells of the selection it may change (and only
// their properties go).
void TExtStringGrid::CutRange()
{
    if (MouseActions.DisjunctRowSelect) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (IsRowSelected(MouseActions.RowSelectPersistent ? DisplayToRealRow(r) : r)) ClearRowRange(r, 1);
        return;
    }
    if (MouseActions.DisjunctColSelect) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (IsColSelected(c)) ClearColRange(c, 1);
        return;
    }
    const TGridRect s = Selection();
    for (int r = s.Top; r <= s.Bottom; ++r)
        for (int c = s.Left; c <= s.Right; ++c) {
            const int rc = DisplayToRealCol(c);
            if (!(CellEditable(rc, r) || Navigation.AllowClipboardAlways)) continue;
            SetCellValue(rc, r, "");
            if (Navigation.AllowFmtClipboard) FreeCellPropsRange(rc, r, rc, r);
        }
}

int TExtStringGrid::PasteAt(int ACol, int ARow) { return PasteFrom(TDesktopClipSource(), ACol, ARow); }

int TExtStringGrid::PasteFrom(const TGridClipSource& Source, int ACol, int ARow)
{
    if (Navigation.AllowFmtClipboard && Source.Has(GridCellsFormat)) {
        const std::string bytes = Source.Get(GridCellsFormat);
        TMemoryStream s;
        s.WriteBytes(bytes);
        s.SetPosition(0);
        TPastedBlock block;
        ReadPastedBlock(s, block);
        const TPoint origin = block.Range.ID == ClipboardID() ? CopyOrigin : TPoint{-1, -1};
        const int cols = block.Range.ColCount, rows = block.Range.RowCount;
        ApplyPastedBlock({ACol, ARow}, block);
        PasteDone(origin, {ACol, ARow, ACol + cols - 1, ARow + rows - 1}, LastCopyWasCopy);
        return cols * rows;
    }
    if (Navigation.AllowRTFClipboard && Source.Has(GridRichTextFormat)) {
        std::string rtf = Source.Get(GridRichTextFormat);
        if (const auto zero = rtf.find('\0'); zero != std::string::npos) rtf.resize(zero);
        if (CellEditable(DisplayToRealCol(ACol), ARow)) SetCellValue(DisplayToRealCol(ACol), ARow, rtf);
        return 0;
    }
    if (Source.Has(GridTextFormat)) return PasteText(ACol, ARow, Source.Get(GridTextFormat));
    return 0;
}

int TExtStringGrid::PasteText(int ACol, int ARow, const std::string& Text)
{
    if (ACol < 0 || ARow < 0) return 0;
    if (!(Options().Contains(goEditing) || Navigation.AllowClipboardAlways || MouseActions.RangeSelectAndEdit)) return 0;
    int i = ARow, j = ACol, count = 0;
    TGridRect range{ACol, ARow, ACol, ARow};
    std::size_t pos = 0;
    for (;;) {
        const std::size_t cr = Text.find('\r', pos);
        const bool endedWithCR = cr != std::string::npos;
        const std::string line = Text.substr(pos, endedWithCR ? cr - pos : std::string::npos);
        std::size_t f = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', f);
            const bool last = tab == std::string::npos;
            std::string field = line.substr(f, last ? std::string::npos : tab - f);
            if (field.find('\n') != std::string::npos) {
                if (!field.empty() && field[0] == '"') field.erase(0, 1);
                if (const auto q = field.find('"'); q != std::string::npos && q + 1 == field.size()) field.pop_back();
                LinefeedsToLineBreaks(field);
            }
            // A field one column beyond the grid is stored only when the grid grows to take it.
            if (j == ColCount() && Navigation.AllowClipboardColGrow && !(last && !endedWithCR && field.empty())) SetColCount(j + 1);
            const bool inside = j < ColCount() && i < RowCount();
            if (inside && (CellEditable(DisplayToRealCol(j), i) || Navigation.AllowClipboardAlways) && (!last || endedWithCR || !field.empty())) {
                bool allow = true;
                if (field.rfind("|\\", 0) == 0) {
                    std::u16string wide = WideFromCellText(field);
                    if (OnClipboardBeforePasteWideCell) OnClipboardBeforePasteWideCell(this, j, i, wide, allow);
                    field = CellTextFromWide(wide);
                } else if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, j, i, field, allow);
                if (allow) SetCellByDisplayCol(j, i, field);
            }
            ++count;
            ++j;
            if (ColCount() < j && Navigation.AllowClipboardColGrow) SetColCount(j);
            range.Right = std::max(range.Right, j);
            if (last) break;
            f = tab + 1;
        }
        j = ACol;
        ++i;
        std::size_t next = endedWithCR ? cr + 1 : Text.size();
        if (endedWithCR && next < Text.size() && Text[next] == '\n') ++next;
        if (i == RowCount() && endedWithCR && next < Text.size() && Navigation.AllowClipboardRowGrow) SetRowCount(i + 1);
        range.Bottom = std::max(range.Bottom, i);
        if (!endedWithCR) break;
        pos = next;
    }
    range.Right -= 1;
    range.Bottom -= 1;
    PasteDone(CopyOrigin, range, LastCopyWasCopy);
    CellsChanged({range.Left, range.Top, range.Right, range.Bottom});
    return count;
}

void TExtStringGrid::ClipboardPaste()
{
    const TGridRect s = Selection();
    const int n = PasteAt(s.Left, s.Top);
    if (Navigation.AllowSmartClipboard) SmartPaste(n);
}

// Extends what was pasted at the selection's top-left over the whole selection.
void TExtStringGrid::SmartPaste(int n)
{
    const TGridRect s = Selection();
    auto editable = [&](int c, int r) { return CellEditable(DisplayToRealCol(c), r); };
    auto write = [&](int c, int r, std::string v) {
        bool allow = true;
        if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, v, allow);
        if (allow) SetCellValue(DisplayToRealCol(c), r, v);
    };
    const bool many = s.Left != s.Right || s.Top != s.Bottom;
    if (n == 1 && many) {
        const std::string first = GetCellValue(DisplayToRealCol(s.Left), s.Top);
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r)
                if ((c != s.Left || r != s.Top) && editable(c, r)) write(c, r, first);
        return;
    }
    if (n <= 1 || (s.Left != s.Right && s.Top != s.Bottom)) return;
    const bool column = s.Left == s.Right;
    const std::string first = GetCellValue(DisplayToRealCol(s.Left), s.Top);
    std::string second;
    if (s.Top + 1 <= s.Bottom || s.Top + 1 < RowCount()) second = GetCellValue(DisplayToRealCol(s.Left), s.Top + 1);
    if (!column || (s.Left == s.Right && s.Top == s.Bottom)) second = GetCellValue(DisplayToRealCol(s.Left + 1), s.Top);
    const TFormatSettings& fs = FormatSettings();
    auto holds = [](const std::string& t, char ch) { return t.find(ch) != std::string::npos; };
    // The cells of the selection in order, each column top to bottom.
    auto each = [&](auto&& f) {
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r) f(c, r);
    };
    try {
        if ((holds(first, fs.DateSeparator) || holds(first, fs.TimeSeparator)) &&
            (holds(second, fs.DateSeparator) || holds(second, fs.TimeSeparator))) {
            const TDateTime a = StrToDateTime(first), b = StrToDateTime(second);
            int y1, m1, d1, y2, m2, d2;
            DecodeDate(a, y1, m1, d1);
            DecodeDate(b, y2, m2, d2);
            const int dy = y2 - y1, dm = m2 - m1, dd = d2 - d1;
            const double D = b - a;
            const bool date = holds(first, fs.DateSeparator);
            TDateTime v = a;
            each([&](int c, int r) {
                if (editable(c, r)) write(c, r, date ? DateToStr(v) : TimeToStr(v));
                if (dy == 0 && dm == 0) v = AdvanceDate(0, 0, dd, D, v);
                else if (dm == 0 && dd == 0) v = AdvanceDate(dy, 0, 0, D, v);
                else if (dy == 0 && dd == 0) v = AdvanceDate(0, dm, 0, D, v);
                else v = AdvanceDate(0, 0, 0, D, v);
            });
            return;
        }
        const bool decimals = holds(first, fs.DecimalSeparator) || holds(second, fs.DecimalSeparator);
        if (!decimals) {
            long long a = 0, b = 0;
            const bool whole = [&] {
                auto parse = [](const std::string& t, long long& v) {
                    const auto res = std::from_chars(t.data(), t.data() + t.size(), v);
                    return !t.empty() && res.ec == std::errc() && res.ptr == t.data() + t.size();
                };
                return parse(first, a) && parse(second, b);
            }();
            // A step or a value to write beyond 64 bits makes no series: the pattern repeats instead.
            long long D = 0, last = 0;
            const long long cells = static_cast<long long>(s.Right - s.Left + 1) * (s.Bottom - s.Top + 1);
            if (whole && !__builtin_sub_overflow(b, a, &D) && !__builtin_mul_overflow(D, cells - 1, &last) &&
                !__builtin_add_overflow(a, last, &last)) {
                long long i = 0;
                each([&](int c, int r) {
                    if (editable(c, r)) write(c, r, std::to_string(a + i * D));
                    ++i;
                });
                return;
            }
            // A pattern of text repeats.
            if (column)
                for (int r = s.Top + n - 1; r <= s.Bottom; ++r) {
                    if (r - (n - 1) < 0 || !editable(s.Left, r)) continue;
                    write(s.Left, r, GetCellValue(DisplayToRealCol(s.Left), r - (n - 1)));
                }
            else
                for (int c = s.Left + n; c <= s.Right; ++c) {
                    if (!editable(c, s.Top)) continue;
                    write(c, s.Top, GetCellValue(DisplayToRealCol(c - n), s.Top));
                }
            return;
        }
        const double a = StrToFloat(first), b = StrToFloat(second), D = b - a;
        double v = a;
        each([&](int c, int r) {
            if (editable(c, r)) write(c, r, FormatFloatDirective(FloatFormat, v));
            v += D;
        });
    } catch (const EConvertError&) {
        // A value that does not convert ends the series; the plain paste stands.
    }
}

std::string TExtStringGrid::SelectionAsText()
{
    TGridRect s = Selection();
    if (Options().Contains(goRowSelect) && DragDropSettings.OleEntireRows) {
        s.Left = 0;
        s.Right = ColCount() - 1;
    }
    std::vector<int> rows;
    if (MouseActions.DisjunctRowSelect) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (IsRowSelected(MouseActions.RowSelectPersistent ? DisplayToRealRow(r) : r)) rows.push_back(r);
    } else
        for (int r = s.Top; r <= s.Bottom; ++r) rows.push_back(r);
    std::string out;
    for (int r : rows) {
        for (int c = s.Left; c <= s.Right; ++c) {
            std::string t = GetCellValue(DisplayToRealCol(c), r);
            if (t.find("{\\") != std::string::npos) t = ParseRichText(t).PlainText();
            out += t;
            if (c < s.Right) out += '\t';
        }
        if (r != s.Bottom) out += "\r\n";
    }
    return out;
}

TPoint TExtStringGrid::MeasureTabText(const std::string& Text)
{
    int fields = 1, lines = 0;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t cr = Text.find('\r', pos);
        const std::string line = Text.substr(pos, cr == std::string::npos ? std::string::npos : cr - pos);
        fields = std::max(fields, static_cast<int>(std::count(line.begin(), line.end(), '\t')) + 1);
        if (cr == std::string::npos) {
            if (!line.empty()) ++lines;
            break;
        }
        ++lines;
        pos = cr + 1;
        if (pos < Text.size() && Text[pos] == '\n') ++pos;
    }
    return {fields, std::max(1, lines)};
}

// ---- The selection resizer ------------------------------------------------------------------------------

bool TExtStringGrid::OverSelectionResizer(int X, int Y)
{
    if (!FSelectionResizer || !FSelectionRectangle) return false;
    const TGridRect s = Selection();
    const TRect r = CellRect(s.Right, s.Bottom);
    return r.Right > r.Left && X >= r.Right - 4 && X < r.Right && Y >= r.Bottom - 4 && Y < r.Bottom;
}

// The drag of the resizer copies the selection into the grid's own buffer (the desktop's clipboard stays
// as the user left it) and then extends the selection with the mouse.
void TExtStringGrid::StartSelectionResize(TShiftState Shift, int X, int Y)
{
    FResizeOrigin = Selection();
    FResizeBuffer = CopyRange(FResizeOrigin, false);
    FSelectionResizing = true;
    const TGridRect sel = Selection();
    if (!Options().Contains(goEditing)) MouseDown(mbLeft, Shift, X, Y);
    // The current cell stays at the top-left; the drag moves the selection's other corner.
    MoveColRow(sel.Left, sel.Top, true, false);
    SetAnchor(sel.Right, sel.Bottom);
    SetGridState(gsSelecting);
    MouseMove(Shift, X, Y);
}

void TExtStringGrid::EndSelectionResize()
{
    FSelectionResizing = false;
    SetGridState(gsNormal);
    const TGridRect now = Selection();
    if (OnSelectionResize) OnSelectionResize(this, FResizeOrigin, now);
    const bool editing = Options().Contains(goEditing);
    if (!editing) SetOptions(Options() + TGridOptions{goEditing});
    try {
        const int n = PasteFrom(TBufferClipSource(FResizeBuffer), now.Left, now.Top);
        if (Navigation.AllowSmartClipboard) SmartPaste(n);
    } catch (...) {
        if (!editing) SetOptions(Options() - TGridOptions{goEditing});
        throw;
    }
    if (!editing) SetOptions(Options() - TGridOptions{goEditing});
    FResizeBuffer.clear();
}
