#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Quillbook developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The mutation runner's own rules: reading mutants, applying them, reading
ctest's verdicts, and which tests see which folder of a build."""

import importlib.machinery
import importlib.util
import os
import tempfile
import textwrap
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parents[2] / "scripts" / "mutate"
loader = importlib.machinery.SourceFileLoader("mutate", str(SCRIPT))
module_spec = importlib.util.spec_from_loader("mutate", loader)
mutate = importlib.util.module_from_spec(module_spec)
loader.exec_module(mutate)


def write(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(textwrap.dedent(text))


class ReadingMutants(unittest.TestCase):
    def read(self, text):
        with tempfile.TemporaryDirectory() as folder:
            write(Path(folder) / "lib.txt", text)
            return mutate.read_mutants(Path(folder))

    def test_blocks_comments_multiline_and_deletion(self):
        mutants = self.read("""\
            # a comment before the first block
            id: lib-01
            file: src/lib/a.cpp
            fault: off by one
            occurrence: 2
            - if (a < b)
            -     return;
            + if (a <= b)
            +     return;

            # a comment between blocks
            id: lib-02
            file: tools/b.cpp
            fault: a dropped call
            - tidy();
            """)
        self.assertEqual([(m.id, m.library, m.occurrence) for m in mutants],
                         [("lib-01", "lib", 2), ("lib-02", "tools", 0)])
        self.assertEqual(mutants[0].snippet, "if (a < b)\n    return;")
        self.assertEqual(mutants[0].replacement, "if (a <= b)\n    return;")
        self.assertEqual(mutants[1].replacement, "")

    def test_refused_blocks(self):
        cases = {
            "no id": "file: f.cpp\nfault: x\n- a\n+ b\n",
            "no snippet": "id: x\nfile: f.cpp\nfault: x\n+ b\n",
            "changes nothing": "id: x\nfile: f.cpp\nfault: x\n- a\n+ a\n",
            "stray line": "id: x\nfile: f.cpp\nfault: x\n- a\nnonsense\n",
            "id used twice": "id: x\nfile: f.cpp\nfault: x\n- a\n\nid: x\nfile: g.cpp\nfault: y\n- b\n",
        }
        for name, text in cases.items():
            with self.subTest(name), self.assertRaises(SystemExit):
                self.read(text)


class ApplyingMutants(unittest.TestCase):
    def test_table(self):
        text = "a = 1;\nb = 1;\n"
        cases = [
            # snippet, occurrence, mutated text or None, reason
            ("a = 1;", 0, "a = 2;\nb = 1;\n", ""),
            ("= 1;", 2, "a = 1;\nb = 2;\n", ""),
            ("= 1;", 0, None, "snippet found 2 times; say which with 'occurrence:'"),
            ("= 1;", 3, None, "occurrence 3 asked, the snippet is found 2 times"),
            ("c = 1;", 0, None, "snippet not found"),
        ]
        for snippet, occurrence, expected, reason in cases:
            with self.subTest(snippet=snippet, occurrence=occurrence):
                m = mutate.Mutant("m", "src/x/x.cpp", "f", snippet, snippet.replace("1", "2"), occurrence)
                self.assertEqual(mutate.mutated_text(m, text), (expected, reason))


class ReadingCtest(unittest.TestCase):
    """run_tests against a stand-in ctest that prints what the real one prints."""

    def run_with(self, output, code):
        with tempfile.TemporaryDirectory() as folder:
            folder = Path(folder)
            fake = folder / "bin" / "ctest"
            write(fake, f"#!/bin/sh\ncat <<'OUT'\n{output}OUT\nexit {code}\n")
            fake.chmod(0o755)
            old_path, old_build = os.environ["PATH"], mutate.BUILD
            os.environ["PATH"] = f"{fake.parent}:{old_path}"
            mutate.BUILD = folder / "build"
            try:
                args = type("Args", (), {"jobs": 2, "timeout": 5})()
                return mutate.run_tests(args, folder / "log", names=["tst_a", "tst_b"])
            finally:
                os.environ["PATH"], mutate.BUILD = old_path, old_build

    def test_verdicts(self):
        cases = [
            ("passed", " 1/2 Test  #1: tst_a ......   Passed    0.10 sec\n"
                       " 2/2 Test #12: tst_b ......   Passed   12.50 sec\n", 0, [], False),
            ("failed", " 1/2 Test  #1: tst_a ......***Failed    0.10 sec\n", 8, [("tst_a", "Failed")], False),
            ("timeout", " 1/2 Test  #2: tst_b ......***Timeout 150.01 sec\n", 8, [("tst_b", "Timeout")], True),
            ("crash", " 1/2 Test  #1: tst_a ......Subprocess aborted***Exception:   0.20 sec\n", 8,
             [("tst_a", "Subprocess aborted***Exception:")], False),
            ("no line but a failure", "Errors while running CTest\n", 8, [("ctest", "exit code 8")], False),
        ]
        for name, output, code, failed, timed_out in cases:
            with self.subTest(name):
                outcome = self.run_with(output, code)
                self.assertEqual(outcome.failed, failed)
                self.assertEqual(outcome.timed_out, timed_out)
        self.assertEqual(self.run_with(cases[0][1], 0).seconds, {"tst_a": 0.10, "tst_b": 12.50})


class MappingTests(unittest.TestCase):
    """tests_by_library and test_plan over a small build tree of link lines."""

    def test_folders_reach_their_tests_and_programs(self):
        with tempfile.TemporaryDirectory() as folder:
            folder = Path(folder)
            build, tree = folder / "build", folder / "tree"
            for library in ("report", "invoice"):
                write(build / f"src/{library}/CMakeFiles/{library}.dir/link.txt",
                      f"/usr/bin/ar qc lib{library}.a a.o\n/usr/bin/ranlib lib{library}.a\n")
            write(build / "tools/CMakeFiles/quillbook-render.dir/link.txt",
                  "/usr/bin/c++ a.o -o ../app/quillbook-render ../src/report/libreport.a\n")
            write(build / "tests/report/CMakeFiles/tst_render.dir/link.txt",
                  "/usr/bin/c++ t.o -o tst_render ../../src/report/libreport.a\n")
            write(build / "tests/report/CMakeFiles/tst_render.dir/tst_render.cpp.o", "")
            write(tree / "tests/report/tst_render.cpp", '#include "fixture.h"\n')
            write(tree / "tests/report/fixture.h", 'start(QUILLBOOK_APP_DIR "/quillbook-render");\n')
            write(build / "tests/invoice/CMakeFiles/tst_totals.dir/link.txt",
                  "/usr/bin/c++ t.o -o tst_totals ../../src/invoice/libinvoice.a ../../src/report/libreport.a\n")
            write(build / "tests/invoice/CMakeFiles/tst_totals.dir/tst_totals.cpp.o", "")
            # Only a usage text: the test does not run the program.
            write(tree / "tests/invoice/tst_totals.cpp", 'QCOMPARE(usage, u"usage: quillbook-render"_s);\n')
            old = mutate.BUILD, mutate.TREE
            mutate.BUILD, mutate.TREE = build, tree
            try:
                tests = {"tst_render": build / "tests/report/tst_render",
                         "tst_totals": build / "tests/invoice/tst_totals"}
                seen = mutate.tests_by_library(tests)
            finally:
                mutate.BUILD, mutate.TREE = old
        self.assertEqual(seen["report"], {"tst_render", "tst_totals", "quillbook-render"})
        self.assertEqual(seen["invoice"], {"tst_totals"})
        self.assertEqual(seen["tools"], {"tst_render", "quillbook-render"})

        plan = mutate.test_plan(tests, seen)
        self.assertEqual(plan["report"], [(["tst_render"], ["tst_render", "quillbook-render"]),
                                          (["tst_totals"], ["tst_totals", "quillbook-render"])])
        self.assertEqual(plan["tools"], [(["tst_render"], ["tst_render", "quillbook-render"])])


class Score(unittest.TestCase):
    def test_summary(self):
        results = [mutate.KILLED, mutate.TIMEOUT, mutate.SURVIVED, mutate.NO_BUILD, mutate.STALE, mutate.KILLED]
        mutants = [mutate.Mutant(str(i), "src/a/a.cpp", "f", "x", "y", result=r) for i, r in enumerate(results)]
        self.assertIn("killed 3 (of them by timeout 1), survived 1, did not build 1, stale 1",
                      mutate.summary(mutants))
        self.assertTrue(mutate.summary(mutants).endswith("= 3/4 = 75.0 %"))
        self.assertTrue(mutate.summary(mutants[3:5]).endswith("= 0/0 = n/a"))


if __name__ == "__main__":
    unittest.main()
