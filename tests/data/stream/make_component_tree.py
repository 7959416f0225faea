#!/usr/bin/env python3
# Writes component_tree.bin: a root component with one property of each value kind, a sub-object with a
# binary property, a collection, a reference to its child and that child, in the binary component
# stream's layout (little-endian; short texts are a length byte and the characters).
import math
import os
import struct


def short(text):
    data = text.encode("latin-1")
    return bytes([len(data)]) + data


def extended(value):
    mantissa, exponent = math.frexp(abs(value))  # value = mantissa * 2**exponent, 0.5 <= mantissa < 1
    top = (exponent - 1 + 16383) | (0x8000 if value < 0 else 0)
    return struct.pack("<QH", int(mantissa * 2**64), top)


def prop(name, value):
    return short(name) + value


VA_NULL, VA_LIST, VA_INT8, VA_INT16, VA_INT32, VA_EXTENDED, VA_STRING, VA_IDENT = 0, 1, 2, 3, 4, 5, 6, 7
VA_FALSE, VA_TRUE, VA_BINARY, VA_SET, VA_LSTRING, VA_COLLECTION, VA_INT64, VA_UTF8 = 8, 9, 10, 11, 12, 14, 19, 20

long_text = "0123456789" * 30
items = [(1, "first"), (-300, "second")]

root = short("TStreamRoot") + short("Root")
root += prop("Small", bytes([VA_INT8]) + struct.pack("<b", -5))
root += prop("Medium", bytes([VA_INT16]) + struct.pack("<h", 1000))
root += prop("Large", bytes([VA_INT32]) + struct.pack("<i", 100000))
root += prop("Huge", bytes([VA_INT64]) + struct.pack("<q", -5000000000))
root += prop("Ratio", bytes([VA_EXTENDED]) + extended(2.5))
root += prop("Flag", bytes([VA_TRUE]))
root += prop("Lit", bytes([VA_FALSE]))
root += prop("Shade", bytes([VA_IDENT]) + short("shDark"))
root += prop("Shades", bytes([VA_SET]) + short("shLight") + short("shDark") + b"\x00")
root += prop("Caption", bytes([VA_STRING]) + short("Tea & 'biscuits'"))
root += prop("Story", bytes([VA_LSTRING]) + struct.pack("<i", len(long_text)) + long_text.encode())
accent = "Caf\u00e9 \u20ac".encode("utf-8")
root += prop("Accent", bytes([VA_UTF8]) + struct.pack("<i", len(accent)) + accent)
root += prop("Partner", bytes([VA_IDENT]) + short("Leaf1"))
root += prop("Inner.Size", bytes([VA_INT8, 7]))
blob = bytes(range(40))
root += prop("Inner.Blob", bytes([VA_BINARY]) + struct.pack("<i", len(blob)) + blob)
collection = bytes([VA_COLLECTION])
for weight, label in items:
    value = bytes([VA_INT8]) + struct.pack("<b", weight) if -128 <= weight <= 127 else bytes([VA_INT16]) + struct.pack("<h", weight)
    collection += bytes([VA_LIST]) + prop("Weight", value) + prop("Label", bytes([VA_STRING]) + short(label)) + b"\x00"
collection += b"\x00"
root += prop("Items", collection)
root += b"\x00"  # end of the root's properties

leaf = short("TStreamLeaf") + short("Leaf1")
leaf += prop("Depth", bytes([VA_INT8, 3]))
leaf += prop("Back", bytes([VA_IDENT]) + short("Root"))
leaf += b"\x00" + b"\x00"  # no properties left, no children

root += leaf + b"\x00"  # end of the root's children

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "component_tree.bin"), "wb") as out:
    out.write(b"TPF0" + root)
