"""Where the client finds its libraries, each case in a fresh interpreter."""

import os
import shutil
import subprocess
import sys
import unittest

from client_support import ClientTestCase, kavicalc
from kavicalc import _runtime

LIBRARIES = ("libkavirt.so", "libkavicalc.so", "libkavibase.so")
PROBE = """
import kavicalc
try:
    user = kavicalc.Dispatch("Kavicalc.AtlasUser")
except kavicalc.LibraryNotFound as error:
    print("not found:", error)
else:
    print("server:", kavicalc._runtime.server_path("libkavicalc.so"))
    print("count:", user.Configuration.Count)
"""


class LibrarySearchTest(ClientTestCase):

    def run_probe(self, package_parent, **environment):
        env = {k: v for k, v in os.environ.items() if k != "KAVI_LIBRARY_DIR"}
        env.update(environment, PYTHONPATH=package_parent,
                   KAVI_REGISTRY=self.folder.file("registry"))
        run = subprocess.run([sys.executable, "-c", PROBE], env=env, capture_output=True,
                             text=True, timeout=120)
        self.assertEqual(run.returncode, 0, run.stderr)
        return run.stdout.splitlines()

    def test_an_explicit_folder_is_the_only_one_searched(self):
        empty = self.folder.file("empty")
        os.mkdir(empty)
        package_parent = os.path.dirname(os.path.dirname(kavicalc.__file__))
        lines = self.run_probe(package_parent, KAVI_LIBRARY_DIR=empty)
        self.assertTrue(lines[0].startswith("not found: libkavirt.so is not in KAVI_LIBRARY_DIR="),
                        lines)

    def test_an_installed_layout_finds_the_lib_folder_beside_the_package(self):
        _runtime.runtime()
        source = os.path.dirname(_runtime.server_path("libkavirt.so"))
        if not source:
            self.skipTest("the libraries came from the loader's own search path")
        prefix = self.folder.file("prefix")
        shutil.copytree(os.path.dirname(kavicalc.__file__),
                        os.path.join(prefix, "python", "kavicalc"),
                        ignore=shutil.ignore_patterns("__pycache__"))
        os.makedirs(os.path.join(prefix, "lib"))
        for library in LIBRARIES:
            shutil.copy(os.path.join(source, library), os.path.join(prefix, "lib", library))
        lines = self.run_probe(os.path.join(prefix, "python"))
        self.assertEqual(lines, [f"server: {os.path.realpath(prefix)}/lib/libkavicalc.so",
                                 "count: 30"])


if __name__ == "__main__":
    unittest.main()
