#!/usr/bin/env python3
# Writes cells_block.bin by hand from the private clipboard format's tables: the block a grid copies of
# cells (1,1)-(2,1) where (1,1) holds "Cr\xe8me" with a red brush and a created 2 x 2 bitmap graphic whose
# CellValue is 2.5, and (2,1) holds a text of 300 characters. The copying grid's ID is 7.
import struct

def sstr(s): b = s.encode('latin-1'); return bytes([len(b)]) + b
def integer(v):
    if -128 <= v <= 127: return b'\x02' + struct.pack('<b', v)
    if -32768 <= v <= 32767: return b'\x03' + struct.pack('<h', v)
    return b'\x04' + struct.pack('<i', v)
def text(s):
    raw = s.encode('cp1252')
    if any(c >= 0x80 for c in raw):
        u = s.encode('utf-8'); return b'\x14' + struct.pack('<i', len(u)) + u
    if len(raw) <= 255: return b'\x06' + sstr(s)
    return b'\x0c' + struct.pack('<i', len(raw)) + raw
def ident(s): return b'\x07' + sstr(s)
def boolean(v): return b'\x09' if v else b'\x08'
def empty_set(): return b'\x0b\x00'
def extended(v):
    assert v == 2.5
    return b'\x05' + struct.pack('<QH', 0xA000000000000000, 0x4000)
def binary(b): return b'\x0a' + struct.pack('<i', len(b)) + b
def record(cls, props):
    return b'TPF0' + sstr(cls) + sstr('') + b''.join(sstr(n) + v for n, v in props) + b'\x00\x00'

def bmp_2x2():
    # Bottom-up rows of 24-bit pixels, each row padded to 4 bytes: blue, white / red, green.
    rows = bytes([0xFF,0,0, 0xFF,0xFF,0xFF, 0,0]) + bytes([0,0,0xFF, 0,0xFF,0, 0,0])
    info = struct.pack('<IiiHHIIiiII', 40, 2, 2, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
    head = b'BM' + struct.pack('<IHHI', 14 + 40 + len(rows), 0, 0, 54)
    return head + info + rows

long_text = ''.join(chr(ord('a') + i % 26) for i in range(300))
block = record('TGridPropIO', [('ColCount', integer(2)), ('RowCount', integer(1)), ('ColWidths', text('64,64')),
                               ('RowHeights', text('24')), ('FullGrid', boolean(False)), ('ID', integer(7))])
block += record('TGridCellIO', [('Col', integer(1)), ('Row', integer(1)), ('Cell', text('Cr\xe8me')), ('HasProp', boolean(True))])
props = [('IsBaseCell', boolean(True)), ('CellSpanX', integer(-1)), ('CellSpanY', integer(-1)), ('OwnerCol', integer(1)),
         ('OwnerRow', integer(1)), ('Alignment', ident('taLeftJustify')), ('BorderColor', ident('clBlack')),
         ('BorderWidth', integer(0)), ('BrushColor', ident('clRed')), ('BrushColorTo', ident('clNone')),
         ('BrushStyle', ident('bsSolid')), ('FontColor', ident('clNone')), ('FontSize', integer(0)),
         ('FontStyle', empty_set()), ('Editor', ident('edNormal')), ('ReadOnly', boolean(False)),
         ('VAlignment', ident('vtaTop')), ('WordWrap', boolean(False)), ('NodeLevel', integer(0))]
block += record('TGridCellPropIO', [('CellProperties.' + n, v) for n, v in props] + [('HasGraphic', boolean(True))])
graphic = [('CellType', ident('ctBitmap')), ('CellVAlign', ident('vaTop')), ('CellHAlign', ident('haLeft')),
           ('CellIndex', integer(0)), ('CellTransparent', boolean(False)), ('CellCreated', boolean(True)),
           ('CellBoolean', boolean(False)), ('CellAngle', integer(0)), ('CellValue', extended(2.5)),
           ('CellErrFrom', integer(0)), ('CellErrLen', integer(0))]
block += record('TGridGraphicIO', [('CellGraphic.' + n, v) for n, v in graphic])
bmp = bmp_2x2()
block += record('TGridBMPIO', [('Bitmap.Data', binary(struct.pack('<i', len(bmp)) + bmp))])
block += record('TGridCellIO', [('Col', integer(2)), ('Row', integer(1)), ('Cell', text(long_text)), ('HasProp', boolean(False))])
open(__file__.replace('make_cells_block.py', 'cells_block.bin'), 'wb').write(block)
