#!/usr/bin/env python3
"""Builds data/home/verb.dat, the irregular-form table, from WordNet's exception lists.

Usage: tools/build_verb_forms.py CLI [WORDNET_DIR] [OUT]
  CLI          the built tavricat-cli (it writes the scrambled table: `data verbs`)
  WORDNET_DIR  folder with verb.exc, noun.exc, adj.exc (default /usr/share/wordnet,
               Debian package wordnet-base)
  OUT          default data/home/verb.dat next to this script's project

Each exception line is "form base [base...]"; "_" joins the words of multi-word forms. The
first base form with as many words as the form is taken ("comics comic_strip comic" gives
"comic"); a line without one is dropped, since the analysis puts each base form in the place
of its form word for word. Verb forms win over noun forms, noun forms over adjective forms,
when the same form is listed twice. Lines that map a form onto itself are dropped. A few
forms the regular rules misread ("does", which is not "doe" + "s") are added.
"""
import os
import subprocess
import sys
import tempfile

SOURCES = ("verb.exc", "noun.exc", "adj.exc")  # earlier files win on a repeated form

# Forms the exception lists leave to the regular rules although the rules read them as
# another word: "does" would lose its "s" and be found as "doe" (a female deer).
EXTRA_FORMS = (("does", "do"), ("doth", "do"))


def read_pairs(wordnet_dir):
    pairs = {}
    for name in SOURCES:
        with open(os.path.join(wordnet_dir, name), encoding="ascii") as f:
            for line in f:
                fields = line.split()
                if len(fields) < 2:
                    continue
                form = fields[0].replace("_", " ")
                words = len(form.split())
                bases = [b.replace("_", " ") for b in fields[1:] if len(b.split("_")) == words]
                if not bases:
                    continue
                base = bases[0]
                if form.lower() == base.lower() or form.lower() in pairs:
                    continue
                pairs[form.lower()] = (form, base)
    for form, base in EXTRA_FORMS:
        pairs.setdefault(form, (form, base))
    return list(pairs.values())


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    cli = argv[1]
    wordnet_dir = argv[2] if len(argv) > 2 else "/usr/share/wordnet"
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[3] if len(argv) > 3 else os.path.join(root, "data", "home", "verb.dat")
    pairs = read_pairs(wordnet_dir)
    with tempfile.TemporaryDirectory() as tmp:
        listing = os.path.join(tmp, "forms.tsv")
        with open(listing, "w", encoding="ascii", newline="") as f:
            for form, base in pairs:
                f.write(f"{form}\t{base}\r\n")
        # The CLI sorts the forms in list order, leaves out what the fields cannot hold and
        # writes the scrambled file through a scratch file.
        return subprocess.call([cli, "data", "verbs", listing, out])


if __name__ == "__main__":
    sys.exit(main(sys.argv))
