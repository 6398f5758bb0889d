#!/usr/bin/env python3
"""Measure the delivered dictionaries and the machine translation against the lists in tools/eval/.

    evaluate_dictionaries.py CLI HOME [--direction ec|ce|both] [--json] [--show-failures N]

For every word of tools/eval/ec_words.tsv (English -> Chinese) and ce_words.tsv (Chinese ->
English) the system dictionary entry is read through `CLI --home HOME dict lookup WORD --system`,
i.e. the meanings a translator sees for the word, in their order. A word scores when its first
meaning (top 1), one of its first three (top 3) or any meaning of the entry is among the
translations the list accepts. Every sentence of ec_sentences.tsv / ce_sentences.tsv is put
through `CLI mt` and the output scored against the reference with corpus-level chrF
(character 1..6-grams, beta 2, whitespace ignored).

HOME is made with `CLI --home HOME init` when it does not exist (or is empty); the runs only read
it. Python 3 standard library only.
"""

import argparse
import json
import os
import re
import subprocess
import sys
from collections import Counter

EVAL_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "eval")
EMPTY = "-"  # an empty rendering ("了" as a completed action, "个" as a measure word)

# ---------------------------------------------------------------------------------------------
# chrF
# ---------------------------------------------------------------------------------------------
CHAR_ORDER = 6
BETA = 2.0


def chrf_statistics(hypothesis, reference, order=CHAR_ORDER):
    """Per n (1..order): [hypothesis n-grams, reference n-grams, matched n-grams], flattened.

    Whitespace is removed first, so "a b" and "ab" are the same text."""
    hyp = "".join(hypothesis.split())
    ref = "".join(reference.split())
    stats = []
    for n in range(1, order + 1):
        hyp_grams = Counter(hyp[i:i + n] for i in range(len(hyp) - n + 1))
        ref_grams = Counter(ref[i:i + n] for i in range(len(ref) - n + 1))
        matched = sum(min(count, ref_grams[gram]) for gram, count in hyp_grams.items())
        stats += [sum(hyp_grams.values()), sum(ref_grams.values()), matched]
    return stats


def chrf_from_statistics(stats, beta=BETA):
    """chrF (0..100) from summed statistics: precision and recall averaged over the orders that
    have n-grams on both sides, then their F-beta."""
    precision = recall = 0.0
    orders = 0
    for i in range(0, len(stats), 3):
        n_hyp, n_ref, n_match = stats[i:i + 3]
        if n_hyp > 0 and n_ref > 0:
            precision += n_match / n_hyp
            recall += n_match / n_ref
            orders += 1
    if orders == 0:
        return 0.0
    precision /= orders
    recall /= orders
    if precision + recall == 0:
        return 0.0
    factor = beta * beta
    return 100.0 * (1 + factor) * precision * recall / (factor * precision + recall)


def corpus_chrf(hypotheses, references):
    total = [0] * (3 * CHAR_ORDER)
    for hyp, ref in zip(hypotheses, references):
        total = [a + b for a, b in zip(total, chrf_statistics(hyp, ref))]
    return chrf_from_statistics(total)


# ---------------------------------------------------------------------------------------------
# Dictionary entries and the lists
# ---------------------------------------------------------------------------------------------
_LABEL = re.compile(r"^\s*\[[^\]]*\]")
_NOTE = re.compile(r"\([^()]*\)")
_ENGLISH_LEAD = re.compile(r"^(to|a|an|the)\s+")
_ENGLISH_PLACEHOLDER = re.compile(r"\b(sb|sth|one's|oneself)\b")


def normalise_chinese(text):
    text = "".join(text.split())
    return text if text else EMPTY


def normalise_english(text):
    """Lower case, without notes in parentheses, a leading "to"/article, sb/sth placeholders and
    end punctuation; nothing left is the empty rendering."""
    text = text.lower()
    previous = None
    while previous != text:  # nested notes
        previous, text = text, _NOTE.sub(" ", text)
    text = _ENGLISH_PLACEHOLDER.sub(" ", text)
    text = " ".join(text.split()).strip(" .,;:!?")
    text = _ENGLISH_LEAD.sub("", text).strip()
    return text if text else EMPTY


