"""climate_from_series: the tool's climate through Python, summary as a dict."""

import os
import unittest

from client_support import TempFolder, kavicalc

FIELD_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "field-data",
                          "wind_climate")
GREENSBORO = os.path.join(FIELD_DATA, "tmy3_723170_greensboro_NC.csv")


class ClimateFromSeriesTest(unittest.TestCase):

    def setUp(self):
        self.folder = TempFolder()
        self.addCleanup(self.folder.cleanup)

    def test_greensboro_summary_and_file(self):
        out = self.folder.file("greensboro.tab")
        summary = kavicalc.climate_from_series(
            out, GREENSBORO, "Wspd (m/s)", "Wdir (degrees)", skip_rows=1, height=10,
            latitude=36.1, longitude=-79.95, plot=self.folder.file("greensboro.svg"))
        self.assertEqual(summary["records"]["read"], 8760)
        self.assertEqual(summary["records"]["calm"], 1050)
        self.assertEqual(len(summary["sectors"]), 12)
        self.assertAlmostEqual(sum(s["frequency"] for s in summary["sectors"]), 100.0, places=9)
        with open(out, encoding="utf-8") as text:
            lines = text.read().splitlines()
        self.assertEqual(lines[1].split(), ["36.1", "-79.95", "10"])
        self.assertTrue(os.path.isfile(self.folder.file("greensboro.svg")))

    def test_refusal_carries_the_tool_message(self):
        out = self.folder.file("bad.tab")
        with self.assertRaises(kavicalc.ClimateError) as caught:
            kavicalc.climate_from_series(out, GREENSBORO, "no such column", "Wdir (degrees)",
                                         skip_rows=1, height=10)
        self.assertEqual(caught.exception.status, 1)
        self.assertIn("no column 'no such column'", str(caught.exception))
        self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    unittest.main()
