"""The Python interface over the engine library (python/pileaxial.py), run by CTest with the library
just built given in PILEAXIAL_LIBRARY.  Standard library only."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, os.pardir, os.pardir))
sys.path.insert(0, os.path.join(SOURCE, "python"))

import pileaxial  # noqa: E402

TITLE_RULE = "     " + "=" * 73
TITLE_LINE = "   A Program for Analyzing the Axial Capacity"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def with_total_length(text, length):
    """The input `text` with its pile length (record G2, field 6, on the fifth line) set."""
    lines = text.splitlines(keepends=True)
    g2 = lines[4].split()
    g2[5] = str(length)
    lines[4] = " ".join(g2[:7]) + "\n"
    return "".join(lines)


def results_of(result):
    """The parts of the JSON document that do not depend on where the inputs came from."""
    return {key: value for key, value in result.json.items() if key != "files"}


def setUpModule():
    # One date in every report, so that two runs of a case give the same text.
    os.environ["SOURCE_DATE_EPOCH"] = "1767225600"


class PythonInterface(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="pileaxial-py-")
        self.addCleanup(shutil.rmtree, self.dir)

    def copy_example(self, name, extensions):
        paths = []
        for extension in extensions:
            source = os.path.join(SOURCE, "examples", name, name + extension)
            paths.append(shutil.copy(source, self.dir))
        return paths

    def test_examples_by_path_and_by_text_agree(self):
        for name, extensions in (("english-pipe", [".in"]), ("si-closed-cpt", [".in", ".cpt"])):
            with self.subTest(example=name):
                paths = self.copy_example(name, extensions)
                cpt = paths[1] if len(paths) > 1 else None
                on_files = pileaxial.run(paths[0], cpt=cpt)
                in_memory = pileaxial.run(text=read(paths[0]), cpt_text=read(cpt) if cpt else None,
                                          name=name + ".in")
                for result in (on_files, in_memory):
                    self.assertEqual(result.status, 0, result.messages)
                    self.assertTrue(result.ok)
                    self.assertEqual(result.message, "")
                    self.assertTrue(result.report.startswith(TITLE_RULE + "\n\n"), result.report[:200])
                    self.assertIn(TITLE_LINE, result.report.splitlines()[2])
                    self.assertIn("capacityTables", result.json)
                    self.assertIn("loadSettlement", result.json)
                self.assertEqual(results_of(on_files), results_of(in_memory))
                self.assertEqual(on_files.plot, in_memory.plot)
                self.assertIsInstance(on_files.json, dict)
                # The run on files wrote beside the input, and the result holds what it wrote.
                stem = os.path.splitext(paths[0])[0]
                self.assertEqual(read(stem + ".out"), on_files.report)
                self.assertEqual(read(stem + ".plt"), on_files.plot)
                self.assertEqual(on_files.json["files"]["report"], stem + ".out")

                # Named report and plot-data files.
                elsewhere = pileaxial.run(paths[0], cpt=cpt, report=os.path.join(self.dir, "r.txt"),
                                          plot=os.path.join(self.dir, "p.txt"))
                self.assertEqual(read(os.path.join(self.dir, "p.txt")), on_files.plot)
                self.assertEqual(results_of(elsewhere), results_of(on_files))

    def test_faults_give_status_2_and_name_the_input(self):
        good = read(os.path.join(SOURCE, "examples", "english-pipe", "english-pipe.in"))
        si = read(os.path.join(SOURCE, "examples", "si-closed-cpt", "si-closed-cpt.in"))
        missing = os.path.join(self.dir, "missing.in")
        cases = [
            # (run keywords, status, text the message must hold)
            ({"text": "ONLY A TITLE\n", "name": "short-case.in"}, 2, "short-case.in"),
            ({"text": good.replace("1 5 8 0 ", "7 5 8 0 ", 1), "name": "units.in"}, 2, "units.in"),
            ({"input_path": missing}, 2, missing),
            ({"text": si, "name": "sounding.in", "cpt_text": "0 2\n1 100\n0.5 100\n"}, 2, "sounding.cpt"),
            # A pile longer than the soil profile: the computation does not proceed.
            ({"text": with_total_length(good, 200), "name": "long.in"}, 1, "G6"),
        ]
        for keywords, status, named in cases:
            with self.subTest(case=keywords.get("name", keywords.get("input_path"))):
                result = pileaxial.run(**keywords)
                self.assertEqual(result.status, status)
                self.assertEqual(result.json["status"], status)
                self.assertFalse(result.ok)
                self.assertIn(named, result.message)
                self.assertIn("pileaxial: " + result.message, result.messages)
        # A missing input leaves no report or plot-data file behind.
        self.assertEqual(os.listdir(self.dir), [])

    def test_run_many_in_threads_equals_runs_one_after_another(self):
        english = read(os.path.join(SOURCE, "examples", "english-pipe", "english-pipe.in"))
        si_in, si_cpt = self.copy_example("si-closed-cpt", [".in", ".cpt"])
        cases = [{"text": with_total_length(english, length), "name": "L%d.in" % length}
                 for length in (40, 50, 60, 70, 80, 90)]
        cases += [{"input_path": si_in, "cpt": si_cpt, "report": os.path.join(self.dir, "si.out"),
                   "plot": os.path.join(self.dir, "si.plt")},
                  {"text": "BAD\n", "name": "bad.in"}]
        one_by_one = [pileaxial.run(**case) for case in cases]
        side_by_side = pileaxial.run_many(cases, threads=4)
        self.assertEqual(len(side_by_side), len(cases))
        for alone, together in zip(one_by_one, side_by_side):
            self.assertEqual(together.name, alone.name)
            self.assertEqual(together.status, alone.status)
            self.assertEqual(together.json, alone.json)
            self.assertEqual(together.report, alone.report)
            self.assertEqual(together.plot, alone.plot)
        self.assertEqual([r.status for r in side_by_side], [0] * 7 + [2])
        # Each case ran its own pile length.
        lengths = [r.json["capacityTables"][0]["rows"][-1]["pileLength"] for r in side_by_side[:6]]
        self.assertEqual(lengths, [35, 45, 55, 65, 75, 85])  # embedded: the 5 ft stickup off
        self.assertEqual(pileaxial.run_many([]), [])

    def test_misuse_raises(self):
        misuse = [
            ({}, ValueError),
            ({"input_path": "a.in", "text": "x"}, ValueError),
            ({"input_path": "a.in", "cpt_text": "x"}, ValueError),
            ({"text": "x", "cpt": "a.cpt"}, ValueError),
            ({"text": "x", "report": "a.out"}, ValueError),
            ({"text": "x\0y"}, ValueError),
            ({"input_path": "a\0.in"}, ValueError),
            ({"text": 12}, TypeError),
        ]
        for keywords, error in misuse:
            with self.subTest(keywords=keywords):
                with self.assertRaises(error):
                    pileaxial.run(**keywords)
        with self.assertRaisesRegex(ValueError, "case 1"):
            pileaxial.run_many(["a.in", {"text": "x", "plot": "p"}])
        with self.assertRaises(TypeError):
            pileaxial.run_many([{"txt": "x"}])
        # A library that cannot be found is named, with where it was looked for.
        env = dict(os.environ, PILEAXIAL_LIBRARY=os.path.join(self.dir, "no-such-library.so"))
        probe = subprocess.run([sys.executable, "-c", "import pileaxial; pileaxial.run(text='x')"],
                               env=dict(env, PYTHONPATH=os.path.join(SOURCE, "python")),
                               capture_output=True, text=True)
        self.assertNotEqual(probe.returncode, 0)
        self.assertIn("OSError", probe.stderr)
        self.assertIn("no-such-library.so", probe.stderr)
        self.assertRegex(pileaxial.version(), r"^\d+\.\d+\.\d+$")


if __name__ == "__main__":
    unittest.main()
