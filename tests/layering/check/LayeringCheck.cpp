// The layering check: reads every source file's include lines, each library folder's CMakeLists.txt (for
// the form units that may use Qt) and MAP.md, and lists what runs against the design. Plain C++ with no
// library of ours, so that it builds in every configuration and in a second.
#include "tests/layering/check/LayeringCheck.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace layering {

const std::vector<TLibrary>& Libraries()
{
    // An arrow points at what is used; nothing points back up. "platform" stands for its three folders,
    // reached through platform/controls, which uses the other two.
    static const std::vector<TLibrary> libraries = {
        {"platform/rtl", {}},
        {"platform/graphics", {"platform/rtl"}},
        {"platform/controls", {"platform/graphics"}},
        {"core", {"platform/rtl"}},
        {"chart/base", {"platform/controls"}},
        {"chart/engine", {"chart/base"}},
        {"chart/control", {"chart/engine"}},
        {"chart/series", {"chart/control"}},
        {"chart/extras", {"chart/series"}},
        {"grid", {"platform/controls"}},
        {"ui", {"platform/controls"}},
        {"chart/editors", {"chart/extras", "grid"}},
        {"cellmodel", {"chart/series"}},
        {"views", {"core", "chart/editors", "cellmodel", "ui"}},
    };
    return libraries;
}

std::vector<std::string> Reachable(const std::string& Folder)
{
    std::set<std::string> seen;
    std::vector<std::string> todo{Folder};
    while (!todo.empty()) {
        const std::string f = todo.back();
        todo.pop_back();
        if (!seen.insert(f).second) continue;
        for (const TLibrary& l : Libraries())
            if (l.Folder == f) todo.insert(todo.end(), l.Uses.begin(), l.Uses.end());
    }
    return {seen.begin(), seen.end()};
}

