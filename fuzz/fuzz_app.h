// What the fuzz targets that need the desktop share: the application on the offscreen desktop (made at
// the first input, exceptions that reach it swallowed instead of shown), a broken promise that names its
// line, and a file of the process's own for inputs that the program reads from disk.
#pragma once

#include "platform/controls/Application.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

// The desktop's font configuration keeps a few blocks for the process's life that the leak checker
// cannot see; the program's own leaks are still reported.
// (Each target is one translation unit, so the definition stands once.)
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace fuzzapp {

inline void StartApplication()
{
    static const bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        Application->ProcessMessages();
        Application->OnException = [](TApplication&, const std::exception&) {};
        return true;
    }();
    (void)started;
}

// A broken promise: the line is told before the abort.
#define Require(condition) ((condition) ? (void)0 : fuzzapp::Broken(#condition, __LINE__))
[[noreturn]] inline void Broken(const char* what, int line)
{
    std::fprintf(stderr, "broken at line %d: %s\n", line, what);
    std::abort();
}

// The path of a temporary file of this process named by `Name` (which carries the extension). It lies in
// memory where the system offers a folder for that: truncating a file on disk for every input costs more
// than reading it.
inline std::string TempPath(const std::string& Name)
{
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return folder + "/vsp_fuzz_" + std::to_string(getpid()) + "_" + Name;
}

// That file with the given bytes; its path.
inline std::string WriteTempFile(const std::string& Bytes, const std::string& Name)
{
    const std::string path = TempPath(Name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << Bytes;
    return path;
}

} // namespace fuzzapp
