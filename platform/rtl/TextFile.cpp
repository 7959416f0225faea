// Text-file reading and the safe save through a temporary file beside the target.
#include "platform/rtl/TextFile.h"

#include "platform/rtl/NumberText.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool LoadFileBytes(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) bytes.clear();
    return ok;
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    std::string_view line;
    while (NextTextLine(text, pos, line)) lines.emplace_back(line);
    return lines;
}

// ---- safe save ------------------------------------------------------------------------------------

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates a fresh file named after the target in its folder; -1 when the folder refuses.
int CreateTemporaryBeside(const std::filesystem::path& target, std::string& tempPath)
{
    std::random_device random;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = (folder / ("." + target.filename().string() + ".tmp" + std::to_string(random() % 1000000000))).string();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

bool SaveFileSafely(const std::string& path, std::string_view bytes)
{
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    std::error_code ec;
    std::filesystem::path target = path;
    if (std::filesystem::is_symlink(target, ec)) target = std::filesystem::weakly_canonical(target, ec);
    if (ec) target = path;

    std::string tempPath;
    const int fd = CreateTemporaryBeside(target, tempPath);
    if (fd < 0) return false;
    struct stat old {};
    bool ok = true;
    if (::stat(target.c_str(), &old) == 0) {
        ok = !S_ISDIR(old.st_mode);
        if (!ok) errno = EISDIR;
        else ::fchmod(fd, old.st_mode & 07777);
    }
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(tempPath.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(tempPath.c_str());
        errno = error;
    }
    return ok;
}

// ---- TTextReader ----------------------------------------------------------------------------------

TTextReader::TTextReader(const std::string& path) { FOpened = LoadFileBytes(path, FText); }

TTextReader TTextReader::FromText(std::string text) { return TTextReader(std::move(text), true); }

bool TTextReader::ReadLn(std::string& line)
{
    std::string_view view;
    const bool read = NextTextLine(FText, FPos, view);
    line.assign(view);
    return read;
}

void TTextReader::SkipLn()
{
    const std::size_t end = FText.find('\n', FPos);
    FPos = end == std::string::npos ? FText.size() : end + 1;
}

std::string_view TTextReader::NextToken()
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (FPos < FText.size() && blank(FText[FPos])) ++FPos;
    const std::size_t start = FPos;
    while (FPos < FText.size() && !blank(FText[FPos])) ++FPos;
    return std::string_view(FText).substr(start, FPos - start);
}

bool TTextReader::ReadReal(double& value)
{
    const std::string_view token = NextToken();
    double v = 0;
    if (token.empty() || !TryParseNumber(token, v) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool TTextReader::ReadInteger(std::int32_t& value)
{
    std::string_view token = NextToken();
    if (token.size() > 1 && token[0] == '+' && token[1] != '-') token.remove_prefix(1);
    std::int32_t v = 0;
    const auto r = std::from_chars(token.data(), token.data() + token.size(), v);
    if (token.empty() || r.ec != std::errc() || r.ptr != token.data() + token.size()) return false;
    value = v;
    return true;
}
