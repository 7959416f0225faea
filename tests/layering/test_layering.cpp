// The layering check on small trees written for each case: includes with and against the design's
// arrows, Qt in form units and elsewhere (directly or through a header of ours), includes the check must
// not see (comments), and MAP.md missing a unit or naming one that is gone.
#include "tests/layering/check/LayeringCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using layering::CheckTree;

namespace {

using TFiles = std::map<std::string, std::string>; // path from the root -> text

// A tree in a fresh temporary folder; without a MAP.md of the case's own, one naming every unit of the
// library folders is written.
class TTree {
public:
    explicit TTree(const TFiles& files)
    {
        std::random_device seed;
        FRoot = fs::temp_directory_path() / ("vsp_layering_" + std::to_string(seed()));
        fs::create_directories(FRoot);
        for (const auto& [path, text] : files) Write(path, text);
        if (!files.count("MAP.md")) Write("MAP.md", MapOf(files));
    }
    ~TTree() { fs::remove_all(FRoot); }
    std::vector<std::string> Faults() const { return CheckTree(FRoot); }

private:
    void Write(const std::string& path, const std::string& text)
    {
        fs::create_directories((FRoot / path).parent_path());
        std::ofstream(FRoot / path, std::ios::binary) << text;
    }
    static std::string MapOf(const TFiles& files)
    {
        std::map<std::string, std::set<std::string>> units;
        for (const auto& [path, text] : files) {
            std::string folder;
            for (const layering::TLibrary& l : layering::Libraries())
                if (path.rfind(l.Folder + "/", 0) == 0 && l.Folder.size() > folder.size()) folder = l.Folder;
            const fs::path inside = fs::path(path.substr(folder.size() + 1));
            if (!folder.empty() && (inside.extension() == ".h" || inside.extension() == ".cpp"))
                units[folder].insert(fs::path(inside).replace_extension().generic_string());
        }
        std::string map;
        for (const auto& [folder, names] : units) {
            map += "## " + folder + "/\n\n| Unit | Role | Main classes | Tests |\n|---|---|---|---|\n";
            for (const std::string& n : names) map += "| `" + n + "` | a unit | — | — |\n";
        }
        return map;
    }
    fs::path FRoot;
};

struct TCase {
    const char* Name;
    TFiles Files;
    std::vector<std::string> Expected; // each a fault line's beginning; none for a sound tree
};

void ExpectFaults(const TCase& c)
{
    const std::vector<std::string> faults = TTree(c.Files).Faults();
    std::string all;
    for (const std::string& f : faults) all += f + "\n";
    EXPECT_EQ(faults.size(), c.Expected.size()) << c.Name << ":\n" << all;
    for (const std::string& e : c.Expected)
        EXPECT_TRUE(std::any_of(faults.begin(), faults.end(), [&](const std::string& f) { return f.rfind(e, 0) == 0; }))
            << c.Name << ": no fault starting \"" << e << "\" in\n" << all;
}

} // namespace

TEST(Layering, ArrowsAreTransitiveAndPointDownOnly)
{
    const std::vector<std::string> views = layering::Reachable("views");
    for (const char* f : {"core", "chart/editors", "chart/base", "grid", "ui", "platform/rtl", "views"})
        EXPECT_NE(std::find(views.begin(), views.end(), f), views.end()) << f;
    EXPECT_EQ(layering::Reachable("core"), (std::vector<std::string>{"core", "platform/rtl"}));
    EXPECT_EQ(layering::Reachable("platform/rtl"), (std::vector<std::string>{"platform/rtl"}));
    // Nothing reaches a library that reaches it back.
    for (const layering::TLibrary& l : layering::Libraries())
        for (const std::string& used : layering::Reachable(l.Folder)) {
            if (used == l.Folder) continue;
            const std::vector<std::string> back = layering::Reachable(used);
            EXPECT_EQ(std::find(back.begin(), back.end(), l.Folder), back.end()) << l.Folder << " <-> " << used;
        }
}

