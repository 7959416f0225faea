// A picture as a stream keeps it: the binary "Data" of the graphic's class name and bytes, read back into
// the same class; refusals of unknown classes and damaged bytes, and the metafile that loads empty.
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

namespace picture_data_test {

std::string DataOf(const TPicture& p)
{
    TMemoryStream s;
    p.WriteData(s);
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

void ReadInto(TPicture& p, const std::string& bytes)
{
    TMemoryStream s;
    s.WriteBytes(bytes);
    s.SetPosition(0);
    p.ReadData(s);
}

TEST(PictureData, ClassNameThenTheGraphicsBytesAndBack)
{
    TPicture source;
    TBitmap& b = source.Bitmap();
    b.SetSize(3, 2);
    b.SetPixelRGB(1, 1, 0x0000FF);
    const std::string data = DataOf(source);
    std::vector<std::uint8_t> bmp;
    b.SaveToBytes(bmp);
    EXPECT_EQ(data, std::string("\x07TBitmap") + std::string(bmp.begin(), bmp.end()));
    TPicture back;
    ReadInto(back, data);
    ASSERT_NE(dynamic_cast<TBitmap*>(back.Graphic()), nullptr);
    EXPECT_EQ(static_cast<TBitmap*>(back.Graphic())->PixelRGB(1, 1), 0x0000FF);
    // Through a property list too, as a sub-object's "Data".
    EXPECT_TRUE(TPicture::StaticClassInfo().FindDefinedProperty("Data")->IsWritten(source));
    EXPECT_FALSE(TPicture::StaticClassInfo().FindDefinedProperty("Data")->IsWritten(TPicture()));
    TMemoryStream list;
    WritePropertyList(list, source);
    list.SetPosition(0);
    TPicture fromList;
    ReadPropertyList(list, fromList);
    EXPECT_EQ(DataOf(fromList), data);
}

TEST(PictureData, UnknownClassesAndDamagedBytesAreRefusedButAMetafileLoadsEmpty)
{
    TPicture p;
    p.Bitmap().SetSize(2, 2);
    EXPECT_THROW(ReadInto(p, "\x06TThing" "abc"), EInvalidGraphic);
    EXPECT_THROW(ReadInto(p, "\x07TBitmap" "BMxx"), EInvalidGraphic);
    EXPECT_EQ(p.Width(), 2) << "the picture keeps its graphic";
    ReadInto(p, "\x09TMetafile" "not a metafile");
    ASSERT_NE(dynamic_cast<TMetafile*>(p.Graphic()), nullptr);
    EXPECT_TRUE(p.Graphic()->Empty());
    EXPECT_THROW(ReadInto(p, "\x20TBit"), EReadError) << "a name past the end";
}

} // namespace picture_data_test
