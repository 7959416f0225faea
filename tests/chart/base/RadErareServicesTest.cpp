// The panel unit's platform services: editor options through the registry store, resource lookups with
// fallback, the hand cursor's life, the translation hook, the check box, device aspect, enabling
// controls and the data exporter base.
#include "chart/base/RadErareServices.h"

#include "platform/controls/Clipbrd.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ResourceStore.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Streams.h"
#include "tests/platform/rtl/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class TIconParent : public TPersistent {
    VSP_PERSISTENT_CLASS
};
class TIconChild : public TIconParent {
    VSP_PERSISTENT_CLASS
};
const TClassInfo& TIconParent::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TIconParent", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}
const TClassInfo& TIconChild::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TIconChild", .Parent = &TIconParent::StaticClassInfo()});
    return info;
}

void SolidResource(const std::string& name, TColor color)
{
    RegisterBitmapResource(name, [color](TBitmap& b) {
        b.SetSize(2, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) b.SetPixelRGB(x, y, color);
    });
}

class TTextExport : public TLumExportData {
public:
    std::string AsString() override { return "x\ty\r\n1\t2"; }
};

} // namespace

TEST(RadErareServices, EditorOptionsKeepTheirDefaultsUntilWritten)
{
    TTempFolder temp;
    SetRegistryStorePath(temp.File("registry"));
    EXPECT_TRUE(ReadEditorOptionBool("SmoothGallery", true));
    EXPECT_EQ(ReadEditorOptionInteger("GalleryMode", 3), 3);
    WriteEditorOptionBool("SmoothGallery", false);
    EXPECT_FALSE(ReadEditorOptionBool("SmoothGallery", true));
    EXPECT_EQ(ReadEditorOptionInteger("GalleryMode", 3), 3) << "the key exists, the value not";

    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(EditorOptionsKey, false));
    reg.WriteInteger("GalleryMode", 2);
    reg.WriteString("TreeMode", "yes");
    EXPECT_EQ(ReadEditorOptionInteger("GalleryMode", 3), 2);
    EXPECT_TRUE(ReadEditorOptionBool("TreeMode", true)) << "a text value reads as the default";
    EXPECT_FALSE(ReadEditorOptionBool("TreeMode", false));
    WriteEditorOptionInteger("Left", -20);
    EXPECT_EQ(ReadEditorOptionInteger("Left", 0), -20);
    SetRegistryStorePath("");
}

TEST(RadErareServices, ResourceBitmapsFallBackAndSwallowErrors)
{
    SolidResource("TIconParent", clRed);
    RegisterBitmapResource("BrokenIcon", [](TBitmap&) { throw EInvalidGraphic("broken"); });
    TBitmap icon;
    EXPECT_TRUE(LoadSeriesIcon(TIconChild(), icon)) << "the parent class's icon stands in";
    EXPECT_EQ(icon.PixelRGB(1, 1), clRed);

    SolidResource("TIconChild", clBlue);
    EXPECT_TRUE(LoadSeriesIcon(TIconChild(), icon));
    EXPECT_EQ(icon.PixelRGB(0, 0), clBlue);

    TBitmap other(5, 5);
    EXPECT_TRUE(LoadResourceBitmap(TLumBitmap{"BrokenIcon", "TIconParent", &other}));
    EXPECT_EQ(other.PixelRGB(0, 0), clRed);
    EXPECT_FALSE(LoadResourceBitmap(other, "BrokenIcon", "NoSuchIcon"));
    EXPECT_FALSE(LoadResourceBitmap(TLumBitmap{"TIconChild", "", nullptr}));
    UnregisterBitmapResource("TIconParent");
    UnregisterBitmapResource("TIconChild");
    UnregisterBitmapResource("BrokenIcon");
}

TEST(RadErareServices, HandCursorLivesFromStartUpToShutDown)
{
    FinalizeRadErare();
    EXPECT_FALSE(Screen->HasCursor(crVizIdur));
    InitializeRadErare();
    ASSERT_TRUE(Screen->HasCursor(crVizIdur));
    EXPECT_FALSE(Screen->CursorImage(crVizIdur)->Rows.empty());
    FinalizeRadErare();
    EXPECT_FALSE(Screen->HasCursor(crVizIdur));
    InitializeRadErare();
}

TEST(RadErareServices, TranslationHookSeesTheTargetAndExclusions)
{
    TranslateFormControls(static_cast<TComponent*>(nullptr)); // nothing installed: nothing happens
    TComponent form(nullptr), keep(nullptr);
    std::vector<const void*> seen;
    SetTranslationHook([&](const TTranslationTarget& target, const std::vector<TComponent*>& exclusions) {
        seen.push_back(target.Component);
        for (TComponent* c : exclusions) seen.push_back(c);
    });
    ApplyTranslationHook({&form, nullptr}, {&keep});
    TranslateFormControls(&form);
    EXPECT_EQ(seen, (std::vector<const void*>{&form, &keep, &form}));
    SetTranslationHook(nullptr);
}

TEST(RadErareServices, CheckBoxAndDeviceAspect)
{
    TBitmap unchecked(20, 20), checked(20, 20);
    DrawCheckOrRadio(3, 4, unchecked.Canvas(), true, false);
    DrawCheckOrRadio(3, 4, checked.Canvas(), true, true);
    int differing = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            if (unchecked.PixelRGB(x, y) != checked.PixelRGB(x, y)) {
                ++differing;
                EXPECT_TRUE(x >= 3 && x < 16 && y >= 4 && y < 17) << "the mark stays in the 13 x 13 box";
            }
        }
    EXPECT_GT(differing, 0);
    EXPECT_NE(unchecked.PixelRGB(3, 4), clWhite) << "the box's frame starts at X, Y";
    EXPECT_EQ(unchecked.PixelRGB(16, 17), clWhite);

    TBitmap page(300, 150);
    const TCanvas& c = page.Canvas();
    EXPECT_NEAR(DeviceAspectRatio(c), static_cast<double>(c.GetDeviceCaps(HORZSIZE)) / c.GetDeviceCaps(VERTSIZE), 1e-12);
    EXPECT_NEAR(DeviceAspectRatio(c), 2.0, 0.05);
    TCanvas noDevice;
    EXPECT_GE(DeviceAspectRatio(noDevice), 0.0);
}

TEST(RadErareServices, EnablingControlsSkipsNull)
{
    TWinControl a(nullptr), b(nullptr);
    SetControlsEnabled(false, {&a, nullptr, &b});
    EXPECT_FALSE(a.Enabled());
    EXPECT_FALSE(b.Enabled());
    SetControlsEnabled(true, {nullptr, &b});
    EXPECT_TRUE(b.Enabled());
    EXPECT_FALSE(a.Enabled());
    const TPoint p = MouseClientPos(a);
    EXPECT_EQ(a.ClientToScreen(p), Screen->CursorPos());
}

TEST(RadErareServices, ExportDataWritesItsTextAsIs)
{
    TLumExportData empty;
    EXPECT_EQ(empty.AsString(), "");
    TTextExport data;
    TMemoryStream stream;
    data.SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 8) << "no terminator";

    TTempFolder temp;
    data.SaveToFile(temp.File("out.txt"));
    std::ifstream in(temp.File("out.txt"), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), "x\ty\r\n1\t2");

    data.CopyToClipboard();
    EXPECT_EQ(Clipboard().AsText(), "x\ty\r\n1\t2");
}
