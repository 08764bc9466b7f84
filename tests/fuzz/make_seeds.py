#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora: python3 tests/fuzz/make_seeds.py tests/fuzz/corpus

Numbers that steer a target are taken from the end of its input and text from the front
(tests/fuzz/fuzz_input.h); the Builder below lays a seed out in that order."""
import struct, os, sys
root = sys.argv[1]

class Builder:
    """Mirrors FuzzInput: numbers are taken from the end, text from the front."""
    def __init__(self):
        self.front = b''
        self.back = []   # in consumption order
    def num(self, fmt, v):
        self.back.append(struct.pack('<' + fmt, v))
    def text(self, b, maxlen):
        assert len(b) <= maxlen
        self.num('B', len(b))
        self.front += b
    def rest(self, b):
        self.front += b
    def bytes(self):
        return self.front + b''.join(reversed(self.back))

def write(target, name, data):
    d = os.path.join(root, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), 'wb') as f:
        f.write(data)

SJ_BYTE = '\u30d0\u30a4\u30c8/\u79d2'.encode('cp932')  # バイト/秒
SJ_BIT = '\u30d3\u30c3\u30c8/\u79d2'.encode('cp932')   # ビット/秒

# ---- fuzz_ini and fuzz_settings_file: real files; some carry a control trailer in a last
# comment line. Both targets read the same seeds (the settings target only the first two numbers).
def write_ini(name, data):
    for target in ('fuzz_ini', 'fuzz_settings_file'):
        write(target, name, data)

def ini_trailer(ppi, comma, section, key, dress):
    # consumed from the end: ppi i32, flag, section, key, dress, three text lengths (0)
    b = Builder()
    b.num('i', ppi); b.num('B', 1 if comma else 0); b.num('B', section); b.num('B', key)
    b.num('B', dress); b.num('B', 0); b.num('B', 0); b.num('B', 0)
    return b';' + b.bytes()

default_ini = (b"[Ripplet]\r\nVersion=152\r\n[Settings]\r\nAdapterName=Intel(R) Ethernet Connection\r\n"
    b"GraphRange=1000\r\nGraphMiddle=900\r\nGraphSendRange=150\r\nGraphUnit=0.00k " + SJ_BYTE + b"\r\n"
    b"ShowValue=1\r\nLockWindow=0\r\nSnapWindow=0\r\nHideWindow=0\r\nAlphaBlend=0\r\nInterval=1000\r\n"
    b"ValueInterval=1\r\n[Colors]\r\nRecv=clBlue\r\nSend=clRed\r\nMiddle=clGray\r\nBack=clSilver\r\n"
    b"[Font]\r\nName=MS UI Gothic\r\nSize=10\r\nStyle=0\r\n[Window]\r\nTop=32\r\nLeft=32\r\nWidth=220\r\nHeight=60\r\n")
write_ini('default_crlf.ini', default_ini)
write_ini('default_120ppi.ini', default_ini + ini_trailer(120, False, 1, 2, 0) + b"\r\n")
write_ini('default_lf_comma.ini', default_ini.replace(b"\r\n", b"\n").replace(b"GraphRange=1000", b"GraphRange=1,5") + ini_trailer(144, True, 7, 0, 5))
ms_gothic = '\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af'.encode('cp932')  # ＭＳ Ｐゴシック
write_ini('hand_edited.ini',
    b"; written by hand\r\n[settings]\r\n  Interval = $3E8  \r\nAdapterName=\"  padded  \"\r\n"
    b"GraphUnit='0.0M " + SJ_BIT + b"'\r\nAlphaBlend=-5\r\nShowValue=yes\r\nHideWindow=-1\r\n"
    b"ValueLineSpacing2=3\r\nGraphRange=1.5e3\r\nGraphSendRange=0\r\nloose text\r\n\r\n"
    b"[COLORS]\r\nrecv=clblue\r\nSend=$000080FF\r\nMiddle=255\r\nBack=Blue\r\n"
    b"[Font]\r\nName=" + ms_gothic + b"\r\nSize=-12\r\nStyle=261\r\n[Unknown]\r\nFoo=bar\r\n[Settings]\r\nLater=1\r\n")
write_ini('custom_colours.ini',
    b"[CustomColors]\r\nColorA=FF8040\r\nColorB=FFFFFFFF\r\nColorC=\r\ncolora=123456\r\nColorP=zz\r\n"
    b"[Window]\r\nTop=-32000\r\nLeft=0x7FFFFFFF\r\nWidth=99999999999\r\nHeight=x3C\r\n" + ini_trailer(96, False, 0, 0, 0))
write_ini('mixed_line_ends.ini',
    b"[A]\nx=1\ry=2\r\nz=3\r\r\n[B]\n\"q\"=\"\"\n=novalue\n;c=1\n[ spaced ]\n k = ' v ' \n[Settings\n[]\n=\n[x]]\nGraphRange= 1E16 \nGraphMiddle=0.00001")
write_ini('floats_and_sizes.ini',
    b"[Settings]\r\nGraphRange=0.333333333333333\r\nGraphMiddle=-0\r\nGraphSendRange=4.94065645841247E-324\r\n"
    b"Interval=2147483647\r\nValueInterval=-2147483648\r\n[Font]\r\nSize=2000000000\r\nName=\r\n" + ini_trailer(72, False, 2, 9, 0x30))

# ---- fuzz_value_forms: one text per file (the end bytes double as numbers).
vf = [b"1000", b"$3E8", b"0x3e8", b"x3E8", b"1000ms", b"1 000", b"99999999999", b"-5", b"2", b"-1",
      b"yes", b"1,5", b"1.5e3", b"clblue", b"$000080FF", b"255", b"Blue", b"0.333333333333333",
      b"1E-5", b"1E16", b"-2147483648", b"2147483648", b"$FFFFFFFF", b"-$80000000", b"  +.5e-3  ",
      b".", b",", b"1e-400", b"1e400", b"4.94065645841247E-324", b"0.0001", b"clBtnFace", b"CLNONE",
      b"ColorA=FF8040\nColorB=FFFFFFFF\nColorC=\ncolorb=0000FF\n", b"ColorA=zz\nColorP=123456789\n",
      b"-0", b"00000000000000000000000000001"]
for i, t in enumerate(vf):
    write('fuzz_value_forms', 'v%02d' % i, t)
# The end bytes as numbers: pattern u32 (last), integer i32, then a double before them.
for name, text, dbl in [('v40_inf', b'1.5', float('inf')), ('v41_minus_inf', b'-2', float('-inf')),
                        ('v42_denormal', b'4.9e-324', 5e-324), ('v43_large', b'1E300', 1.2345678901234567e300)]:
    write('fuzz_value_forms', name, text + struct.pack('<d', dbl) + struct.pack('<i', -7) + struct.pack('<I', 0xFF00000F))

# ---- fuzz_units
def units_seed(unit, rate, decimals=2, comma=False, other=b"", needle=b"k", height=60, middle=900.0,
               rng=1000.0, gdiv=1000.0, interval=3):
    b = Builder()
    b.num('H', 0); b.num('B', 1 if comma else 0); b.num('q', rate); b.num('b', decimals)
    b.num('d', 1000.0); b.num('B', ord('k')); b.num('i', decimals)
    b.num('i', height); b.num('d', middle); b.num('d', rng); b.num('d', gdiv); b.num('q', rate)
    b.num('B', 1); b.num('d', 150.0); b.num('b', interval); b.num('i', rate & 0x7FFFFFFF)
    b.text(unit, 64); b.text(other, 64); b.rest(needle)
    return b.bytes()
k2 = b"0.00k " + SJ_BYTE
cases = [(k2, 1234), (k2, 125), (k2, 1005), (k2, 999990), (k2, 999995), (k2, 12345678), (k2, 2000000000),
         (k2, -5), (b"0.000k " + SJ_BYTE, 99999), (b"0k " + SJ_BYTE, 2500), (b"0 " + SJ_BYTE, 1000000),
         (b"0 " + SJ_BIT, 2147483647), (b"0.000M " + SJ_BIT, 12500), (b"0.0M " + SJ_BYTE, 1234567),
         (b"", 7), (b"0.00K " + SJ_BYTE, 1234), (b"0.00m " + SJ_BIT, 1), (b"Mk", 5), (b"0.0.00", 5),
         (b"0.00000k", 500), (b"0." + b"0" * 30, 0)]
for i, (unit, rate) in enumerate(cases):
    write('fuzz_units', 'u%02d' % i, units_seed(unit, rate, decimals=unit.count(b"0") - 1,
                                              comma=(i % 3 == 0), other=b"0M " + SJ_BIT,
                                              needle=SJ_BIT[:6] if i % 2 else b"K"))

# ---- fuzz_command_line
def cl_seed(command, module=r"C:\Program Files\Ripplet\ripplet.exe", stored="Ripplet.exe",
            program_dir="C:\\Program Files\\Ripplet\\", ext=".chm"):
    w = lambda s: s.encode('utf-16-le')
    b = Builder()
    b.text(w(program_dir)[:64], 64); b.text(w(module)[:128], 128); b.text(w(stored)[:64], 64)
    b.text(w(ext)[:16], 16); b.rest(w(command))
    return b.bytes()
cmds = [(r'"C:\Program Files\Ripplet\ripplet.exe" -i:work', {}),
        (r'ripplet.exe /I=D:\conf\x.cfg', {}),
        (r'ripplet.exe -iconf\x', {}),
        ('ripplet.exe -i', {}),
        ('ripplet.exe -i my.ini', {}),
        ('ripplet.exe -ix -I:x', {}),
        ('ripplet.exe -x:my.ini --i', {}),
        ('ripplet.exe -i:name.', {}),
        ('ripplet.exe -i:a -i:b', {}),
        ('a "" "b c"d\te"\x01"f', {}),
        ('x -i:before\x00-i:after', {}),
        ('METER -i=\u8a2d\u5b9a', {"module": r"C:\TOOLS\METER.EXE", "stored": "", "program_dir": "C:\\TOOLS\\"}),
        (r'C:\PROGRA~1\RIPPLE~1\RIPPLET.EXE', {"module": r"C:\PROGRA~1\RIPPLE~1\RIPPLET.EXE"}),
        ('x "-i:C:\\with space\\f.ini"', {"module": "\\\\?\\C:\\long\\a.b.c\\x.y.z", "stored": "x.y.z"}),
        ('', {"module": "D:ripplet", "stored": "", "program_dir": ""})]
for i, (c, kw) in enumerate(cmds):
    write('fuzz_command_line', 'c%02d' % i, cl_seed(c, **kw))

# ---- fuzz_if_table: the descriptions' bytes in front, the sampler's script from the end.
def table_seed(content, script):
    b = Builder()
    b.front = content
    for fmt, v in script:
        b.num(fmt, v)
    return b.bytes()
def read(rows):
    """A table read of (offset, length, index, in, out) rows; None: a read that fails."""
    if rows is None:
        return [('B', 0)]
    out = [('B', 5 * len(rows) + 1)]
    for offset, length, index, inoct, outoct in rows:
        out += [('H', offset), ('H', length), ('B', index), ('I', inoct), ('I', outoct)]
    return out
eth = b"Intel(R) Ethernet Connection I219-V"
jp = '\u30ef\u30a4\u30e4\u30ec\u30b9 \u30a2\u30c0\u30d7\u30bf\u30fc'.encode('cp932')  # ワイヤレス アダプター
content = eth + jp + b"\0after the NUL" + b"N" * 300
rows2 = [(0, len(eth), 1, 1000, 2000), (len(eth), 290, 2, 0xFFFFFF00, 5)]
wide = [('B', 1), ('Q', 10**10), ('Q', 5)]
# first read, adapter pick 1 (the second row); lookup; a sample from the table that starts a
# watch; a watched sample; a watched read that fails, bridged by the table (32-bit); release;
# a priming whose read fails; a refresh with a row of 256 bytes and no NUL.
script = read(rows2) + [('B', 1), ('B', 1)] + \
    [('B', 4)] + read(rows2) + wide + [('B', 1), ('H', 1000)] + \
    [('B', 4), ('B', 1), ('Q', 10**10 + 4000), ('Q', 9), ('H', 1000)] + \
    [('B', 4), ('B', 0), ('Q', 0), ('Q', 0), ('H', 10)] + read(rows2) + [('B', 0), ('H', 10), ('H', 1000)] + \
    [('B', 3), ('B', 2)] + read(None) + \
    [('B', 0)] + read([(len(content) - 300, 300, 3, 7, 9)])
write('fuzz_if_table', 't_two_rows', table_seed(content, script))
# the adapter is text of the input that no row carries; every read of the table fails
write('fuzz_if_table', 't_no_rows', table_seed(b"eth0", read(None) + [('B', 0), ('B', 4)] + [('B', 4)] + read(None)))

# ---- fuzz_usage_csv: the whole input is the file
write('fuzz_usage_csv', 'saved.csv',
      b'\xEF\xBB\xBFdate,adapter,received,sent\r\n2026-12-09,lo,123,456\r\n'
      b'2026-12-09,"Intel(R) ""Fast"", Ethernet",18446744073709551615,0\r\n')
write('fuzz_usage_csv', 'hand_edited.csv',
      b'Date,Adapter,Received,Sent\n\n2026-03-01,lo,10,20\n2026-03-01,lo,1,2\n'
      b'2026-03-02,"two\nlines",3,4\n')
write('fuzz_usage_csv', 'bad_date.csv', b'date,adapter,received,sent\r\n2026-02-30,lo,1,2\r\n')
write('fuzz_usage_csv', 'unclosed.csv', b'date,adapter,received,sent\r\n2026-01-01,"lo,1,2\r\n')
write('fuzz_usage_csv', 'empty.csv', b'')
