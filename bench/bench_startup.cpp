// Start-up of the program: a fresh process to the main window's first completed paint (the program ends
// there when VSP_EXIT_AFTER_FIRST_PAINT is set), the median of 20 runs, on the offscreen platform and on
// an X server of its own (Xvfb), with the splash and without it ("-ns"). Target: under 0.5 s.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int Runs = 20;

std::string ProcessorName()
{
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown";
}

// The program copied into a folder of its own, with a configuration folder beside it, so runs start
// from the same settings and never touch the user's.
struct TSandbox {
    std::filesystem::path Folder;
    std::string Program;
    TSandbox()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vsp-startup-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return;
        Folder = pattern;
        Program = (Folder / "vornsp2dp").string();
        std::filesystem::copy_file(VSP_PROGRAM, Program);
        std::filesystem::create_directory(Folder / "config");
    }
    ~TSandbox()
    {
        std::error_code ec;
        if (!Folder.empty()) std::filesystem::remove_all(Folder, ec);
    }
};

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        bool replaced = false;
        for (const std::string& x : extraEnv) replaced = replaced || v.substr(0, v.find('=')) == x.substr(0, x.find('='));
        if (!replaced) env.push_back(v);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> argv, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0].c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
    return pid;
}

// An X server of its own for the runs on the xcb platform.
struct TXServer {
    pid_t Pid = -1;
    std::string Display;
    TXServer()
    {
        int fds[2];
        if (::pipe(fds) != 0) return;
        const std::string fd = std::to_string(fds[1]);
        Pid = Spawn({"/usr/bin/Xvfb", "-displayfd", fd, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {});
        ::close(fds[1]);
        char buf[32] = {};
        const ssize_t n = Pid > 0 ? ::read(fds[0], buf, sizeof buf - 1) : 0;
        ::close(fds[0]);
        if (n > 0) Display = ":" + std::string(buf, buf + std::strcspn(buf, "\n"));
    }
    ~TXServer()
    {
        if (Pid > 0) {
            ::kill(Pid, SIGTERM);
            ::waitpid(Pid, nullptr, 0);
        }
    }
};

// Seconds from the spawn to the end of the process; negative when it failed.
double TimeOneStart(const TSandbox& box, const std::string& platform, const std::string& display, bool splash)
{
    std::vector<std::string> args{box.Program};
    if (!splash) args.push_back("-ns");
    std::vector<std::string> env{"QT_QPA_PLATFORM=" + platform, "VSP_EXIT_AFTER_FIRST_PAINT=1",
                                 "XDG_CONFIG_HOME=" + (box.Folder / "config").string()};
    if (!display.empty()) env.push_back("DISPLAY=" + display);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = Spawn(args, env);
    if (pid < 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double>(end - start).count();
}

void StartToFirstPaint(benchmark::State& state, const std::string& platform, bool splash)
{
    TSandbox box;
    std::unique_ptr<TXServer> x;
    std::string display;
    if (platform == "xcb") {
        if (!std::filesystem::exists("/usr/bin/Xvfb")) {
            state.SkipWithError("Xvfb is missing (scripts/deps.sh installs it)");
            return;
        }
        x = std::make_unique<TXServer>();
        display = x->Display;
        if (display.empty()) {
            state.SkipWithError("Xvfb did not start");
            return;
        }
    }
    TimeOneStart(box, platform, display, splash); // a first start warms the file cache
    for (auto _ : state) {
        std::vector<double> times;
        for (int i = 0; i < Runs; ++i) {
            const double t = TimeOneStart(box, platform, display, splash);
            if (t < 0) {
                state.SkipWithError("the program did not end with status 0");
                return;
            }
            times.push_back(t);
        }
        std::sort(times.begin(), times.end());
        const double median = 0.5 * (times[Runs / 2 - 1] + times[Runs / 2]);
        state.SetIterationTime(median);
        state.counters["median_s"] = median;
        state.counters["fastest_s"] = times.front();
        state.counters["slowest_s"] = times.back();
        state.counters["target_s"] = 0.5;
    }
}

void BM_StartOffscreenSplash(benchmark::State& s) { StartToFirstPaint(s, "offscreen", true); }
void BM_StartOffscreenNoSplash(benchmark::State& s) { StartToFirstPaint(s, "offscreen", false); }
void BM_StartXvfbSplash(benchmark::State& s) { StartToFirstPaint(s, "xcb", true); }
void BM_StartXvfbNoSplash(benchmark::State& s) { StartToFirstPaint(s, "xcb", false); }

} // namespace

BENCHMARK(BM_StartOffscreenSplash)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartOffscreenNoSplash)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartXvfbSplash)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartXvfbNoSplash)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::AddCustomContext("processor", ProcessorName());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
