// The discretisation and solver settings of a survey and their ".cfg" file: thirteen lines, the marker
// "VornSP2dp1.02" and twelve values. One validity check serves the file reader, the settings file and the
// setup dialog, so that no path can store a size or order the discretisation cannot work with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::string_view ProgramConfigMarker = "VornSP2dp1.02";

// The settings with their start-up values. The survey state holds one.
struct TProgramConfig {
    std::int32_t SolverOption1 = 0; // saved and restored only
    bool SolverOption2 = true;      // saved and restored only
    std::int32_t SolverOption3 = 8; // saved and restored only
    double FactorX = 0.2;           // growth of the element size along x with depth
    double FactorZ = 0.2;           // growth of the element size along z with depth
    double StartX = 2.0;            // element size at the ground along x, in ScaleLength / 3
    double StartZ = 1.0;            // element size at the ground along z, in ScaleLength / 10
    bool Exponent = false;          // the size along x grows exponentially with depth
    std::int32_t infperc = 10;      // saved and restored only
    std::int32_t redperc = 100;     // saved and restored only
    std::int32_t numqp = 7;         // quadrature order of the element integrals, 2..8
    bool recetha = true;            // saved and restored only
    bool operator==(const TProgramConfig&) const = default;
};

// The twelve values, in file order.
enum class TConfigField {
    SolverOption1, SolverOption2, SolverOption3, FactorX, FactorZ, StartX, StartZ, Exponent,
    infperc, redperc, numqp, recetha
};

// Whether `value` may be stored in `field`: reals finite, StartX and StartZ in 0.001..10, FactorX and
// FactorZ in 0.001..5; integers whole and 32-bit, numqp in 2..8; Booleans 0 or 1. A caller that gets
// false keeps the previous value.
bool ConfigValueValid(TConfigField field, double value);

// The setup dialog's "Default": factors 0.1, StartX 2, StartZ 1, Exponent off, infperc 10, numqp 7,
// recetha on, SolverOption1..3 = 3, off, 8; redperc stays.
void ApplySetupDefaults(TProgramConfig& config);

// A Boolean line: true when the line in lower case is "true" (a line end's CR ignored).
bool ReadConfigBool(std::string_view line);

// The thirteen lines of a ".cfg" file, each ending in LF: integers in plain digits, Booleans "TRUE" or
// "FALSE", reals in the 23-character form.
std::string ProgramConfigText(const TProgramConfig& config);

// Reads a ".cfg" text (LF or CR LF lines). Without the marker in its first line (a substring test) nothing
// changes and the result is false. Otherwise every value is stored as it is read; a number may follow
// empty lines and the rest of its line is skipped, a Boolean takes one whole line. A value that does not
// read, fails ConfigValueValid or is missing because the text ended is left out.
bool ReadProgramConfigText(std::string_view text, TProgramConfig& config);

// File forms of the two above. Writing replaces the file only once the new one is complete (false, with
// the old file whole, when it cannot be written);
// reading a file that cannot be opened changes nothing and gives false.
bool WriteProgramConfig(const std::string& path, const TProgramConfig& config);
bool ReadProgramConfig(const std::string& path, TProgramConfig& config);
