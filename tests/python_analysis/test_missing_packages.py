"""The plain client imports no third-party package; the analysis layer names
the Debian package of one that is missing."""

import os
import subprocess
import sys
import unittest

from analysis_support import ATLAS, MAP

PYTHON_DIR = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", "..", "python"))


def run_python(code):
    environment = dict(os.environ, PYTHONPATH=PYTHON_DIR)
    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          env=environment, check=False)


class MissingPackageTest(unittest.TestCase):

    def test_plain_client_imports_none_of_the_analysis_packages(self):
        run = run_python("import sys, kavicalc\n"
                         "print(sorted({'numpy', 'xarray', 'dask', 'distributed', 'yaml', "
                         "'scipy'} & set(sys.modules)))")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stdout.strip(), "[]")

    def test_missing_package_is_named_with_its_debian_package(self):
        calls = {
            "xarray": f"kavicalc.grid({MAP!r}, {ATLAS!r}, 80, bounds=(0, 0, 1, 1), spacing=1)",
            "scipy": f"kavicalc.grid({MAP!r}, {ATLAS!r}, 80, bounds=(0, 0, 1, 1), spacing=1)",
            "distributed": f"kavicalc.grid({MAP!r}, {ATLAS!r}, 80, bounds=(0, 0, 1, 1), "
                           "spacing=1, client='tcp://127.0.0.1:9')",
            "yaml": "kavicalc.write_windio(None, 'never.yaml')",
        }
        for module, call in calls.items():
            with self.subTest(module=module):
                run = run_python(f"import sys\nsys.modules[{module!r}] = None\nimport kavicalc\n"
                                 f"try:\n    {call}\nexcept kavicalc.MissingPackage as e:\n"
                                 "    print(e)\n")
                self.assertEqual(run.returncode, 0, run.stderr)
                package = {"yaml": "python3-yaml"}.get(module, f"python3-{module}")
                self.assertIn(f"install the Debian package {package} (apt-get install "
                              f"{package})", run.stdout)
                self.assertFalse(os.path.exists("never.yaml"))


if __name__ == "__main__":
    unittest.main()
