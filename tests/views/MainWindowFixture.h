// The main window under test: a window that records what its runs show (gauge, enabled state, node marks
// at each step), a temporary folder with the sample survey and a settings file of its own, and a prompter
// script that answers every dialog (a dialog nobody expected fails the test).
#pragma once

#include "chart/series/Series.h"
#include "platform/controls/Application.h"
#include "platform/controls/Prompter.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/TextFile.h"
#include "tests/platform/rtl/TempFolder.h"
#include "views/ResMainForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TProbeMainForm : public TMainForm {
public:
    using TMainForm::TMainForm;

    struct TStep {
        int Gauge = 0;
        bool Enabled = true;
        bool Busy = false;
        int Nodes = 0;
        bool LabelsAreIndexes = true; // point i labelled i

    };
    std::vector<TStep> Steps;   // one per step callback, after it
    std::vector<int> Resets;    // the gauge after each reset callback
    int Runs = 0;
    // Called before each step with the number of steps recorded so far.
    std::function<void(int step)> BeforeStep;

    bool RunSolver(bool invert) override
    {
        ++Runs;
        return TMainForm::RunSolver(invert);
    }
    void StepProgress() override
    {
        if (BeforeStep) BeforeStep(static_cast<int>(Steps.size()));
        TMainForm::StepProgress();
        TPointSeries& nodes = PolygonChart1->NodeSeries();
        const int n = nodes.PointCount();
        bool indexes = true;
        for (int i = 0; i < n; ++i) indexes = indexes && nodes.Labels().LabelText(i) == std::to_string(i);
        Steps.push_back({GaugePosition(), Enabled(), Busy(), n, indexes});
    }
    void ResetProgress() override
    {
        TMainForm::ResetProgress();
        Resets.push_back(GaugePosition());
    }
};

inline void Pump(int turns = 3)
{
    for (int i = 0; i < turns; ++i) Application->ProcessMessages();
}

inline std::string FileText(const std::string& path)
{
    std::string bytes;
    LoadFileBytes(path, bytes);
    return bytes;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Reset();
        Application->SetTitle("VornSP2Dp");
        FSavedSettings = SettingsFilePath();
        SetSettingsFilePath(Temp.File("vornsp2dp.in"));
        SetCommandLine({"vornsp2dp"});
        const std::string examples = std::string(VSP_TEST_DATA) + "/../../examples/";
        std::filesystem::copy_file(examples + "sample.sp2", Sample);
        std::filesystem::copy_file(examples + "sample.cfg", Temp.File("sample.cfg"));
    }
    void TearDown() override
    {
        Form.reset();
        EXPECT_TRUE(Script->Failures().empty()) << Script->Failures().front();
        EXPECT_EQ(Script->Pending(), 0u) << "answers left unused";
        Script.reset();
        SetSettingsFilePath(FSavedSettings);
        SetCommandLine({});
        Application->Reset();
    }

    TProbeMainForm& Start()
    {
        Form = std::make_unique<TProbeMainForm>(nullptr);
        Form->Show();
        Pump();
        return *Form;
    }
    // Opens the sample, answering OK to its configuration.
    void OpenSample(const std::string& path)
    {
        Script->AnswerMessage(mrOk);
        Form->OpenData(path);
    }
    void OpenSample() { OpenSample(Sample); }
    std::string Settings() const { return FileText(Temp.File("vornsp2dp.in")); }

    TTempFolder Temp;
    std::string Sample = Temp.File("sample.sp2");
    std::unique_ptr<TPromptScript> Script = std::make_unique<TPromptScript>();
    std::unique_ptr<TProbeMainForm> Form;

private:
    std::string FSavedSettings;
};