def split_meanings(entry):
    """The translations of an entry `translations ^ attributes ^ associations`, in order, with
    their class labels ("[n.]", header form "[v.:]") taken off. An empty item stays, as ""."""
    translations = entry.split("^", 1)[0]
    items = translations.split("|")
    meanings = []
    for item in items:
        while _LABEL.match(item):
            item = _LABEL.sub("", item, count=1)
        meanings.append(item.strip())
    return meanings


def read_tab_lines(path, what):
    """The two TAB-separated fields of each line, in file order; comment lines start with #."""
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) != 2 or not parts[0].strip():
                raise ValueError("%s:%d: expected %s" % (path, number, what))
            yield parts[0].strip(), parts[1].strip()


def read_word_list(path):
    """word -> (acceptable translations, as written), in file order."""
    words = {}
    for word, translations in read_tab_lines(path, "word<TAB>translations"):
        words.setdefault(word, [a.strip() for a in translations.split("|") if a.strip()])
    return words


def read_sentences(path):
    return list(read_tab_lines(path, "source<TAB>reference"))


def score_word(meanings, acceptable, normalise):
    """(rank of the first acceptable meaning counting from 1, or 0) with both sides normalised."""
    accepted = {normalise(a) for a in acceptable}
    for rank, meaning in enumerate(meanings, 1):
        if normalise(meaning) in accepted:
            return rank
    return 0


# ---------------------------------------------------------------------------------------------
# The command line program
# ---------------------------------------------------------------------------------------------
class CliError(Exception):
    pass


class Program:
    def __init__(self, cli, home):
        self.cli = cli
        self.home = home
        self.starts = 0

    def run(self, direction, args):
        command = [self.cli, "--home", self.home, "--direction", direction, "--json"] + args
        self.starts += 1
        done = subprocess.run([c.encode("utf-8") for c in command], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=120)
        return (done.returncode, done.stdout.decode("utf-8", "replace"),
                done.stderr.decode("utf-8", "replace"))

    def ensure_home(self):
        if os.path.isdir(self.home) and os.listdir(self.home):
            return
        done = subprocess.run([self.cli, "--home", self.home, "init"], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE)
        if done.returncode != 0:
            raise CliError("init failed: " + done.stderr.decode("utf-8", "replace").strip())

    def lookup(self, direction, key):
        """The entry text, or None when the key is not in the system dictionary."""
        code, out, err = self.run(direction, ["dict", "lookup", "--system", "--", key])
        if code == 0:
            return json.loads(out)["entry"]
        if err.startswith("not found"):
            return None
        raise CliError("lookup %r: exit %d: %s" % (key, code, err.strip()))

    def lookup_word(self, direction, word):
        entry = self.lookup(direction, word)
        if entry is None and direction == "ce" and len(word) > 1 and " " not in word:
            entry = self.lookup(direction, " ".join(word))  # the stored form of Chinese keys
        return entry

    def base_form(self, direction, word):
        """The key the analysis reads the word under ("settings" -> "setting") when the word makes
        one segment with a different key, else None."""
        code, out, err = self.run(direction, ["analyse", "--", word])
        if code != 0:
            raise CliError("analyse %r: exit %d: %s" % (word, code, err.strip()))
        segments = json.loads(out)["segments"]
        if len(segments) != 1:
            return None
        key = segments[0]["key"].strip()
        return key if key and key.replace(" ", "") != word.lower() else None

    def translate(self, direction, sentence):
        code, out, err = self.run(direction, ["mt", "--", sentence])
        if code != 0:
            raise CliError("mt %r: exit %d: %s" % (sentence, code, err.strip()))
        return json.loads(out)["translation"]


