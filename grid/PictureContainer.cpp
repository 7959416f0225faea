// The markup's pictures: bytes kept whole, a GIF reduced to its header and the frames from the chosen
// one on before decoding (the chosen frame first, on a screen as large as its part on the logical
// screen), named byte resources and files by address, the cache and the named container.
#include "grid/PictureContainer.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ResourceStore.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The byte positions where frames begin: a graphic control extension directly followed by an image
// descriptor.
std::vector<std::size_t> FrameStarts(const std::vector<std::uint8_t>& b)
{
    std::vector<std::size_t> starts;
    for (std::size_t j = 0; j + 8 < b.size(); ++j)
        if (b[j] == 0x21 && b[j + 1] == 0xF9 && b[j + 2] == 4 && b[j + 8] == 0x2C) starts.push_back(j);
    return starts;
}

} // namespace

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

int THTMLPicture::Width() const { return FPixels.Width; }
int THTMLPicture::Height() const { return FPixels.Height; }

bool THTMLPicture::HasGIFSignature() const
{
    return FSourceBytes.size() > 4 && FSourceBytes[0] == 'G' && FSourceBytes[1] == 'I' && FSourceBytes[2] == 'F' && FSourceBytes[3] == '8';
}

int THTMLPicture::CountFrames() const
{
    if (FFrameCount == -2) {
        const std::size_t n = FrameStarts(FSourceBytes).size();
        FFrameCount = HasGIFSignature() && n > 0 ? static_cast<int>(n) : -1;
    }
    return FFrameCount;
}

// A frame that lies wholly outside its screen shows nothing; the screen still takes its room.
int THTMLPicture::FullWidth() const { return FEmpty ? 0 : FFullWidth ? FFullWidth : FPixels.Width; }
int THTMLPicture::FullHeight() const { return FEmpty ? 0 : FFullHeight ? FFullHeight : FPixels.Height; }

