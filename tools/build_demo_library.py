#!/usr/bin/env python3
"""Builds a demo sentence library from a file of SOURCE^TARGET pairs.

Usage: tools/build_demo_library.py CLI PAIRS ec|ce OUTDIR NAME TITLE DESCRIPTION

PAIRS is GBK text, one "source^translation" per line. A fresh program folder is made with
`tavricat-cli init`, a new library NAME created in it (`tm new`, made current), every pair
added with `tavricat-cli tm add` (the program's own analysis builds the keys and the index),
and the library's four files (NAME.rf0 .rf1 .rf2 .irf) copied to OUTDIR. The same pairs and
delivered dictionaries give byte-identical files.
"""
import os
import shutil
import subprocess
import sys
import tempfile


def main(argv):
    cli, pairs_path, direction, out, name, title, description = argv
    with tempfile.TemporaryDirectory() as home, tempfile.TemporaryDirectory() as config:
        env = dict(os.environ, XDG_CONFIG_HOME=config)
        run = lambda *args: subprocess.run([cli, "--home", home, "--direction", direction, *args],
                                           env=env, capture_output=True, check=True)
        run("init")
        for ext in (".rf0", ".rf1", ".rf2", ".irf"):
            path = os.path.join(home, "userdata", name + ext)
            if os.path.exists(path):
                os.remove(path)
        run("--yes", "tm", "new", name, "--title", title, "--author", "TavriCAT", "--description", description)
        with open(pairs_path, "rb") as f:
            lines = [line.rstrip(b"\r\n") for line in f if line.strip()]
        for line in lines:
            run("tm", "add", line.decode("gbk"))
        for ext in (".rf0", ".rf1", ".rf2", ".irf"):
            shutil.copyfile(os.path.join(home, "userdata", name + ext), os.path.join(out, name + ext))
        print(f"{name}: {len(lines)} pairs")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
