// The text form of the polygon model inside survey files: the block from "VornPolyModelDescription2.0" to
// "EndPolyModelDescription2.0", and the property line of a sub-polygon that also carries the default row
// in the settings file. Pure text; the model chart does the file handling.
#pragma once

#include "core/Polygons.h"

#include <string>
#include <string_view>

inline constexpr std::string_view ModelBlockBegin = "VornPolyModelDescription2.0";
inline constexpr std::string_view ModelBlockEnd = "EndPolyModelDescription2.0";

// The property line of a row: every slot followed by one blank, 20 fields. Empty slots and empty texts
// are written "*", integers as digits, reals by FormatValue(v, 2, adaptive); a one-byte integer writes
// no field at all (the host's shape index: its line has 19 fields). A text's blanks, tabs and line ends
// are written as the character 166, so a text is always one field of one line.
std::string PropertiesToText(const PolygonProperties& row);

// Reads a property line into `row`. Tokens 0, 4 and 8 are 32-bit integers, 10 to 14 reals (StrToValue,
// MissingValue when no number), 1 to 3 and 7 texts with 166 read back as a blank; "*" leaves its slot
// as it was; slots 5, 6, 9 and 15 to 19 are never read. Returns false and leaves the row unchanged when
// token 0, 4 or 8 is not a 32-bit integer.
bool TextToProperties(PolygonProperties& row, std::string_view line);

// The whole block, from the begin line to the end line, every line ending in LF. Reals take the
// 23-character form.
std::string ModelBlockText(const TPolygonModel& model);

// The text of a survey file that gets the block: the first `linesToKeep` lines of `existing` (all for -1,
// none for 0 or any other negative value; empty lines make up a shortfall), each ending in LF, then the
// block.
std::string AppendModelBlock(std::string_view existing, int linesToKeep, const TPolygonModel& model);

enum class TModelBlockResult {
    None,      // no line contains the begin marker, or it is the last line
    Loaded,    // `model` holds the block's model
    Malformed, // the block is damaged; `model` is unchanged
};

// Finds the first line containing ModelBlockBegin in a file's text (LF or CR LF lines) and reads the
// block after it; nothing after the last ring line is read, the end line included. Malformed: a line
// with fewer values than it needs; a count that is negative or larger than the lines left; no bodies, or
// a body without sub-polygons; a ring of fewer than 3 entries or with an index outside the nodes; a host
// ring not in the doubled form the frame is built in (HostRingFault); a node in the rings of two bodies;
// a non-finite coordinate; FixedFlag, NodeClass or FrameCode outside 0..1, 0..2, 0..6; a property token
// 0, 4 or 8 that is not a 32-bit integer. A loaded model gets its node classes worked out anew.
TModelBlockResult ReadModelBlock(std::string_view fileText, TPolygonModel& model);
