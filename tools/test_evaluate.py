#!/usr/bin/env python3
"""Checks of evaluate_dictionaries.py: chrF against published values, entry parsing, the lists.

    python3 tools/test_evaluate.py
"""

import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import evaluate_dictionaries as ev  # noqa: E402


class ChrfTest(unittest.TestCase):
    def test_published_sentence_and_corpus_values(self):
        # Values printed by the reference implementation's documentation (char order 6, beta 2).
        hyp = "The relationship between Obama and Netanyahu is not exactly friendly."
        ref = "The ties between Obama and Netanyahu are not particularly friendly."
        self.assertAlmostEqual(ev.corpus_chrf([hyp], [ref]), 61.576379378113785, places=9)
        hyps = ["The relationship between cats and dogs is not exactly friendly.",
                "a good bookshop is just a genteel black hole that knows how to read."]
        refs = ["The relationship between dogs and cats is not exactly friendly.",
                "A good bookshop is just a genteel Black Hole that knows how to read."]
        # Summed statistics, not the mean of the sentence scores.
        self.assertAlmostEqual(ev.corpus_chrf(hyps, refs), 84.64214891738334, places=9)

    def test_edges(self):
        self.assertAlmostEqual(ev.corpus_chrf(["按电源按钮"], ["按 电源 按钮"]), 100.0)  # blanks ignored
        self.assertEqual(ev.corpus_chrf([""], ["打开设备"]), 0.0)
        self.assertEqual(ev.corpus_chrf(["abc"], ["xyz"]), 0.0)
        # Orders longer than both texts do not drag the average down.
        self.assertAlmostEqual(ev.corpus_chrf(["ab"], ["ab"]), 100.0)


class EntryTest(unittest.TestCase):
    def test_labels_and_empty_items(self):
        self.assertEqual(ev.split_meanings("[v.]考|[v.]查|挫折|[n.]支票^[n.]本^"), ["考", "查", "挫折", "支票"])
        self.assertEqual(ev.split_meanings("[v.:]读|看^^"), ["读", "看"])
        self.assertEqual(ev.split_meanings("|(completed action marker)|to finish^^"),
                         ["", "(completed action marker)", "to finish"])

    def test_normalised_comparison(self):
        norm = ev.normalise_english
        self.assertEqual(norm("to print out (with a printer)"), "print out")
        self.assertEqual(norm("(technical) manual"), "manual")
        self.assertEqual(norm("(classifier used before a noun that has no specific classifier)"), ev.EMPTY)
        self.assertEqual(norm("to take care of (sb (or sth))"), "take care of")
        self.assertEqual(ev.normalise_chinese(" 说 明 书 "), "说明书")
        self.assertEqual(ev.score_word(["饭", "扇", "风扇"], ["风扇", "扇子", "扇"], ev.normalise_chinese), 2)
        self.assertEqual(ev.score_word(["", "individual"], ["-", "piece"], ev.normalise_english), 1)
        self.assertEqual(ev.score_word(["grain"], ["year"], ev.normalise_english), 0)


class ListsAndArgumentsTest(unittest.TestCase):
    def test_delivered_lists_are_well_formed(self):
        for direction in ("ec", "ce"):
            words = ev.read_word_list(os.path.join(ev.EVAL_DIR, direction + "_words.tsv"))
            self.assertGreaterEqual(len(words), 320, direction)
            self.assertTrue(all(words.values()), direction)
            pairs = ev.read_sentences(os.path.join(ev.EVAL_DIR, direction + "_sentences.tsv"))
            self.assertGreaterEqual(len(pairs), 100, direction)

    def test_malformed_line_is_refused(self):
        with tempfile.NamedTemporaryFile("w", suffix=".tsv", delete=False, encoding="utf-8") as f:
            f.write("# list\nfan 风扇\n")
        try:
            with self.assertRaises(ValueError):
                ev.read_word_list(f.name)
        finally:
            os.unlink(f.name)

    def test_missing_program_and_bad_arguments_fail(self):
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "evaluate_dictionaries.py")
        for args in (["/nonexistent/tavricat-cli", "/tmp/h"],
                     [sys.executable, "/tmp/h", "--direction", "xx"],
                     [sys.executable, "/tmp/h", "--show-failures", "-1"]):
            done = subprocess.run([sys.executable, script] + args, capture_output=True)
            self.assertNotEqual(done.returncode, 0, args)


if __name__ == "__main__":
    unittest.main()
