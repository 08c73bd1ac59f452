#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Quillbook developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The mutation runner's verdicts, with the mutated file put back each time."""

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

ORIGINAL = "a = 1;\nb = 1;\n"
FAILED = " 1/1 Test  #1: tst_a ......***Failed    0.10 sec\n"


class Runner(unittest.TestCase):
    def test_verdicts(self):
        for snippet, occurrence, builds, ctest, code, result, detail in [
                ("c = 1;", 0, True, "", 0, mutate.STALE, "snippet not found"),
                ("= 1;", 0, True, "", 0, mutate.STALE, "snippet found 2 times; say which with 'occurrence:'"),
                ("= 1;", 3, True, "", 0, mutate.STALE, "occurrence 3 asked, the snippet is found 2 times"),
                ("= 1;", 2, False, "", 0, mutate.NO_BUILD, "x.cpp:2: error: no"),
                ("a = 1;", 0, True, FAILED, 8, mutate.KILLED, "tst_a: Failed"),
                ("a = 1;", 0, True, " 1/1 Test  #1: tst_a ......***Timeout 150.01 sec\n", 8, mutate.TIMEOUT,
                 "tst_a: Timeout"),
                ("a = 1;", 0, True, "Errors while running CTest\n", 8, mutate.KILLED, "ctest: exit code 8"),
                ("a = 1;", 0, True, " 1/1 Test  #1: tst_a ......   Passed    0.10 sec\n", 0, mutate.SURVIVED, "")]:
            with self.subTest(snippet=snippet, occurrence=occurrence, result=result), \
                    tempfile.TemporaryDirectory() as folder:
                root = Path(folder)
                (root / "src/x").mkdir(parents=True)
                (root / "src/x/x.cpp").write_text(ORIGINAL)
                (root / "ctest").write_text(f"#!/bin/sh\ncat <<'OUT'\n{ctest}OUT\nexit {code}\n")
                (root / "ctest").chmod(0o755)
                (root / "x.txt").write_text(textwrap.dedent(f"""\
                    id: x-01
                    file: src/x/x.cpp
                    fault: a one made a two
                    occurrence: {occurrence}
                    - {snippet}
                    + {snippet.replace("1", "2")}
                    """))
                [m] = mutate.read_mutants(root)
                built = []

                def build(args, logfile, targets=()):
                    built.append((root / "src/x/x.cpp").read_text())
                    return builds, "x.cpp:2: error: no\n"

                with mock.patch.dict(os.environ, PATH=f"{root}:{os.environ['PATH']}"), \
                        mock.patch.multiple(mutate, TREE=root, BUILD=root / "build", build=build):
                    mutate.try_mutant(m, type("Args", (), {"jobs": 2, "timeout": 5})(), root / "log", {})
                self.assertEqual((m.result, m.detail), (result, detail))
                self.assertEqual((root / "src/x/x.cpp").read_text(), ORIGINAL)
                if result != mutate.STALE:
                    self.assertEqual(built[0], ORIGINAL.replace(snippet, snippet.replace("1", "2"), 1)
                                     if occurrence == 0 else "a = 1;\nb = 2;\n")


if __name__ == "__main__":
    unittest.main()
