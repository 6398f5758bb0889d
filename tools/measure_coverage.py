#!/usr/bin/env python3
"""Dictionary coverage of a document, as the workbench sees it.

Usage: tools/measure_coverage.py CLI HOME DOCUMENT ec|ce

Cuts DOCUMENT into sentences (tavricat-cli segment) and analyses each (tavricat-cli analyse)
against the program folder HOME. Counts the word tokens (English words and numbers for ec,
Chinese characters for ce) whose segment has a meaning in the target language (a Chinese
character in the translation for ec, a Latin letter for ce), and prints the share of all
tokens and the share of tokens that are not numbers (numbers are copied as they are).
"""
import json
import re
import subprocess
import sys


def main(argv):
    cli, home, doc, direction = argv
    run = lambda *args: subprocess.run([cli, "--home", home, "--direction", direction, "--json", *args],
                                       capture_output=True, text=True, check=True).stdout
    source_word = re.compile(r"[A-Za-z0-9]" if direction == "ec" else r"[\u4e00-\u9fff]")
    meaning = re.compile(r"[\u4e00-\u9fff]" if direction == "ec" else r"[A-Za-z]")
    number = re.compile(r"^[0-9][0-9.,]*$")
    total = hits = numbers = number_hits = 0
    for sentence in json.loads(run("segment", doc)):
        for segment in json.loads(run("analyse", sentence))["segments"]:
            words = [w for w in segment["words"].split() if source_word.search(w)]
            found = meaning.search(segment["trans"]) is not None
            for w in words:
                total += 1
                hits += found
                if number.match(w):
                    numbers += 1
                    number_hits += found
    words_only = total - numbers
    print(f"{direction}: {hits}/{total} tokens = {100 * hits / max(total, 1):.1f}%; "
          f"without numbers {hits - number_hits}/{words_only} = {100 * (hits - number_hits) / max(words_only, 1):.1f}%")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
