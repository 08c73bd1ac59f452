#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Quillbook developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The mutation runner's own rules: reading mutants, applying them, reading
ctest's verdicts, which tests see which folder of a build, and the score."""

import importlib.machinery
import importlib.util
import os
import tempfile
import textwrap
import unittest
from pathlib import Path
from unittest import mock

SCRIPT = Path(__file__).resolve().parents[2] / "scripts" / "mutate"
loader = importlib.machinery.SourceFileLoader("mutate", str(SCRIPT))
mutate = importlib.util.module_from_spec(importlib.util.spec_from_loader("mutate", loader))
loader.exec_module(mutate)


def write(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(textwrap.dedent(text))


def read(text):
    with tempfile.TemporaryDirectory() as folder:
        write(Path(folder) / "lib.txt", text)
        return mutate.read_mutants(Path(folder))


class Runner(unittest.TestCase):
    def test_reading_mutants(self):
        mutants = read("""\
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
        self.assertEqual([(m.id, m.library, m.occurrence, m.snippet, m.replacement) for m in mutants],
                         [("lib-01", "lib", 2, "if (a < b)\n    return;", "if (a <= b)\n    return;"),
                          ("lib-02", "tools", 0, "tidy();", "")])
        for name, text in {"no id": "file: f.cpp\nfault: x\n- a\n+ b\n",
                           "no snippet": "id: x\nfile: f.cpp\nfault: x\n+ b\n",
                           "changes nothing": "id: x\nfile: f.cpp\nfault: x\n- a\n+ a\n",
                           "stray line": "id: x\nfile: f.cpp\nfault: x\n- a\nnonsense\n",
                           "id used twice": "id: x\nfile: f.cpp\nfault: x\n- a\n\nid: x\nfile: g.cpp\nfault: y\n- b\n",
                           }.items():
            with self.subTest(name), self.assertRaises(SystemExit):
                read(text)

    def test_applying_mutants(self):
        for snippet, occurrence, expected, reason in [
                ("a = 1;", 0, "a = 2;\nb = 1;\n", ""),
                ("= 1;", 2, "a = 1;\nb = 2;\n", ""),
                ("= 1;", 0, None, "snippet found 2 times; say which with 'occurrence:'"),
                ("= 1;", 3, None, "occurrence 3 asked, the snippet is found 2 times"),
                ("c = 1;", 0, None, "snippet not found")]:
            with self.subTest(snippet=snippet, occurrence=occurrence):
                m = mutate.Mutant("m", "src/x/x.cpp", "f", snippet, snippet.replace("1", "2"), occurrence)
                self.assertEqual(mutate.mutated_text(m, "a = 1;\nb = 1;\n"), (expected, reason))

    def test_ctest_verdicts(self):
        """run_tests against a stand-in ctest that prints what the real one prints."""
        passed = " 1/2 Test  #1: tst_a ......   Passed    0.10 sec\n 2/2 Test #12: tst_b ......   Passed   12.50 sec\n"
        for name, output, code, failed, timed_out in [
                ("passed", passed, 0, [], False),
                ("failed", " 1/2 Test  #1: tst_a ......***Failed    0.10 sec\n", 8, [("tst_a", "Failed")], False),
                ("timeout", " 1/2 Test  #2: tst_b ......***Timeout 150.01 sec\n", 8, [("tst_b", "Timeout")], True),
                ("crash", " 1/2 Test  #1: tst_a ......Subprocess aborted***Exception:   0.20 sec\n", 8,
                 [("tst_a", "Subprocess aborted***Exception:")], False),
                ("no line but a failure", "Errors while running CTest\n", 8, [("ctest", "exit code 8")], False)]:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                fake = Path(folder) / "bin" / "ctest"
                write(fake, f"#!/bin/sh\ncat <<'OUT'\n{output}OUT\nexit {code}\n")
                fake.chmod(0o755)
                with mock.patch.dict(os.environ, PATH=f"{fake.parent}:{os.environ['PATH']}"), \
                        mock.patch.object(mutate, "BUILD", Path(folder) / "build"):
                    args = type("Args", (), {"jobs": 2, "timeout": 5})()
                    outcome = mutate.run_tests(args, Path(folder) / "log", names=["tst_a", "tst_b"])
                self.assertEqual((outcome.failed, outcome.timed_out), (failed, timed_out))
                if name == "passed":
                    self.assertEqual(outcome.seconds, {"tst_a": 0.10, "tst_b": 12.50})

    def test_folders_reach_their_tests_and_programs(self):
        with tempfile.TemporaryDirectory() as folder:
            build, tree = Path(folder) / "build", Path(folder) / "tree"
            for library in ("report", "invoice"):
                write(build / f"src/{library}/CMakeFiles/{library}.dir/link.txt",
                      f"/usr/bin/ar qc lib{library}.a a.o\n/usr/bin/ranlib lib{library}.a\n")
            write(build / "tools/CMakeFiles/quillbook-render.dir/link.txt",
                  "/usr/bin/c++ a.o -o ../app/quillbook-render ../src/report/libreport.a\n")
            for test, libraries, source in [
                    ("report/tst_render", "report/libreport.a", '#include "fixture.h"\n'),
                    # Only a usage text: the test does not run the program.
                    ("invoice/tst_totals", "invoice/libinvoice.a ../../src/report/libreport.a",
                     'QCOMPARE(usage, u"usage: quillbook-render"_s);\n')]:
                folder_name, name = test.split("/")
                write(build / f"tests/{folder_name}/CMakeFiles/{name}.dir/link.txt",
                      f"/usr/bin/c++ t.o -o {name} ../../src/{libraries}\n")
                write(build / f"tests/{folder_name}/CMakeFiles/{name}.dir/{name}.cpp.o", "")
                write(tree / f"tests/{folder_name}/{name}.cpp", source)
            write(tree / "tests/report/fixture.h", 'start(QUILLBOOK_APP_DIR "/quillbook-render");\n')
            tests = {"tst_render": build / "tests/report/tst_render", "tst_totals": build / "tests/invoice/tst_totals"}
            with mock.patch.object(mutate, "BUILD", build), mock.patch.object(mutate, "TREE", tree):
                seen = mutate.tests_by_library(tests)
        self.assertEqual(seen["report"], {"tst_render", "tst_totals", "quillbook-render"})
        self.assertEqual(seen["invoice"], {"tst_totals"})
        self.assertEqual(seen["tools"], {"tst_render", "quillbook-render"})
        plan = mutate.test_plan(tests, seen)
        self.assertEqual(plan["report"], [(["tst_render"], ["tst_render", "quillbook-render"]),
                                          (["tst_totals"], ["tst_totals", "quillbook-render"])])
        self.assertEqual(plan["tools"], [(["tst_render"], ["tst_render", "quillbook-render"])])

    def test_score(self):
        results = [mutate.KILLED, mutate.TIMEOUT, mutate.SURVIVED, mutate.NO_BUILD, mutate.STALE, mutate.KILLED]
        mutants = [mutate.Mutant(str(i), "src/a/a.cpp", "f", "x", "y", result=r) for i, r in enumerate(results)]
        self.assertIn("killed 3 (of them by timeout 1), survived 1, did not build 1, stale 1", mutate.summary(mutants))
        self.assertTrue(mutate.summary(mutants).endswith("= 3/4 = 75.0 %"))
        self.assertTrue(mutate.summary(mutants[3:5]).endswith("= 0/0 = n/a"))


if __name__ == "__main__":
    unittest.main()
