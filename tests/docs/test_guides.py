"""The guides stay whole: every picture they show exists and is taken by an end-to-end test,
every file they link to exists, every benchmark has its figures with its command, every
command can be pasted as it stands into the shell its block names, and the agent's usage
agrees with what `cluma-agent --help` prints."""

import glob
import os
import re
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
LINK = re.compile(r"!?\[[^\]]*\]\(([^)#\s]+)(?:#[^)]*)?\)")
FENCE = re.compile(r"^( *)```(\w*)\n(.*?)^\1```$", re.S | re.M)
# Each kind of block and the word that must name its shell in the lines just before it.
SHELLS = {"bat": "cmd", "powershell": "PowerShell", "sh": "sh", "text": None, "ini": None}
# A line ending like this goes on in the next line: pasted alone, it runs half a command.
CONTINUATION = re.compile(r"(\^|`|\\)$")
# The commands of the packages' READMEs, each indented and one line.
README_COMMAND = re.compile(r"^ +(\"C:|netsh|schtasks|msiexec|icacls|copy|mkdir|net |sc |reg |"
                            r"sudo|echo|cluma-agent|systemctl)")


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

    def test_every_code_block_names_its_shell_and_holds_whole_commands(self):
        for document in documents():
            text = read(document)
            for block in FENCE.finditer(text):
                kind, body = block.group(2), block.group(3)
                line = text[:block.start()].count("\n") + 1
                with self.subTest(document=os.path.basename(document), line=line):
                    self.assertIn(kind, SHELLS, "a block without a known kind")
                    before = "\n".join(text[:block.start()].splitlines()[-6:])
                    if SHELLS[kind]:
                        self.assertRegex(before, rf"\b{SHELLS[kind]}\b", "its shell is not named")
                    if kind in ("bat", "powershell", "sh"):
                        for command in body.splitlines():
                            self.assertNotRegex(command.rstrip(), CONTINUATION)
                    if kind == "powershell":
                        # PowerShell's echo and > write UTF-16 and lose a trailing space.
                        self.assertNotRegex(body, r"\becho\b|>")

    def test_the_packages_readmes_give_every_command_on_one_line(self):
        for name in ("packaging/windows/README.txt", "packaging/linux/README.txt"):
            lines = read(os.path.join(ROOT, name)).splitlines()
            for number, (line, following) in enumerate(zip(lines, lines[1:] + [""]), 1):
                if not README_COMMAND.match(line):
                    continue
                with self.subTest(readme=name, line=number):
                    indent = len(line) - len(line.lstrip())
                    self.assertNotRegex(line.rstrip(), CONTINUATION)
                    deeper = following.strip() and len(following) - len(following.lstrip()) > indent
                    self.assertFalse(deeper, f"the command goes on in the next line: {following}")

    def test_the_guides_give_the_agents_usage_as_its_help_prints_it(self):
        usage = synopses(agent_help())
        self.assertGreaterEqual(len(usage), 5)
        deployment = read(os.path.join(ROOT, "docs", "DEPLOYMENT.md"))
        section = deployment[deployment.index("## The agent's command line"):]
        self.assertEqual(synopses(FENCE.search(section).group(3)), usage)
        readme = read(os.path.join(ROOT, "README.md"))
        section = readme[readme.index("## The node agent"):]
        shown = synopses(section[:section.index("\n\n", section.index("    cluma-agent"))])
        self.assertTrue(shown and shown <= usage, shown - usage)


def agent_help():
    """The text of `cluma-agent --help`, from the string literals that make it."""
    source = read(os.path.join(ROOT, "agent", "agent_options.cpp"))
    body = source[source.index("AgentUsage()"):]
    body = body[:body.index("\n}\n")]
    return "".join(bytes(literal, "utf-8").decode("unicode_escape")
                   for literal in re.findall(r'"((?:[^"\\]|\\.)*)"', body))


def synopses(text):
    """Each `cluma-agent ...` command line with the lines that go on with it, in single spaces."""
    found, current = set(), None
    for line in text.splitlines():
        words = line.split()
        if words[:1] == ["cluma-agent"]:
            current = words
            found.add(" ".join(current))
        elif current and words and (words[0].startswith("[") or words[0] == "REASON..."):
            found.discard(" ".join(current))
            current = current + words
            found.add(" ".join(current))
        else:
            current = None
    return found


if __name__ == "__main__":
    unittest.main()
