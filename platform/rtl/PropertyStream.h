// The property list of the class library's binary component stream: a list marker, then each stored
// property as its (dotted) name and a tagged value, then an end marker. Objects that stream lists of
// their own items (series marks, for one) write each item this way; the reader sets the properties
// back through the class descriptions.
#pragma once

#include "platform/rtl/Classes.h"

#include <cstdint>

class TStream;

// The value tags of the stream, in the class library's numbering.
enum TValueType : std::uint8_t {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6, vaIdent = 7,
    vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaNil = 13, vaCollection = 14,
    vaSingle = 15, vaCurrency = 16, vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20, vaDouble = 21
};

// vaList, every stored property of the object (sub-objects' properties under "Object.Name", defined
// properties after the published ones of the same object), vaNull. Integers take the smallest integer
// tag, reals an 80-bit extended, enumerations their name, sets their member names, colours their number;
// a collection is vaCollection, each item's own list (vaList ... vaNull), vaNull.
void WritePropertyList(TStream& Stream, const TPersistent& Object);
// Reads a list written by WritePropertyList (or by the class library) into the object; a collection's
// items replace the ones it held, each read into a new item. A wrong tag, an
// unknown property, a value of the wrong kind or a list that runs past the stream's end raises EReadError
// with the property's name.
void ReadPropertyList(TStream& Stream, TPersistent& Object);

// The 10-byte extended real of the stream, and back (values beyond a double's range become infinities).
void WriteExtended(TStream& Stream, double Value);
double ReadExtended(TStream& Stream);