def evaluate_direction(program, direction, show_failures, word_list="words"):
    words = read_word_list(os.path.join(EVAL_DIR, "%s_%s.tsv" % (direction, word_list)))
    sentences = read_sentences(os.path.join(EVAL_DIR, "%s_sentences.tsv" % direction))
    normalise = normalise_chinese if direction == "ec" else normalise_english
    top1 = top3 = anywhere = not_found = 0
    failures = []
    base_forms = {}  # not found as typed; scored with the key the analysis reads it under
    for word, acceptable in words.items():
        entry = program.lookup_word(direction, word)
        if entry is None:
            # An inflected form is shown with the meanings of the key the analysis reads it
            # under ("pleased" with those of "please"): those are what the translator sees.
            base = program.base_form(direction, word)
            entry = program.lookup(direction, base) if base is not None else None
            if entry is None:
                not_found += 1
                failures.append({"word": word, "meanings": None})
                continue
            base_forms[word] = base
        meanings = [m if m else EMPTY for m in split_meanings(entry)]
        rank = score_word(meanings, acceptable, normalise)
        top1 += rank == 1
        top3 += 1 <= rank <= 3
        anywhere += rank >= 1
        if rank != 1:
            failures.append({"word": word, "meanings": meanings[:3]})
    hypotheses = [program.translate(direction, source) for source, _ in sentences]
    references = [reference for _, reference in sentences]
    count = len(words)
    return {
        "direction": direction,
        "words": count,
        "top1": top1, "top3": top3, "anywhere": anywhere, "notFound": not_found,
        "notFoundButBaseFormFound": base_forms,
        "top1Percent": round(100.0 * top1 / count, 1) if count else 0.0,
        "top3Percent": round(100.0 * top3 / count, 1) if count else 0.0,
        "anywherePercent": round(100.0 * anywhere / count, 1) if count else 0.0,
        "sentences": len(sentences),
        "chrF": round(corpus_chrf(hypotheses, references), 2),
        "failures": failures[:show_failures],
        "translations": [
            {"source": source, "reference": reference, "mt": hypothesis,
             "chrF": round(chrf_from_statistics(chrf_statistics(hypothesis, reference)), 2)}
            for (source, reference), hypothesis in zip(sentences, hypotheses)],
    }


def print_report(result):
    print("%s: %d words" % (result["direction"], result["words"]))
    print("  first meaning acceptable: %4d  (%.1f%%)" % (result["top1"], result["top1Percent"]))
    print("  among the first three:    %4d  (%.1f%%)" % (result["top3"], result["top3Percent"]))
    print("  anywhere in the entry:    %4d  (%.1f%%)" % (result["anywhere"], result["anywherePercent"]))
    print("  not found:                %4d" % result["notFound"])
    if result["notFoundButBaseFormFound"]:
        print("  scored with the key the analysis reads them under: %d (%s)" % (
            len(result["notFoundButBaseFormFound"]),
            ", ".join("%s -> %s" % pair for pair in result["notFoundButBaseFormFound"].items())))
    print("  mt chrF over %d sentences: %.2f" % (result["sentences"], result["chrF"]))
    if result["failures"]:
        print("  first meaning not acceptable:")
        for failure in result["failures"]:
            shown = "(not found)" if failure["meanings"] is None else " | ".join(failure["meanings"])
            print("    %s: %s" % (failure["word"], shown))


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("cli", help="the built tavricat-cli")
    parser.add_argument("home", help="program folder to read (made with init when missing)")
    parser.add_argument("--direction", choices=["ec", "ce", "both"], default="both")
    parser.add_argument("--json", action="store_true", help="print the figures as JSON")
    parser.add_argument("--word-list", default="words", metavar="NAME",
                        help="read tools/eval/DIRECTION_NAME.tsv (e.g. heldout_words) instead of the main lists")
    parser.add_argument("--show-failures", type=int, default=0, metavar="N",
                        help="list N words whose first meaning is not acceptable")
    args = parser.parse_args(argv)
    if args.show_failures < 0:
        parser.error("--show-failures takes a count of 0 or more")
    if not (os.path.isfile(args.cli) and os.access(args.cli, os.X_OK)):
        parser.error("no executable command line program at %s" % args.cli)
    return args


def main(argv=None):
    args = parse_arguments(argv)
    program = Program(os.path.abspath(args.cli), os.path.abspath(args.home))
    directions = ["ec", "ce"] if args.direction == "both" else [args.direction]
    try:
        program.ensure_home()
        results = [evaluate_direction(program, d, args.show_failures, args.word_list) for d in directions]
    except (CliError, ValueError, OSError, subprocess.TimeoutExpired) as error:
        print("evaluate_dictionaries: %s" % error, file=sys.stderr)
        return 1
    if args.json:
        print(json.dumps({"results": results, "processStarts": program.starts}, ensure_ascii=False, indent=2))
    else:
        for result in results:
            print_report(result)
    return 0


if __name__ == "__main__":
    sys.exit(main())