namespace {

// The folders under tests/ that are not a library's tests: fixtures, the end-to-end run (it drives the
// program, so it stands where views stands) and this check.
const std::string TestData = "tests/data";
const std::string EndToEnd = "tests/e2e";
const std::string SelfFolder = "tests/layering";

// The folders the design keeps free of Qt whatever their CMakeLists.txt says: the run time and the model
// and drawing libraries.
const std::set<std::string> NeverQt = {"platform/rtl", "core", "chart/engine", "chart/series", "cellmodel"};

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

bool IsSource(const fs::path& p) { return p.extension() == ".h" || p.extension() == ".cpp"; }

// The library folder holding a path relative to the root ("grid/ExtGrid.h" -> "grid"); empty for none.
std::string LibraryOf(const std::string& rel)
{
    std::string best;
    for (const TLibrary& l : Libraries())
        if (StartsWith(rel, l.Folder + "/") && l.Folder.size() > best.size()) best = l.Folder;
    return best;
}

// Whose tests a file under tests/ is: the library, views for the end-to-end run, the check itself, or
// empty for an unknown folder.
std::string TestOwner(const std::string& rel)
{
    if (StartsWith(rel, EndToEnd + "/")) return "views";
    if (StartsWith(rel, SelfFolder + "/")) return SelfFolder;
    return LibraryOf(rel.substr(std::string("tests/").size()));
}

std::string Relative(const fs::path& p, const fs::path& root) { return p.lexically_relative(root).generic_string(); }

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TInclude {
    int Line = 0;
    std::string Name;   // as written
    bool Angle = false; // <...>
};

// The include lines of a source text, skipping those inside comments.
std::vector<TInclude> ReadIncludes(const std::string& text)
{
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<TInclude> out;
    std::istringstream in(text);
    std::string line;
    bool inComment = false;
    for (int n = 1; std::getline(in, line); ++n) {
        std::string code;
        for (std::size_t i = 0; i < line.size();) {
            if (inComment) {
                const auto end = line.find("*/", i);
                if (end == std::string::npos) break;
                inComment = false;
                i = end + 2;
            } else if (line.compare(i, 2, "/*") == 0) {
                inComment = true;
                i += 2;
            } else if (line.compare(i, 2, "//") == 0) {
                break;
            } else {
                code += line[i++];
            }
        }
        std::smatch m;
        if (code.find("include") != std::string::npos && std::regex_search(code, m, include)) out.push_back({n, m[2].str(), m[1].str() == "<"});
    }
    return out;
}

// A header of Qt: its first path part is a Qt class or module name (QString, QtWidgets/...), or an old
// lower-case Qt header (qglobal.h).
bool IsQtHeader(const std::string& name)
{
    static const std::regex qt(R"(^(Q[A-Za-z0-9_]*|q[a-z0-9_]*\.h)(/.*)?$)");
    return std::regex_match(name, qt);
}

// What a folder's CMakeLists.txt says of Qt: QT for the whole folder, or the form units by FORMS.
struct TQtUse {
    bool Folder = false;
    std::set<std::string> Forms; // unit names ("LumPrevi")
};

TQtUse ReadQtUse(const fs::path& cmakeLists)
{
    TQtUse use;
    std::string text;
    std::istringstream in(ReadFile(cmakeLists));
    for (std::string line; std::getline(in, line);) text += line.substr(0, line.find('#')) + "\n";
    const auto start = text.find("vsp_library(");
    if (start == std::string::npos) return use;
    const auto end = text.find(')', start);
    std::istringstream args(text.substr(start + 12, end - start - 12));
    std::string word, keyword;
    args >> word;   // the library's name
    while (args >> word) {
        if (word == "QT") use.Folder = true;
        if (word == "QT" || word == "FORMS" || word == "DEPS") keyword = word;
        else if (keyword == "FORMS") use.Forms.insert(fs::path(word).stem().string());
    }
    return use;
}

struct TSource {
    std::string Rel;   // relative to the root
    std::string Owner; // the library (for a test: the library it tests), empty when none
    bool Test = false;
    std::vector<TInclude> Includes;
};

// The unit of a product file: its path inside its library folder without the extension ("main/vornsp2dp").
std::string UnitName(const TSource& s)
{
    const std::string inside = s.Rel.substr(s.Owner.size() + 1);
    return inside.substr(0, inside.rfind('.'));
}

class TChecker {
public:
    explicit TChecker(fs::path root) : FRoot(std::move(root)) {}

    std::vector<std::string> Run()
    {
        Collect();
        FindQtCarriers();
        for (const TSource& s : FSources) CheckIncludes(s);
        CheckMap();
        std::sort(FFaults.begin(), FFaults.end());
        return FFaults;
    }

private:
    void Fault(const std::string& text) { FFaults.push_back(text); }

    void Collect()
    {
        std::set<std::string> tops;
        for (const TLibrary& l : Libraries()) tops.insert(l.Folder.substr(0, l.Folder.find('/')));
        tops.insert("tests");
        for (const std::string& top : tops) {
            if (!fs::is_directory(FRoot / top)) continue;
            for (const auto& e : fs::recursive_directory_iterator(FRoot / top)) {
                if (!e.is_regular_file() || !IsSource(e.path())) continue;
                TSource s;
                s.Rel = Relative(e.path(), FRoot);
                s.Test = top == "tests";
                if (s.Test && StartsWith(s.Rel, TestData + "/")) continue;
                s.Owner = s.Test ? TestOwner(s.Rel) : LibraryOf(s.Rel);
                if (s.Owner.empty()) {
                    Fault(s.Rel + ": lies in no library folder of the layering check (tests/layering/check/"
                                  "LayeringCheck.cpp lists them)");
                    continue;
                }
                s.Includes = ReadIncludes(ReadFile(e.path()));
                FIndex[s.Rel] = FSources.size();
                FSources.push_back(std::move(s));
            }
        }
        for (const TLibrary& l : Libraries())
            if (fs::exists(FRoot / l.Folder / "CMakeLists.txt")) FQt[l.Folder] = ReadQtUse(FRoot / l.Folder / "CMakeLists.txt");
    }

