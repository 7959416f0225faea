// A realistic sample survey made in code: a line of surface electrodes over a hill with measurements
// between neighbours, and a model of an overburden layer, an electronic ore lens and a resistive dyke,
// built with the model operations. The sample file in examples/, its test and the whole-run benchmark
// use it; the observed dU are the response of the model with the lens at its true resistivity, plus a
// little noise.
#pragma once

#include "core/DC2dBEM.h"
#include "core/PolygonsCreate.h"
#include "core/PolygonsFrame.h"
#include "core/SurveyPrepare.h"

#include <cmath>
#include <random>
#include <string>

namespace sample {

struct TSpec {
    int Electrodes = 41;
    double Spacing = 5.0;
    bool Layer = true;
    unsigned Seed = 20261;
    TProgramConfig Settings; // discretisation settings of the survey
};

// The realistic size the benchmarks and the thread tests solve: 100 electrodes 2 m apart and a fine
// boundary, about 1500 unknowns.
inline TSpec RealisticSpec()
{
    TSpec spec;
    spec.Electrodes = 100;
    spec.Spacing = 2.0;
    spec.Settings.StartX = spec.Settings.StartZ = 0.4;
    spec.Settings.FactorX = spec.Settings.FactorZ = 0.05;
    return spec;
}

inline double Elevation(double x, double length)
{
    return 120.0 + 9.0 * std::exp(-std::pow((x - 0.45 * length) / (0.25 * length), 2)) + 0.01 * x;
}

// The survey rows, topography and settings, prepared; DataLoaded on, no observed dU yet.
inline TSurveyState MakeSurvey(const TSpec& spec, double modelBottom)
{
    TSurveyState s;
    const double length = spec.Spacing * (spec.Electrodes - 1);
    for (int i = 0; i + 1 < spec.Electrodes; ++i) {
        TMeasurementRow row(MeasurementRowLength);
        for (double& v : row) v = MissingValue;
        row[mcP1x] = i * spec.Spacing;
        row[mcP2x] = (i + 1) * spec.Spacing;
        row[mcP1z] = row[mcP2z] = 0.0;
        row[mcDU] = 0.0;
        row[mcWeight] = 1.0;
        s.SurveyRows.push_back(row);
    }
    for (double x = -4 * spec.Spacing; x <= length + 4 * spec.Spacing; x += 2 * spec.Spacing)
        s.Topography.push_back({x, Elevation(x, length)});
    s.StartResistivity = 100.0;
    s.SourceType = 0;
    s.SourceA = 50.0;
    s.SourceB = 30.0;
    s.SourceC = 0.0;
    s.DataLoaded = true;
    s.SurveyReady = true;
    PrepareSurvey(s, modelBottom);
    s.Settings = spec.Settings;
    return s;
}

// The property row of the sample's new sub-polygons: the default row with every style left to the views.
inline PolygonProperties SampleRow() { return MakeDefaultPolygonProperties("*", "*", "*"); }

// Adds a body through AddPolygon and sets its resistivity and kind.
inline void AddBody(TPolygonModel& m, const arofcomplexM& ring, double rho, bool electronic)
{
    if (!AddPolygon(ring, m.Bodies, m.Nodes, SampleRow())) throw Exception("sample: body refused");
    Polygon& p = m.Bodies.back().back();
    p.properties[psResistivity] = Variant(rho);
    p.properties[psConductorType] = Variant(electronic ? 0.0 : 10000.0);
}

// The model over the survey's topography: frame with relief, the layer, the lens (rho `lensRho`), the dyke.
inline TPolygonModel MakeModel(const TSpec& spec, const TSurveyState& s, double lensRho)
{
    const double length = spec.Spacing * (spec.Electrodes - 1);
    const double top = TopographyTop(s.Topography);
    TPolygonModel m;
    m.Rho0 = s.StartResistivity;
    m.ModelBox = {-2 * spec.Spacing, length + 2 * spec.Spacing, 0.0, 0.5 * length};
    m.HasRelief = true;
    for (const complexM& p : s.Topography) m.Relief.push_back({p.x, top - p.z});
    SPolygon host;
    BuildFramePolygon(m.Nodes, host, m.Relief, true, m.ModelBox);
    m.Bodies = {host};

    auto depth = [&](double x, double below) { return InterpolateProfile(m.Relief, x) + below; };
    if (spec.Layer) {
        // Overburden of 0.6 spacings under the whole ground line, attached to both frame sides.
        arofcomplexM line;
        line.push_back({m.Nodes[0].x, m.Nodes[0].z});
        const double h = 0.6 * spec.Spacing;
        for (double x = m.ModelBox.XMin; x <= m.ModelBox.XMax + 1e-9; x += 4 * spec.Spacing)
            line.push_back({x, depth(x, h)});
        if (line.back().x < m.ModelBox.XMax - 1e-9) line.push_back({m.ModelBox.XMax, depth(m.ModelBox.XMax, h)});
        line.push_back({m.Nodes[3].x, m.Nodes[3].z});
        if (!AddSubPolygonInFrame(0, 3, 0, false, m.Nodes, m.Bodies, line, m.ModelBox, SampleRow()))
            throw Exception("sample: layer refused");
        Polygon& layer = m.Bodies[0].back();
        layer.properties[psResistivity] = Variant(30.0);
        layer.properties[psConductorType] = Variant(10000.0);
    }
    // A lens dipping to the right and a steep resistive dyke.
    const double xl = 0.35 * length, xd = 0.75 * length;
    arofcomplexM lens{{xl - 2.4 * spec.Spacing, depth(xl, 3.0 * spec.Spacing)},
                      {xl + 0.4 * spec.Spacing, depth(xl, 2.2 * spec.Spacing)},
                      {xl + 2.8 * spec.Spacing, depth(xl, 3.2 * spec.Spacing)},
                      {xl + 1.6 * spec.Spacing, depth(xl, 4.4 * spec.Spacing)},
                      {xl - 1.4 * spec.Spacing, depth(xl, 4.0 * spec.Spacing)}};
    AddBody(m, lens, lensRho, true);
    arofcomplexM dyke{{xd - 0.8 * spec.Spacing, depth(xd, 2.0 * spec.Spacing)},
                      {xd + 0.6 * spec.Spacing, depth(xd, 2.0 * spec.Spacing)},
                      {xd + 2.2 * spec.Spacing, depth(xd, 9.0 * spec.Spacing)},
                      {xd + 0.8 * spec.Spacing, depth(xd, 9.0 * spec.Spacing)}};
    AddBody(m, dyke, 2000.0, false);
    return m;
}

// The survey with observed dU from the model whose lens has resistivity 5 (1 % noise), and the model
// handed to the user with the lens at 20.
inline void MakeSample(const TSpec& spec, TSurveyState& survey, TPolygonModel& model)
{
    const double length = spec.Spacing * (spec.Electrodes - 1);
    survey = MakeSurvey(spec, 0.5 * length);
    TPolygonModel truth = MakeModel(spec, survey, 5.0);
    TSolverState state;
    const TForwardResult r = RunForwardProblem(survey, truth, {}, state);
    if (!r.Succeeded) throw Exception("sample: " + r.Message);
    std::mt19937 gen(spec.Seed);
    std::normal_distribution<double> noise(0.0, 0.01);
    osource& set = survey.DataSets[0];
    for (int j = 0; j < set.Calculated.Length(); ++j) {
        const double dU = set.Calculated[j] * (1.0 + noise(gen));
        set.Observed[j] = std::round(dU * 100.0) / 100.0; // readings to 0.01 mV
        set.ObservedPresent[j] = true;
        set.Calculated[j] = 0.0;
    }
    model = MakeModel(spec, survey, 20.0);
}

} // namespace sample