void THTMLPicture::ReloadImage()
{
    FFrameLeft = FFrameTop = FFullWidth = FFullHeight = 0;
    FPixels = {};
    TGifLayout gif;
    if (!HasGIFSignature() || !ReadGifLayout(FSourceBytes.data(), FSourceBytes.size(), gif)) {
        TPixelBuffer px;
        if (!DecodePictureBytes(FSourceBytes.data(), FSourceBytes.size(), px)) throw EInvalidGraphic("Could not load image. Invalid format");
        FPixels = std::move(px);
        return;
    }
    FFullWidth = gif.ScreenWidth;
    FFullHeight = gif.ScreenHeight;
    // The chosen frame (with the graphic control extension before it), else the first image of a file
    // without such frames; a frame number beyond the frames leaves the header alone, which decodes to
    // nothing.
    const std::vector<std::size_t> starts = FrameStarts(FSourceBytes);
    std::size_t from = 0, descriptor = 0;
    if (!starts.empty()) {
        if (FFrame >= 1 && static_cast<std::size_t>(FFrame) <= starts.size()) {
            from = starts[static_cast<std::size_t>(FFrame) - 1];
            descriptor = from + 8;
        }
        if (descriptor + 9 > FSourceBytes.size()) descriptor = 0;   // the descriptor is cut off
    } else {
        from = descriptor = gif.FirstImage;
    }
    // No such frame: the header alone holds no picture.
    if (descriptor == 0) throw EInvalidGraphic("Could not load image. Invalid format");
    // Only the part of the frame on the logical screen is decoded: the frame is put at the corner of a
    // screen of that part's size, and the reader leaves out what falls beyond it, so that a frame off the
    // screen can neither make the picture larger than the size checked nor cost its whole area. A side
    // of 0 makes the frame the screen on that side; a frame wholly off the screen shows nothing.
    const TRect frame = GifFrameRect(FSourceBytes.data(), FSourceBytes.size(), descriptor);
    const int shownWidth = gif.ScreenWidth ? std::min(frame.Right, gif.ScreenWidth) - frame.Left : frame.Width();
    const int shownHeight = gif.ScreenHeight ? std::min(frame.Bottom, gif.ScreenHeight) - frame.Top : frame.Height();
    if (shownWidth <= 0 || shownHeight <= 0) return;
    std::vector<std::uint8_t> bytes(FSourceBytes.begin(), FSourceBytes.begin() + static_cast<std::ptrdiff_t>(gif.HeaderEnd));
    bytes.insert(bytes.end(), FSourceBytes.begin() + static_cast<std::ptrdiff_t>(from), FSourceBytes.end());
    const auto put16 = [&bytes](std::size_t at, int v) {
        bytes[at] = static_cast<std::uint8_t>(v & 0xFF);
        bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    put16(6, shownWidth);
    put16(8, shownHeight);
    const std::size_t moved = descriptor - from + gif.HeaderEnd;
    put16(moved + 1, 0);
    put16(moved + 3, 0);
    TPixelBuffer px;
    if (!DecodePictureBytes(bytes.data(), bytes.size(), px)) throw EInvalidGraphic("Could not load image. Invalid format");
    FFrameLeft = gif.ScreenWidth ? frame.Left : 0;
    FFrameTop = gif.ScreenHeight ? frame.Top : 0;
    FPixels = std::move(px);
}

void THTMLPicture::LoadFromBytes(const std::uint8_t* data, std::size_t size)
{
    FSourceBytes.assign(data, data + size);
    FFrameCount = -2;
    FEmpty = false;
    try {
        ReloadImage();
    } catch (...) {
        FEmpty = true;
        throw;
    }
    Changed();
}

namespace {

// Larger picture files are not read: a picture is loaded while the window paints.
constexpr std::int64_t MaxPictureFileBytes = 64 << 20;

// The bytes of a regular file of at most MaxPictureFileBytes; false for anything else (a FIFO, a device,
// a folder, a larger file), found without waiting on it or reading it: a path that is no regular file is
// never opened, and what is opened (without blocking) is judged again by its own status.
bool ReadPictureFile(const std::string& Path, std::vector<std::uint8_t>& Bytes)
{
    struct stat st {};
    if (::stat(Path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > MaxPictureFileBytes) return false;
    const int fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct TCloser {
        int Fd;
        ~TCloser() { ::close(Fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > MaxPictureFileBytes) return false;
    Bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < Bytes.size()) {
        const ssize_t n = ::read(fd, Bytes.data() + got, Bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    Bytes.resize(got);
    return true;
}

} // namespace

void THTMLPicture::LoadFromFileQuietly(const std::string& Path)
{
    try {
        std::vector<std::uint8_t> bytes;
        if (!ReadPictureFile(Path, bytes)) throw EInvalidGraphic("Cannot open " + Path);
        LoadFromBytes(bytes.data(), bytes.size());
    } catch (const std::exception&) {
        FEmpty = true;
    }
}

void THTMLPicture::LoadFromAddress(const std::string& Address)
{
    const std::string up = UpperCase(Address);
    if (up.rfind("RES://", 0) == 0) {
        FSourceKey = up;
        std::vector<std::uint8_t> bytes;
        if (LoadByteResource(Address.substr(6), bytes)) LoadFromBytes(bytes.data(), bytes.size());
    } else if (up.rfind("FILE://", 0) == 0) {
        FSourceKey = up;
        // The file keeps its own letter case: names differ by case on this desktop.
        LoadFromFileQuietly(Address.substr(7));
    } else {
        // Remote addresses are never fetched.
        FSourceKey = up;
    }
}

void THTMLPicture::Assign(const TGraphic& source)
{
    FPixels = {};
    FEmpty = true;
    FFrameCount = -2;
    FFrame = 1;
    const auto* p = dynamic_cast<const THTMLPicture*>(&source);
    if (!p) {
        FSourceBytes.clear();
        return;
    }
    FSourceBytes = p->FSourceBytes;
    FSourceKey = p->FSourceKey;
    Stretch = p->Stretch;
    if (FSourceBytes.empty()) return;
    FEmpty = false;
    try {
        ReloadImage();
    } catch (const Exception&) {
        FEmpty = true;
    }
    Changed();
}

std::unique_ptr<TGraphic> THTMLPicture::Clone() const
{
    auto p = std::make_unique<THTMLPicture>();
    p->Assign(*this);
    return p;
}

void THTMLPicture::SetFrame(int v)
{
    FFrame = v;
    if (FSourceBytes.empty()) return;
    try {
        ReloadImage();
    } catch (const Exception&) {
        FPixels = {};
    }
    if (OnFrameChange) OnFrameChange(this);
}

void THTMLPicture::DrawInto(TCanvas& Canvas, const TRect& R) const
{
    if (FEmpty || FPixels.Width == 0) return;
    TIcon shown;
    shown.SetPixels(FPixels);
    if (Stretch) Canvas.StretchDraw(R, shown);
    else Canvas.Draw(R.Left, R.Top, shown);
}

// ---- Cache and container -------------------------------------------------------------------------------

THTMLPicture* THTMLPictureCache::NewPicture()
{
    FPictures.push_back(std::make_unique<THTMLPicture>());
    return FPictures.back().get();
}

THTMLPicture* THTMLPictureCache::LookupPicture(const std::string& Key) const
{
    for (const auto& p : FPictures)
        if (p->SourceKey() == Key) return p.get();
    return nullptr;
}

THTMLPicture* THTMLPictureCache::PictureAt(int Index) const
{
    return Index >= 0 && Index < Count() ? FPictures[static_cast<std::size_t>(Index)].get() : nullptr;
}

const TClassInfo& TPictureItem::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPictureItem", .Parent = &TCollectionItem::StaticClassInfo()});
    return info;
}

TPictureItem::TPictureItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TPictureItem::Assign(const TPersistent& Source)
{
    const auto* i = dynamic_cast<const TPictureItem*>(&Source);
    if (!i) {
        TCollectionItem::Assign(Source);
        return;
    }
    Name = i->Name;
    Tag = i->Tag;
    FPicture.Assign(i->FPicture);
}

const TClassInfo& TPictureContainer::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPictureContainer", .Parent = &TComponent::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TPictureContainer>});
    return info;
}

TPictureContainer::TPictureContainer(TComponent* AOwner) : TComponent(AOwner) {}

TPictureItem& TPictureContainer::AddPicture(const std::string& Name)
{
    auto* item = static_cast<TPictureItem*>(FItems.Add());
    item->Name = Name;
    return *item;
}

THTMLPicture* TPictureContainer::PictureByName(const std::string& Name)
{
    for (int i = 0; i < FItems.Count(); ++i) {
        auto* item = static_cast<TPictureItem*>(FItems.Items(i));
        if (UpperCase(item->Name) == Name) return &item->Picture();
    }
    return nullptr;
}
