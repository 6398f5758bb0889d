#!/usr/bin/env bash
# Regenerates the documents of this folder that LibreOffice writes from texts of our own:
#   picture.png                        a small picture drawn here (64 x 32 pixels, RGB)
#   generated_LANG.fodt.in             the hand-written sources (flat OpenDocument text);
#                                      @PICTURE_BASE64@ stands for picture.png
#   generated_LANG.rtf, generated_LANG.docx   what LibreOffice Writer saves of them
# Needs soffice (package libreoffice-writer) and python3. The output depends on the
# LibreOffice version; SOURCES.md names the one that wrote the files kept here.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

python3 - "$here/picture.png" <<'PY'
import struct, sys, zlib
width, height = 64, 32
rows = bytearray()
for y in range(height):
    rows.append(0)  # no filter
    for x in range(width):
        if 2 <= y < height - 2 and 4 <= x < 28:
            rows += bytes((40, 110, 200))    # the left button
        elif 2 <= y < height - 2 and 36 <= x < 60:
            rows += bytes((220, 70, 50))     # the right button
        else:
            rows += bytes((235, 235, 235))   # the panel
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) \
    + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
PY

picture=$(base64 -w0 "$here/picture.png")
for lang in en zh; do
  sed "s|@PICTURE_BASE64@|$picture|" "$here/generated_$lang.fodt.in" > "$scratch/generated_$lang.fodt"
done

office=(env HOME="$scratch" soffice --headless --norestore "-env:UserInstallation=file://$scratch/profile")
for format in rtf docx; do
  timeout 300 "${office[@]}" --convert-to "$format" --outdir "$here" \
    "$scratch/generated_en.fodt" "$scratch/generated_zh.fodt" >"$scratch/log" 2>&1 || { cat "$scratch/log" >&2; exit 1; }
done
for lang in en zh; do
  for format in rtf docx; do
    test -s "$here/generated_$lang.$format" || { echo "generated_$lang.$format was not written" >&2; exit 1; }
  done
done
echo "written: picture.png generated_en.{rtf,docx} generated_zh.{rtf,docx}"