    // The file an include names, relative to the root: beside the including file, else from the root;
    // nothing for a header outside the tree.
    std::optional<std::string> Resolve(const TSource& s, const TInclude& inc) const
    {
        if (inc.Angle) return std::nullopt;
        const fs::path beside = (FRoot / s.Rel).parent_path() / inc.Name;
        if (fs::exists(beside)) return Relative(beside.lexically_normal(), FRoot);
        const std::string rel = fs::path(inc.Name).lexically_normal().generic_string();
        const std::string top = rel.substr(0, rel.find('/'));
        if (fs::exists(FRoot / rel) || top == "tests" || std::any_of(Libraries().begin(), Libraries().end(),
                [&](const TLibrary& l) { return StartsWith(l.Folder, top + "/") || l.Folder == top; }))
            return rel;
        return std::nullopt;
    }

    bool MayUseQt(const TSource& s) const
    {
        if (NeverQt.count(s.Owner)) return false;
        if (StartsWith(s.Owner, "platform/")) return true;
        const auto it = FQt.find(s.Owner);
        if (it == FQt.end()) return false;
        return it->second.Folder || it->second.Forms.count(fs::path(s.Rel).stem().string()) > 0;
    }

    // For every source of ours that brings Qt in, directly or through the headers of ours it includes, the
    // Qt include it brings ("<QDialog> (platform/controls/Forms.h:8)"): grown until nothing changes, so
    // headers that include each other need no care.
    void FindQtCarriers()
    {
        for (const TSource& s : FSources)
            for (const TInclude& inc : s.Includes)
                if (inc.Angle && IsQtHeader(inc.Name)) {
                    FCarried[s.Rel] = "<" + inc.Name + "> (" + s.Rel + ":" + std::to_string(inc.Line) + ")";
                    break;
                }
        for (bool grown = true; grown;) {
            grown = false;
            for (const TSource& s : FSources) {
                if (FCarried.count(s.Rel)) continue;
                for (const TInclude& inc : s.Includes) {
                    const auto target = Resolve(s, inc);
                    if (!target || !FCarried.count(*target)) continue;
                    FCarried[s.Rel] = FCarried[*target];
                    grown = true;
                    break;
                }
            }
        }
    }

    static std::string QtRule(const std::string& folder)
    {
        return NeverQt.count(folder) ? folder + " never includes Qt"
                                     : folder + " may use Qt only in its form units (FORMS of its CMakeLists.txt) and this is none";
    }

    void CheckIncludes(const TSource& s)
    {
        const std::vector<std::string> reach = s.Owner == SelfFolder ? std::vector<std::string>{} : Reachable(s.Owner);
        const auto reaches = [&](const std::string& f) { return std::find(reach.begin(), reach.end(), f) != reach.end(); };
        const bool qtFree = !s.Test && !MayUseQt(s);
        for (const TInclude& inc : s.Includes) {
            const std::string where = s.Rel + ":" + std::to_string(inc.Line) + ": ";
            if (inc.Angle || !Resolve(s, inc)) {
                if (qtFree && IsQtHeader(inc.Name))
                    Fault(where + "includes <" + inc.Name + ">, but " + QtRule(s.Owner));
                continue;
            }
            const std::string target = *Resolve(s, inc);
            const bool testTarget = StartsWith(target, "tests/");
            const std::string owner = testTarget ? TestOwner(target) : LibraryOf(target);
            const std::string who = s.Test ? "the tests of " + s.Owner : s.Owner;
            if (testTarget && !s.Test) Fault(where + "includes " + target + ": a library never includes a test file");
            else if (owner.empty()) Fault(where + "includes " + target + ", which lies in no library folder");
            else if (owner == SelfFolder ? s.Owner != SelfFolder : !reaches(owner))
                Fault(where + "includes " + target + " of " + owner + ", but " + who + " may use only " +
                      Join(reach) + " (the design's arrows)");
            else if (qtFree && FCarried.count(target))
                Fault(where + "includes " + target + ", which brings in Qt through " + FCarried[target] + ", but " +
                      QtRule(s.Owner));
        }
    }

