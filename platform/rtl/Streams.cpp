// Streams over memory and files; files through POSIX descriptors so positions and sizes are 64-bit.
#include "platform/rtl/Streams.h"

#include "platform/rtl/TextFile.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// ---- TStream --------------------------------------------------------------------------------------

std::int64_t TStream::Size()
{
    const std::int64_t pos = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(std::max<std::int64_t>(count, 0), 65536)));
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

std::uint64_t TStream::ReadLittleEndian(int bytes)
{
    std::uint8_t b[8] = {};
    ReadBuffer(b, bytes);
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[i];
    return v;
}

void TStream::WriteLittleEndian(std::uint64_t v, int bytes)
{
    std::uint8_t b[8];
    for (int i = 0; i < bytes; ++i) b[i] = static_cast<std::uint8_t>(v >> (8 * i));
    WriteBuffer(b, bytes);
}

std::uint8_t TStream::ReadByte() { return static_cast<std::uint8_t>(ReadLittleEndian(1)); }
std::uint16_t TStream::ReadWord() { return static_cast<std::uint16_t>(ReadLittleEndian(2)); }
std::int16_t TStream::ReadInt16() { return static_cast<std::int16_t>(ReadLittleEndian(2)); }
std::int32_t TStream::ReadInt32() { return static_cast<std::int32_t>(ReadLittleEndian(4)); }
std::uint32_t TStream::ReadUInt32() { return static_cast<std::uint32_t>(ReadLittleEndian(4)); }
std::int64_t TStream::ReadInt64() { return static_cast<std::int64_t>(ReadLittleEndian(8)); }
float TStream::ReadSingle() { return std::bit_cast<float>(static_cast<std::uint32_t>(ReadLittleEndian(4))); }
double TStream::ReadDouble() { return std::bit_cast<double>(ReadLittleEndian(8)); }

std::string TStream::ReadBytes(std::int64_t count)
{
    if (count <= 0) return {};
    // Checked against what is left before allocating, so a corrupt length cannot ask for gigabytes.
    if (count > Size() - Position()) throw EReadError("Stream read error");
    std::string s(static_cast<std::size_t>(count), '\0');
    ReadBuffer(s.data(), count);
    return s;
}

void TStream::WriteByte(std::uint8_t v) { WriteLittleEndian(v, 1); }
void TStream::WriteWord(std::uint16_t v) { WriteLittleEndian(v, 2); }
void TStream::WriteInt16(std::int16_t v) { WriteLittleEndian(static_cast<std::uint16_t>(v), 2); }
void TStream::WriteInt32(std::int32_t v) { WriteLittleEndian(static_cast<std::uint32_t>(v), 4); }
void TStream::WriteUInt32(std::uint32_t v) { WriteLittleEndian(v, 4); }
void TStream::WriteInt64(std::int64_t v) { WriteLittleEndian(static_cast<std::uint64_t>(v), 8); }
void TStream::WriteSingle(float v) { WriteLittleEndian(std::bit_cast<std::uint32_t>(v), 4); }
void TStream::WriteDouble(double v) { WriteLittleEndian(std::bit_cast<std::uint64_t>(v), 8); }
void TStream::WriteBytes(std::string_view bytes) { WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size())); }

// ---- TMemoryStream --------------------------------------------------------------------------------

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count)
{
    const std::int64_t size = Size();
    if (count <= 0 || FPosition < 0 || FPosition >= size) return 0;
    const std::int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0 || FPosition < 0) return 0;
    std::int64_t end = 0;
    if (__builtin_add_overflow(FPosition, count, &end) || static_cast<std::uint64_t>(end) > FData.max_size()) return 0;
    if (end > Size()) FData.resize(static_cast<std::size_t>(end));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
    FPosition = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : Size();
    std::int64_t target = 0;
    if (!__builtin_add_overflow(base, offset, &target)) FPosition = target; // an overflowing seek stays put
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t newSize)
{
    FData.resize(static_cast<std::size_t>(std::max<std::int64_t>(newSize, 0)));
    if (FPosition > Size()) FPosition = Size();
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t n = source.Size();
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::max<std::int64_t>(n, 0)));
    source.ReadBuffer(data.data(), n);
    FData = std::move(data);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) const
{
    dest.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

void TMemoryStream::LoadFromFile(const std::string& path)
{
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& path) const
{
    const std::string_view bytes(reinterpret_cast<const char*>(FData.data()), FData.size());
    if (!SaveFileSafely(path, bytes)) throw EFCreateError("Cannot create file \"" + path + "\". " + std::strerror(errno));
}

// ---- TFileStream ----------------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& path, unsigned mode) : FFileName(path)
{
    const bool create = (mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create)
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    else
        flags |= (mode & 3) == fmOpenWrite ? O_WRONLY : (mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
    FHandle = ::open(path.c_str(), flags, 0666);
    int error = errno;
    struct stat st {};
    if (FHandle >= 0 && ::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        error = EISDIR;
    }
    if (FHandle < 0) {
        const std::string reason = std::strerror(error);
        if (create) throw EFCreateError("Cannot create file \"" + path + "\". " + reason);
        throw EFOpenError("Cannot open file \"" + path + "\". " + reason);
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0) ::close(FHandle);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    std::int64_t done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < count) {
        const ssize_t n = ::read(FHandle, p + done, static_cast<std::size_t>(std::min<std::int64_t>(count - done, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    std::int64_t done = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(FHandle, p + done, static_cast<std::size_t>(std::min<std::int64_t>(count - done, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    const off_t r = ::lseek(FHandle, static_cast<off_t>(offset), whence);
    return r < 0 ? ::lseek(FHandle, 0, SEEK_CUR) : r;
}

std::int64_t TFileStream::Size()
{
    struct stat st {};
    return ::fstat(FHandle, &st) == 0 ? st.st_size : 0;
}

void TFileStream::SetSize(std::int64_t newSize)
{
    if (newSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(newSize)) != 0)
        throw EStreamError("Cannot set the size of \"" + FFileName + "\"");
    if (Position() > newSize) Seek(0, soEnd);
}