TEST(Layering, IncludesAgainstTheArrows)
{
    const TCase cases[] = {
        {"includes down the arrows, quoted from the root or beside the file",
         {{"platform/rtl/Strings.h", "#pragma once\n#include <string>\n"},
          {"chart/base/Canvas.h", "#include \"platform/rtl/Strings.h\"\n"},
          {"chart/engine/Axis.cpp", "#include \"chart/engine/Axis.h\"\n#include \"Axis.h\"\n#include \"chart/base/Canvas.h\"\n"},
          {"chart/engine/Axis.h", "#pragma once\n"},
          {"views/main/program.cpp", "#include \"chart/engine/Axis.h\"\n#include \"core/Model.h\"\n"},
          {"core/Model.h", "#include \"platform/rtl/Strings.h\"\n"}},
         {}},
        {"a views header in chart/engine",
         {{"views/Window.h", "#pragma once\n"},
          {"chart/engine/Axis.cpp", "// the axis\n\n#include \"views/Window.h\"\n"}},
         {"chart/engine/Axis.cpp:3: includes views/Window.h of views, but chart/engine may use only"}},
        {"the platform includes nothing above it; core only the run time",
         {{"platform/controls/Form.h", "#pragma once\n"},
          {"platform/graphics/Canvas.cpp", "#include \"platform/controls/Form.h\"\n"},
          {"chart/base/Panel.h", "#pragma once\n"},
          {"core/Model.cpp", "#include \"platform/controls/Form.h\"\n#include \"chart/base/Panel.h\"\n"}},
         {"platform/graphics/Canvas.cpp:1: includes platform/controls/Form.h of platform/controls",
          "core/Model.cpp:1: includes platform/controls/Form.h", "core/Model.cpp:2: includes chart/base/Panel.h"}},
        {"a library never includes a test file",
         {{"tests/grid/Host.h", "#pragma once\n"}, {"grid/Grid.cpp", "#include \"tests/grid/Host.h\"\n"}},
         {"grid/Grid.cpp:1: includes tests/grid/Host.h: a library never includes a test file"}},
        {"tests include what their library may use, and the tests of those libraries",
         {{"grid/Grid.h", "#pragma once\n"},
          {"views/Editor.h", "#pragma once\n"},
          {"tests/platform/rtl/Temp.h", "#pragma once\n"},
          {"tests/grid/Hosts.h", "#include \"grid/Grid.h\"\n"},
          {"tests/grid/test_grid.cpp", "#include \"Hosts.h\"\n#include \"tests/platform/rtl/Temp.h\"\n#include \"views/Editor.h\"\n"},
          {"tests/views/test_editor.cpp", "#include \"tests/grid/Hosts.h\"\n#include \"views/Editor.h\"\n"}},
         {"tests/grid/test_grid.cpp:3: includes views/Editor.h of views, but the tests of grid may use only"}},
        {"a file outside every library folder",
         {{"chart/newfolder/Thing.h", "#pragma once\n"}},
         {"chart/newfolder/Thing.h: lies in no library folder"}},
        {"includes inside comments are not read",
         {{"views/Window.h", "#pragma once\n"},
          {"core/Model.cpp", "// #include \"views/Window.h\"\n/* one\n#include \"views/Window.h\"\n*/ int x;\n"}},
         {}},
    };
    for (const TCase& c : cases) ExpectFaults(c);
}

