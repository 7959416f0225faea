// Streams: little-endian layout, short reads, positions past the end, files and their errors.
#include "platform/rtl/Streams.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string Bytes(TMemoryStream& s) { return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size())); }

} // namespace

TEST(MemoryStream, LittleEndianLayoutAndReadBack)
{
    TMemoryStream s;
    s.WriteWord(0x3060);
    s.WriteInt32(-2);
    s.WriteDouble(1.0);
    s.WriteByte(0xAB);
    s.WriteInt64(0x0102030405060708);
    s.WriteSingle(-0.5f);
    s.WriteBytes("TPF0");
    EXPECT_EQ(Bytes(s), std::string("\x60\x30" "\xfe\xff\xff\xff" "\0\0\0\0\0\0\xf0\x3f" "\xab"
                                    "\x08\x07\x06\x05\x04\x03\x02\x01" "\0\0\0\xbf" "TPF0", 31));
    s.SetPosition(0);
    EXPECT_EQ(s.ReadWord(), 0x3060);
    EXPECT_EQ(s.ReadInt32(), -2);
    EXPECT_EQ(s.ReadDouble(), 1.0);
    EXPECT_EQ(s.ReadByte(), 0xAB);
    EXPECT_EQ(s.ReadInt64(), 0x0102030405060708);
    EXPECT_EQ(s.ReadSingle(), -0.5f);
    EXPECT_EQ(s.ReadBytes(4), "TPF0");
    try {
        s.ReadByte();
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

TEST(MemoryStream, PositionsAndSizes)
{
    TMemoryStream s;
    EXPECT_EQ(s.Seek(3, soBeginning), 3);
    s.WriteByte(7);
    EXPECT_EQ(Bytes(s), std::string("\0\0\0\x07", 4)) << "writing past the end fills the gap with zeros";
    EXPECT_EQ(s.Seek(-2, soEnd), 2);
    EXPECT_EQ(s.Seek(1, soCurrent), 3);
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2) << "the position follows a shrinking end";
    EXPECT_EQ(s.Seek(-5, soBeginning), -5);
    char c = 0;
    EXPECT_EQ(s.Read(&c, 1), 0);
    EXPECT_THROW(s.WriteByte(1), EWriteError);
    s.SetPosition(0);
    // A corrupt length must fail before anything is allocated for it.
    EXPECT_THROW(s.ReadBytes(std::int64_t{1} << 50), EReadError);
    EXPECT_EQ(s.ReadBytes(0), "");
    EXPECT_EQ(s.Read(&c, -1), 0);
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, CopyFromAndLoadFromStream)
{
    TMemoryStream a, b;
    a.WriteBytes("abcdef");
    a.SetPosition(4);
    b.CopyFrom(a, 0);
    EXPECT_EQ(Bytes(b), "abcdef") << "count 0 copies the whole source";
    a.SetPosition(1);
    b.CopyFrom(a, 2);
    EXPECT_EQ(Bytes(b), "abcdefbc");
    EXPECT_THROW(b.CopyFrom(a, 10), EReadError);
    TMemoryStream c;
    c.LoadFromStream(b);
    EXPECT_EQ(Bytes(c), Bytes(b));
    EXPECT_EQ(c.Position(), 0);
}

TEST(FileStream, WriteSeekReadAndSize)
{
    TTempFolder tmp;
    const std::string path = tmp.File("chart.lum");
    {
        TFileStream f(path, fmCreate);
        f.WriteInt32(1);
        f.WriteInt32(2);
        f.SetPosition(2);
        f.WriteWord(0xFFFF);
        EXPECT_EQ(f.Size(), 8);
        f.SetSize(6);
        EXPECT_EQ(f.Position(), 4);
    }
    TFileStream f(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(f.Size(), 6);
    EXPECT_EQ(f.ReadInt32(), static_cast<std::int32_t>(0xFFFF0001));
    EXPECT_EQ(f.ReadWord(), 2);
    EXPECT_THROW(f.ReadByte(), EReadError);
    EXPECT_THROW(f.WriteByte(0), EWriteError) << "opened for reading only";
    EXPECT_EQ(f.FileName(), path);

    TFileStream rw(path, fmOpenReadWrite);
    rw.Seek(0, soEnd);
    rw.WriteByte(9);
    EXPECT_EQ(rw.Size(), 7);
}

TEST(FileStream, OpenAndCreateErrors)
{
    TTempFolder tmp;
    try {
        TFileStream f(tmp.File("missing.lum"), fmOpenRead);
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + tmp.File("missing.lum") + "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(tmp.Path(), fmOpenRead), EFOpenError) << "a folder is no file";
    EXPECT_THROW(TFileStream(tmp.File("no/dir.lum"), fmCreate), EFCreateError);
}

TEST(MemoryStream, FilesRoundTripAndReportFailures)
{
    TTempFolder tmp;
    TMemoryStream s;
    s.WriteBytes(std::string("\0\x01\x02\r\n", 5));
    s.SaveToFile(tmp.File("block.bin"));
    TMemoryStream t;
    t.LoadFromFile(tmp.File("block.bin"));
    EXPECT_EQ(Bytes(t), Bytes(s));
    EXPECT_THROW(t.LoadFromFile(tmp.File("none.bin")), EFOpenError);
    EXPECT_EQ(Bytes(t), Bytes(s)) << "a failed load keeps the old contents";
    EXPECT_THROW(s.SaveToFile(tmp.File("no/dir.bin")), EFCreateError);
}
