#!/usr/bin/env python3
"""Writes a GBK copy of a UTF-8 source file: to_gbk.py IN OUT.

Clang has no -fexec-charset=GBK but takes the bytes of a string literal as they stand, so the
fuzz build compiles GBK copies of the core. u8"..." literals stay UTF-8, as they are in the
normal build. A character GBK cannot hold (only comments have any) becomes "?".
"""
import os
import re
import sys

U8_LITERAL = re.compile(r'u8"(?:[^"\\\n]|\\.)*"')

with open(sys.argv[1], encoding="utf-8") as f:
    text = f.read()
out = bytearray()
pos = 0
for match in U8_LITERAL.finditer(text):
    out += text[pos:match.start()].encode("gbk", errors="replace")
    out += match.group(0).encode("utf-8")
    pos = match.end()
out += text[pos:].encode("gbk", errors="replace")
os.makedirs(os.path.dirname(sys.argv[2]), exist_ok=True)
with open(sys.argv[2], "wb") as f:
    f.write(out)
