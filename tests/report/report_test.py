"""scripts/report on the recorded working directories of tests/data/report:
the figures the page names exist, their axes carry the data of the tables,
the faults are reported, and a headless Chromium shows the page with its
figures. Usage: report_test.py SOURCE_DIR"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

import numpy as np

SOURCE = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
SCRIPT = os.path.join(SOURCE, "scripts", "report")
DATA = os.path.join(SOURCE, "tests", "data", "report")


def table(path, header=True):
    lines = [l.split() for l in read(path).splitlines() if l.strip() and not l.startswith("#")]
    if not header:
        return np.array(lines, dtype=float)
    return {name: np.array([r[i] for r in lines[1:]]) for i, name in enumerate(lines[0])}


def read(path):
    with open(path) as f:
        return f.read()


def write(path, text):
    with open(path, "w") as f:
        f.write(text)


def run(d):
    return subprocess.run([SCRIPT, d], capture_output=True, text=True, timeout=60)


class Report(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.dirs = {}
        for name in ("methanol", "nma"):
            d = shutil.copytree(os.path.join(DATA, name), os.path.join(cls.tmp, name))
            r = run(d)
            assert r.returncode == 0 and r.stdout == os.path.join(d, "report", "index.html") + "\n", r
            cls.dirs[name] = (d, json.loads(read(os.path.join(d, "report", "figures.json"))),
                              read(os.path.join(d, "report", "index.html")))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def series(self, fig, axes, label):
        found = [s for s in fig[axes]["series"] if s["label"].startswith(label)]
        self.assertEqual(len(found), 1, label)
        return found[0]

    def same(self, s, x, y, plotted_in_order_of_x=True):
        order = np.argsort(x, kind="stable") if plotted_in_order_of_x else np.arange(len(x))
        np.testing.assert_allclose(s["x"], np.asarray(x, dtype=float)[order], atol=1e-9)
        np.testing.assert_allclose(s["y"], np.asarray(y, dtype=float)[order], atol=1e-9)

    def test_every_referenced_figure_exists_and_is_plotted(self):
        for name, (d, figures, page) in self.dirs.items():
            images = re.findall(r'<img src="([^"]+)"', page)
            self.assertEqual(sorted(images), sorted(figures), name)
            for f in images:
                with open(os.path.join(d, "report", f), "rb") as png:
                    self.assertEqual(png.read(8), b"\x89PNG\r\n\x1a\n", f)

    def test_charge_fit(self):
        d, figures, page = self.dirs["methanol"]
        w = table(os.path.join(d, "charge_waters.dat"))
        fig = figures["charge_waters.png"]
        for axes, what in ((0, "energy"), (1, "distance")):
            q = w[f"qm_{what}"].astype(float)
            np.testing.assert_allclose(self.series(fig, axes, "start")["x"], q)
            np.testing.assert_allclose(self.series(fig, axes, "start")["y"], w[f"start_{what}"].astype(float))
            np.testing.assert_allclose(self.series(fig, axes, "fitted")["y"], w[f"fitted_{what}"].astype(float))
        a = table(os.path.join(d, "charge_atoms.dat"))
        for atom, q in zip(a["atom"], a["fitted"]):
            self.assertIn(f"<td>{atom}</td>", page)
            self.assertIn(f"<td>{float(q):.3f}</td>", page)
        self.assertIn("<td>qm_scaled</td>", page)
        self.assertIn("No bonded fit in this directory", page)

    def test_bonded_fit(self):
        d, figures, page = self.dirs["nma"]
        rmsd = table(os.path.join(d, "bond", "term_rmsd.dat"))
        self.assertGreater(len(rmsd["term"]), 1)
        for i, term in enumerate(rmsd["term"]):
            fig = figures[f"term_{term}.png"]
            qm = table(os.path.join(d, "bond", term, "qm_ref.dat"), header=False)
            self.same(self.series(fig, 0, "QM"), qm[:, 0], qm[:, 1])
            start = table(os.path.join(d, "bond", term, "charmm.start.dat"))
            s = self.series(fig, 0, "MM start")
            self.same(s, start["coordinate"].astype(float), start["energy"].astype(float))
            self.assertIn(f"RMSD {float(rmsd['ener_start'][i]):.3f}", s["label"])
            end = table(os.path.join(d, "bond", term, "charmm.results.dat"), header=False)
            s = self.series(fig, 0, "MM fitted")
            self.same(s, end[:, 0], end[:, 1])
            self.assertIn(f"RMSD {float(rmsd['ener_end'][i]):.3f}", s["label"])
        multi = [f for f in figures if f.startswith("multidimensional-")]
        self.assertEqual(len(multi), 1)
        here = os.path.join(d, "bond", multi[0][:-4])
        qm, mm = (table(os.path.join(here, f), header=False) for f in ("qm_ref.dat", "charmm.results.dat"))
        xs, ys = np.unique(qm[:, 0]), np.unique(qm[:, 1])
        meshes = [np.array(ax["meshes"][0]["values"], dtype=float) for ax in figures[multi[0]]]
        self.assertEqual(int(np.sum(~np.isnan(meshes[0]))), len(qm))
        for p, m in zip(qm, mm):
            cell = (np.searchsorted(ys, p[1]), np.searchsorted(xs, p[0]))
            np.testing.assert_allclose([g[cell] for g in meshes], [p[2], m[2], m[2] - p[2]], atol=1e-9)
        e = table(os.path.join(d, "bond", "target-structures", "energy.results.dat"), header=False)
        self.same(self.series(figures["target_structures.png"], 0, "fitted"), e[:, 1], e[:, 0], False)
        h = table(os.path.join(d, "bond", "objective_history.dat"))
        s = self.series(figures["objective_history.png"], 0, "total")
        np.testing.assert_allclose(s["x"], h["step"].astype(float))
        np.testing.assert_allclose(s["y"], h["total"].astype(float))
        self.assertIn("No charge fit in this directory", page)

    def test_faults(self):
        d = os.path.join(self.tmp, "nma")
        rmsd = os.path.join(d, "bond", "term_rmsd.dat")
        text = read(rmsd)
        empty = tempfile.mkdtemp(dir=self.tmp)
        cases = [
            ("no fit", empty, None, f"report: {empty} holds the results of no fit (neither charge_atoms.dat "
                                    "nor bond/term_rmsd.dat)\n"),
            ("no directory", os.path.join(self.tmp, "absent"), None,
             f"report: {os.path.join(self.tmp, 'absent')} is not a directory\n"),
            ("short row", d, text + "b_x 1.0\n", f"report: {rmsd}:{text.count(chr(10)) + 1}: 2 words under a "
                                                 "header of 5\n"),
            ("not a number", d, text.replace("\n", "\nd_x 1.0 zero 1.0 1.0\n", 1),
             f"report: {rmsd}:2: 'zero' is not a number\n"),
        ]
        for name, where, content, message in cases:
            with self.subTest(name):
                if content is not None:
                    write(rmsd, content)
                r = run(where)
                write(rmsd, text)
                self.assertEqual((r.returncode, r.stderr), (1, message))

    def test_page_in_chromium(self):
        browser = shutil.which("chromium")
        self.assertIsNotNone(browser, "chromium is not installed: run scripts/bootstrap")
        d = self.dirs["nma"][0]
        page = "file://" + os.path.join(d, "report", "index.html")
        shot = os.path.join(self.tmp, "nma.png")
        flags = [browser, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                 f"--user-data-dir={os.path.join(self.tmp, 'chromium')}", "--window-size=1200,1800"]
        dom = subprocess.run(flags + ["--dump-dom", page], capture_output=True, text=True, timeout=60).stdout
        n = len(self.dirs["nma"][1])
        self.assertIn(f'data-figures-loaded="{n}/{n}"', dom)
        subprocess.run(flags + [f"--screenshot={shot}", page], capture_output=True, timeout=60)
        import matplotlib.image
        rgb = matplotlib.image.imread(shot)[:, :, :3]
        # Not blank, and coloured: the figures' curves, not text alone.
        self.assertGreater(np.mean(rgb.min(axis=2) < 0.9), 0.02)
        self.assertGreater(np.mean(rgb.max(axis=2) - rgb.min(axis=2) > 0.3), 0.001)


if __name__ == "__main__":
    unittest.main()
