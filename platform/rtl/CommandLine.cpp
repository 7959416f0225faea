// The command line: set by the main block (or a test), else read from the process's own.
#include "platform/rtl/CommandLine.h"

#include "platform/rtl/ConfigPaths.h"

#include <fstream>
#include <iterator>
#include <optional>

namespace {

std::optional<std::vector<std::string>>& Stored()
{
    static std::optional<std::vector<std::string>> args;
    return args;
}

// The arguments the kernel recorded for this process, NUL-separated.
std::vector<std::string> ProcessArguments()
{
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> out;
    std::string cur;
    for (char c : all) {
        if (c == '\0') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

const std::vector<std::string>& Arguments()
{
    if (!Stored()) Stored() = ProcessArguments();
    return *Stored();
}

} // namespace

int ParamCount()
{
    const std::size_t n = Arguments().size();
    return n > 1 ? static_cast<int>(n - 1) : 0;
}

std::string ParamStr(int index)
{
    if (index < 0 || index > ParamCount()) return {};
    const std::vector<std::string>& args = Arguments();
    if (index == 0) return !args.empty() && !args[0].empty() && args[0].front() == '/' ? args[0] : ExecutablePath();
    return args[static_cast<std::size_t>(index)];
}

void SetCommandLine(std::vector<std::string> args) { Stored() = std::move(args); }
