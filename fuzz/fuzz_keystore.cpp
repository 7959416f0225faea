// Fuzz target of the key store file that stands in for the registry: the file as the program's readers
// meet it (a colour button's custom colours, the chart editor's window options, the values of a key named
// by the input), then the program's writes into it (the file association, the custom colours saved):
// every value written reads back as written, every value read before reads the same after, and custom
// colours saved and read by a second button are the first button's.
// Input: a line naming a key and a value to read ("key=name"), then the store file.
#include "chart/base/RadErareServices.h"
#include "fuzz/fuzz_app.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StrUtils.h"
#include "ui/KITClrBn.h"
#include "views/ResMainFormSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const ColorsKey = "\\Software\\VornSP2dp";
const char* const ButtonName = "kitColorButton1";

// What a key's value reads as: missing, its text, its number, or the errors the reader raises. (A value
// of a key that is missing is missing too: the writes may make keys, such as the button's.)
std::string ValueText(HKEY root, const std::string& key, const std::string& name)
{
    TRegistry reg;
    reg.SetRootKey(root);
    if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(name)) return "missing";
    std::string text = "s:";
    try {
        text += reg.ReadString(name);
    } catch (const ERegistryException& e) {
        text = e.Message();
    }
    try {
        text += "|i:" + std::to_string(reg.ReadInteger(name));
    } catch (const ERegistryException& e) {
        text += "|" + e.Message();
    }
    return text;
}

// A colour button with the custom colours key, as a form that keeps its colours would make it.
std::unique_ptr<TkitColorButton> ColorButton()
{
    auto button = std::make_unique<TkitColorButton>(nullptr);
    button->SetName(ButtonName);
    button->SetCustomColorsKey(ColorsKey);
    return button;
}

std::string EditorOptions()
{
    std::string text;
    for (const char* name : {"RememberPosition", "RememberSize"}) text += std::to_string(ReadEditorOptionBool(name, true));
    for (const char* name : {"Left", "Top", "Width", "Height"}) text += "," + std::to_string(ReadEditorOptionInteger(name, -1));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = [] {
        fuzzapp::StartApplication();
        SetRegistryStorePath(fuzzapp::TempPath("registry"));
        return true;
    }();
    (void)started;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = std::min(input.find('\n'), input.size());
    const std::string line = input.substr(0, lineEnd);
    const std::size_t equals = std::min(line.find('='), line.size());
    const std::string key = line.substr(0, equals), name = line.substr(std::min(equals + 1, line.size()));
    fuzzapp::WriteTempFile(input.substr(std::min(lineEnd + 1, input.size())), "registry");

    // The readers, before any write.
    const HKEY roots[] = {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, HKEY_USERS};
    std::vector<std::string> before;
    for (HKEY root : roots) before.push_back(ValueText(root, key, name));
    const std::string options = EditorOptions();
    std::string colors;
    {
        std::unique_ptr<TkitColorButton> button = ColorButton();
        colors = button->CustomColorsText();
        // The button saves its colours as it goes.
    }

    // The writes: the file association the main window writes at every start, then the colours read back
    // by a second button.
    RegisterFileType("sp2", "VornSP2dp data", "/opt/vorn/vornsp2dp,0", "/opt/vorn/vornsp2dp");
    const std::pair<const char*, const char*> association[] = {
        {"\\.sp2", "sp2QELFile"},
        {"\\sp2QELFile", "VornSP2dp data"},
        {"\\sp2QELFile\\DefaultIcon", "/opt/vorn/vornsp2dp,0"},
        {"\\sp2QELFile\\shell\\open\\command", "/opt/vorn/vornsp2dp %1"}};
    for (const auto& [path, value] : association) {
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        Require(reg.OpenKeyReadOnly(path));
        Require(reg.ReadString("") == value);
    }
    Require(ColorButton()->CustomColorsText() == colors);
    Require(EditorOptions() == options);
    // The value named by the input is one the writes did not touch unless it lies under the classes root
    // or is the button's.
    for (std::size_t i = 0; i < std::size(roots); ++i)
        if (roots[i] != HKEY_CLASSES_ROOT && !SameText(name, ButtonName) && ValueText(roots[i], key, name) != before[i]) {
            std::fprintf(stderr, "root %zu key [%s] value [%s] read first as\n%s\nthen as\n%s\n", i, key.c_str(), name.c_str(), before[i].c_str(), ValueText(roots[i], key, name).c_str());
            Require(ValueText(roots[i], key, name) == before[i]);
        }
    Application->ProcessMessages();
    return 0;
}