    static std::string Join(const std::vector<std::string>& folders)
    {
        std::string out;
        for (const std::string& f : folders) out += (out.empty() ? "" : ", ") + f + "/";
        return out.empty() ? "nothing of ours" : out;
    }

    // MAP.md: a section "## <folder>/" per library folder holding a table whose rows start with the unit's
    // name in backticks and end with its test files (names in tests/<folder>/, or paths from the root).
    void CheckMap()
    {
        const fs::path mapFile = FRoot / "MAP.md";
        if (!fs::exists(mapFile)) {
            Fault("MAP.md: missing at the root of the tree");
            return;
        }
        std::map<std::string, std::set<std::string>> units; // folder -> unit names
        std::istringstream in(ReadFile(mapFile));
        std::string section, line;
        static const std::regex backticked("`([^`]+)`");
        for (int n = 1; std::getline(in, line); ++n) {
            if (StartsWith(line, "## ")) {
                std::istringstream words(line.substr(3));
                words >> section;
                section.erase(std::remove(section.begin(), section.end(), '`'), section.end());
                if (!section.empty() && section.back() == '/') section.pop_back();
                if (!std::any_of(Libraries().begin(), Libraries().end(), [&](const TLibrary& l) { return l.Folder == section; }))
                    section.clear();
                else units[section];
                continue;
            }
            if (section.empty() || !StartsWith(line, "|")) continue;
            std::vector<std::string> cells;
            std::istringstream row(line.substr(1));
            for (std::string cell; std::getline(row, cell, '|');) cells.push_back(cell);
            if (cells.empty()) continue;
            const std::string where = "MAP.md:" + std::to_string(n) + ": ";
            for (auto it = std::sregex_iterator(cells.front().begin(), cells.front().end(), backticked);
                 it != std::sregex_iterator(); ++it) {
                const std::string unit = (*it)[1].str();
                units[section].insert(unit);
                if (!fs::exists(FRoot / section / (unit + ".h")) && !fs::exists(FRoot / section / (unit + ".cpp")))
                    Fault(where + "names " + section + "/" + unit + ", which has neither a .h nor a .cpp");
            }
            if (cells.size() < 2) continue;
            const std::string& tests = cells.back();
            for (auto it = std::sregex_iterator(tests.begin(), tests.end(), backticked); it != std::sregex_iterator(); ++it) {
                const fs::path name = (*it)[1].str();
                if (!IsSource(name)) continue;
                const fs::path file = name.has_parent_path() ? FRoot / name : FRoot / "tests" / section / name;
                if (!fs::exists(file)) Fault(where + "names the test file " + Relative(file, FRoot) + ", which does not exist");
            }
        }
        // One fault per unit missing, naming its files.
        std::map<std::pair<std::string, std::string>, std::set<std::string>> missing;
        for (const TSource& s : FSources) {
            if (s.Test) continue;
            const std::string unit = UnitName(s);
            const auto it = units.find(s.Owner);
            if (it == units.end() || !it->second.count(unit)) missing[{s.Owner, unit}].insert(s.Rel);
        }
        for (const auto& [key, paths] : missing) {
            const auto& [folder, unit] = key;
            std::string files;
            for (const std::string& p : paths) files += (files.empty() ? "" : " and ") + p;
            const std::string row = "\"| `" + unit + "` | role | main classes | test files |\"";
            Fault("MAP.md: " + files + (files.find(" and ") != std::string::npos ? " are" : " is") + " not on the map: " +
                  (units.count(folder) ? "add the row " + row + " to the table of " + folder + "/"
                                       : "add a section \"## " + folder + "/\" with the row " + row));
        }
    }

    fs::path FRoot;
    std::vector<TSource> FSources;
    std::map<std::string, std::size_t> FIndex;
    std::map<std::string, TQtUse> FQt;
    std::map<std::string, std::string> FCarried;
    std::vector<std::string> FFaults;
};

} // namespace

std::vector<std::string> CheckTree(const fs::path& Root) { return TChecker(fs::absolute(Root).lexically_normal()).Run(); }

} // namespace layering
