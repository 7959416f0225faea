// Byte streams: TStream (read, write, seek, with buffer calls that raise on short transfers and
// little-endian number helpers), TMemoryStream (a growable block of memory) and TFileStream (a file).
#pragma once

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

VSP_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
VSP_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
VSP_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    // Transfer up to `count` bytes at the position and advance it; the result is the number moved
    // (0 for a count of 0 or less, or at a negative position).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // The new position. Positions past the end are allowed (a later write fills the gap with zeros).
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t newSize) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t pos) { Seek(pos, soBeginning); }

    // Exactly `count` bytes, or EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies `count` bytes of `source` from its position; a count of 0 copies the whole source from its
    // start. Raises like ReadBuffer/WriteBuffer; returns the number copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    // Little-endian numbers and raw bytes; reads raise EReadError at the end of the data.
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::int16_t ReadInt16();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    std::int64_t ReadInt64();
    float ReadSingle();
    double ReadDouble();
    std::string ReadBytes(std::int64_t count);
    void WriteByte(std::uint8_t v);
    void WriteWord(std::uint16_t v);
    void WriteInt16(std::int16_t v);
    void WriteInt32(std::int32_t v);
    void WriteUInt32(std::uint32_t v);
    void WriteInt64(std::int64_t v);
    void WriteSingle(float v);
    void WriteDouble(double v);
    void WriteBytes(std::string_view bytes);

private:
    std::uint64_t ReadLittleEndian(int bytes);
    void WriteLittleEndian(std::uint64_t v, int bytes);
};

class TMemoryStream : public TStream {
public:
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    // New bytes are zero; a position beyond the new end moves to it. A negative size empties.
    void SetSize(std::int64_t newSize) override;

    void Clear();
    const std::uint8_t* Memory() const { return FData.data(); }
    std::uint8_t* Memory() { return FData.data(); }
    // The whole of `source` from its start; the position ends at 0.
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest) const;
    // Raises EFOpenError when the file cannot be read.
    void LoadFromFile(const std::string& path);
    // Replaces the file only once all bytes are written; raises EFCreateError and leaves an existing
    // file whole when that fails.
    void SaveToFile(const std::string& path) const;

private:
    std::vector<std::uint8_t> FData;
    std::int64_t FPosition = 0;
};

// Open modes: one of create, read, write or read-write; the share flags are accepted and ignored.
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00, // create or truncate, then read and write
};

class TFileStream : public TStream {
public:
    // Raises EFCreateError ("Cannot create file "<path>". <reason>") or EFOpenError ("Cannot open
    // file ..."); a folder is refused.
    TFileStream(const std::string& path, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override;
    // Raises EStreamError when the file cannot take the size.
    void SetSize(std::int64_t newSize) override;
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    int FHandle = -1;
};