TEST(Layering, QtOnlyInThePlatformAndInFormUnits)
{
    const std::string uiLists = "# the kit\nvsp_library(vsp_ui FORMS Palette.cpp # the palette window\n"
                                "            DEPS vsp_platform_controls)\n";
    const TCase cases[] = {
        {"the platform above its run time, a QT folder and a form unit with its header",
         {{"platform/controls/Widget.cpp", "#include <QWidget>\n#include <QtCore/QString>\n"},
          {"views/CMakeLists.txt", "vsp_library(vsp_views QT DEPS vsp_core)\n"},
          {"views/Window.cpp", "#include <QMainWindow>\n"},
          {"ui/CMakeLists.txt", uiLists},
          {"ui/Palette.cpp", "#include \"ui/Palette.h\"\n#include <QDialog>\n"},
          {"ui/Palette.h", "#include <QColor>\n"}},
         {}},
        {"Qt in core, in the run time and in a plain unit beside the forms",
         {{"core/Model.cpp", "#include <QString>\n"},
          {"platform/rtl/Text.h", "#include <qglobal.h>\n"},
          {"ui/CMakeLists.txt", uiLists},
          {"ui/Button.cpp", "#include <vector>\n#include <QPushButton>\n"}},
         {"core/Model.cpp:1: includes <QString>, but core never includes Qt",
          "platform/rtl/Text.h:1: includes <qglobal.h>, but platform/rtl never includes Qt",
          "ui/Button.cpp:2: includes <QPushButton>, but ui may use Qt only in its form units"}},
        {"a FORMS line cannot open the model libraries to Qt",
         {{"chart/engine/CMakeLists.txt", "vsp_library(vsp_chart_engine FORMS Axis.cpp)\n"},
          {"chart/engine/Axis.cpp", "#include <QPainter>\n"}},
         {"chart/engine/Axis.cpp:1: includes <QPainter>, but chart/engine never includes Qt"}},
        {"Qt brought in through headers of ours",
         {{"platform/controls/Forms.h", "#pragma once\n#include <QDialog>\n"},
          {"platform/controls/Dialogs.h", "#include \"platform/controls/Forms.h\"\n"},
          {"platform/controls/Plain.h", "#include <string>\n"},
          {"grid/Grid.cpp", "#include \"platform/controls/Plain.h\"\n#include \"platform/controls/Dialogs.h\"\n"}},
         {"grid/Grid.cpp:2: includes platform/controls/Dialogs.h, which brings in Qt through <QDialog> "
          "(platform/controls/Forms.h:2)"}},
        {"headers that include each other are followed once",
         {{"grid/A.h", "#pragma once\n#include \"grid/B.h\"\n"}, {"grid/B.h", "#pragma once\n#include \"grid/A.h\"\n"},
          {"grid/C.cpp", "#include \"grid/A.h\"\n"}},
         {}},
    };
    for (const TCase& c : cases) ExpectFaults(c);
}

TEST(Layering, MapNamesEveryUnitAndOnlyUnitsThatExist)
{
    const std::string head = "## grid/ the grid\n\n| Unit | Role | Main classes | Tests |\n|---|---|---|---|\n";
    const TCase cases[] = {
        {"every unit named, test files by name or by path",
         {{"grid/Grid.h", ""}, {"grid/Grid.cpp", ""}, {"grid/Sort.cpp", ""},
          {"tests/grid/test_grid.cpp", ""}, {"tests/views/test_window.cpp", ""},
          {"MAP.md", head + "| `Grid` | the grid | `TGrid` | `test_grid.cpp` |\n"
                            "| `Sort` | sorting | — | `tests/views/test_window.cpp`, by hand |\n"}},
         {}},
        {"a unit and a folder missing",
         {{"grid/Grid.h", ""}, {"grid/Sort.h", ""}, {"grid/Sort.cpp", ""}, {"ui/Button.cpp", ""},
          {"MAP.md", head + "| `Grid` | the grid | — | — |\n"}},
         {"MAP.md: grid/Sort.cpp and grid/Sort.h are not on the map: add the row \"| `Sort` | role | main classes | "
          "test files |\" to the table of grid/",
          "MAP.md: ui/Button.cpp is not on the map: add a section \"## ui/\" with the row \"| `Button` |"}},
        {"rows naming a unit or a test file that is gone",
         {{"grid/Grid.h", ""},
          {"MAP.md", head + "| `Grid` | the grid | — | `test_gone.cpp` |\n| `Old` | gone | — | — |\n"}},
         {"MAP.md:5: names the test file tests/grid/test_gone.cpp, which does not exist",
          "MAP.md:6: names grid/Old, which has neither a .h nor a .cpp"}},
        {"no map at all",
         {{"grid/Grid.h", ""}, {"MAP.md", ""}},
         {"MAP.md: grid/Grid.h is not on the map"}},
    };
    for (const TCase& c : cases) ExpectFaults(c);
}
