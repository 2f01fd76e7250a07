"""The guides stay whole: every picture they show exists and is taken by an end-to-end test,
every file they link to exists, and every benchmark has its figures with its command."""

import glob
import os
import re
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
LINK = re.compile(r"!?\[[^\]]*\]\(([^)#\s]+)(?:#[^)]*)?\)")


def documents():
    return [os.path.join(ROOT, "README.md")] + sorted(glob.glob(os.path.join(ROOT, "docs", "*.md")))


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def e2e_sources():
    return "".join(read(path) for path in glob.glob(os.path.join(ROOT, "tests", "e2e", "*.py")))


class GuidesTest(unittest.TestCase):
    def test_every_link_in_the_guides_reaches_a_file_of_the_project(self):
        for document in documents():
            for target in LINK.findall(read(document)):
                if re.match(r"[a-z]+:", target):
                    continue  # a web address
                with self.subTest(document=os.path.basename(document), target=target):
                    path = os.path.normpath(os.path.join(os.path.dirname(document), target))
                    self.assertTrue(os.path.exists(path), path)

    def test_every_picture_of_the_guides_is_taken_by_an_end_to_end_test(self):
        sources = e2e_sources()
        pictures = sorted(glob.glob(os.path.join(ROOT, "docs", "images", "*.png")))
        self.assertGreaterEqual(len(pictures), 5)
        shown = "".join(read(document) for document in documents())
        for picture in pictures:
            name = os.path.basename(picture)
            with self.subTest(name):
                self.assertIn(f'guide_image("{name}"', sources)
                self.assertIn(f"images/{name}", shown, "a picture no guide shows")

    def test_every_benchmark_has_its_figures_and_command(self):
        performance = read(os.path.join(ROOT, "docs", "PERFORMANCE.md"))
        benchmarks = re.findall(r"add_executable\((\w+)", read(os.path.join(ROOT, "bench",
                                                                           "CMakeLists.txt")))
        self.assertGreaterEqual(len(benchmarks), 4)
        for benchmark in benchmarks:
            with self.subTest(benchmark):
                self.assertIn(f"--target {benchmark}", performance)
                self.assertRegex(performance, rf"bench/{benchmark}(\.exe)? ")


if __name__ == "__main__":
    unittest.main()
