// Pictures of the mini-markup: THTMLPicture keeps a picture file's bytes and shows them (a GIF by the
// frame chosen), THTMLPictureCache holds the pictures loaded by address, and TPictureContainer holds
// pictures by name. Decoding goes through the platform's picture reader. Qt-free.
#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Collections.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCanvas;

class THTMLPicture : public TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;
    const char* ClassName() const override { return "THTMLPicture"; }

    // The shown picture's size (a GIF frame's own size); 0 while empty. Writing changes nothing.
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool Empty() const override { return FEmpty; }

    // The bytes of a picture file; raises EInvalidGraphic ("Could not load image. Invalid format") when
    // the platform cannot read them; the picture is then empty.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    void SaveToBytes(std::vector<std::uint8_t>& out) const override { out = FSourceBytes; }
    // A file that cannot be read, or is no regular file of at most 64 MB (a FIFO, a device), leaves the
    // picture empty without raising or waiting.
    void LoadFromFileQuietly(const std::string& Path);
    // "RES://name" loads the named byte resource, "FILE://path" a file; anything else (a remote address)
    // loads nothing. The upper-cased address becomes SourceKey.
    void LoadFromAddress(const std::string& Address);
    void Assign(const TGraphic& source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    TPixelBuffer ToPixels() const override { return FPixels; }

    // Draws stretched into R, or at R's top-left in its own size.
    void DrawInto(TCanvas& Canvas, const TRect& R) const;
    bool Stretch = false;
    int Frame() const { return FFrame; }
    // 1-based; rebuilds the shown picture and fires OnFrameChange.
    void SetFrame(int v);
    std::function<void(THTMLPicture*)> OnFrameChange;
    // The number of frames of a GIF; -1 for anything else.
    int CountFrames() const;
    bool HasGIFSignature() const;
    // The logical screen of a GIF, else the picture's own size; 0 while empty.
    int FullWidth() const;
    int FullHeight() const;
    int FrameLeft() const { return FFrameLeft; }
    int FrameTop() const { return FFrameTop; }
    const std::string& SourceKey() const { return FSourceKey; }
    const std::vector<std::uint8_t>& SourceBytes() const { return FSourceBytes; }
    bool Asynch = true;

private:
    void ReloadImage();
    std::vector<std::uint8_t> FSourceBytes;
    TPixelBuffer FPixels;
    bool FEmpty = true;
    int FFrame = 1;
    mutable int FFrameCount = -2;   // -2: not counted yet
    int FFrameLeft = 0, FFrameTop = 0, FFullWidth = 0, FFullHeight = 0;
    std::string FSourceKey;
};

// The pictures of the markup loaded by address; they stay for the cache's life.
class THTMLPictureCache {
public:
    THTMLPicture* NewPicture();
    // The first picture of that SourceKey (letter case counts); nullptr when none.
    THTMLPicture* LookupPicture(const std::string& Key) const;
    THTMLPicture* PictureAt(int Index) const;
    int Count() const { return static_cast<int>(FPictures.size()); }

private:
    std::vector<std::unique_ptr<THTMLPicture>> FPictures;
};

class TPictureItem : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    explicit TPictureItem(TCollection* Collection);
    THTMLPicture& Picture() { return FPicture; }
    void SetPicture(const THTMLPicture& v) { FPicture.Assign(v); }
    std::string Name;
    int Tag = 0;
    void Assign(const TPersistent& Source) override;

private:
    THTMLPicture FPicture;
};

class TPictureContainer : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TPictureContainer(TComponent* AOwner);
    TCollection& Items() { return FItems; }
    TPictureItem& AddPicture(const std::string& Name);
    // The picture of the first item whose upper-cased name is Name (callers pass upper case).
    THTMLPicture* PictureByName(const std::string& Name);

private:
    TCollection FItems{this, TPictureItem::StaticClassInfo(), &CreateItemOf<TPictureItem>};
};
