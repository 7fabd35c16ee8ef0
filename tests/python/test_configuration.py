"""The configuration through the client: enumeration, values, ranges, refusals."""

import struct
import unittest

from client_support import ClientTestCase, kavicalc

DISP_E_EXCEPTION = 0x80020009
DISP_E_TYPEMISMATCH = 0x80020005

ENUMERATION_ORDER = [
    "AOFSNEU", "BZAZRES", "BZINVHE", "BZSOFTN", "DYAMPLI", "DYLAND", "DYWATER", "MAXRADIUS",
    "MAXRC", "NUMSTDH", "NUMSTDR", "OFSLAND", "OFSWATER", "RDECAYL", "RMSLAND", "RMSWATER",
    "RNUMSECT", "STABFAC", "STDH1", "STDH2", "STDH3", "STDH4", "STDH5", "STDR1", "STDR2",
    "STDR3", "STDR4", "STDR5", "TRUEUPW", "WIDTHCZ",
]


def single(value):
    """value rounded to single precision, as the configuration stores it."""
    return struct.unpack("f", struct.pack("f", value))[0]


class ConfigurationTest(ClientTestCase):

    def setUp(self):
        super().setUp()
        self.configuration = kavicalc.Dispatch("Kavicalc.AtlasUser").Configuration
        self.addCleanup(delattr, self, "configuration")

    def refusal(self, identifier, value):
        with self.assertRaises(kavicalc.ComError) as caught:
            self.configuration.Item(identifier).Value = value
        return caught.exception

    def test_enumeration_gives_the_thirty_parameters_in_order(self):
        self.assertEqual(self.configuration.Count, 30)
        enumeration = self.configuration.EnumParameters
        self.assertIsInstance(enumeration, kavicalc.Unknown)
        parameters = list(enumeration)
        self.assertEqual([p.ID for p in parameters], ENUMERATION_ORDER)
        self.assertTrue(all(isinstance(p, kavicalc.Dispatch) for p in parameters))
        # The same object enumerates again from the start, and two loops do not interfere.
        pairs = list(zip(enumeration, enumeration))
        self.assertEqual([(a.ID, b.ID) for a, b in pairs],
                         [(i, i) for i in ENUMERATION_ORDER])
        for parameter in parameters:
            self.assertEqual(parameter.Value, parameter.DefaultValue, parameter.ID)
            self.assertIs(parameter.IsValueValid, True)

    def test_values_come_in_the_parameter_type(self):
        values = {p.ID: p.Value for p in self.configuration.EnumParameters}
        self.assertEqual(values["MAXRC"], 10)
        self.assertIs(type(values["MAXRC"]), int)
        self.assertIs(values["TRUEUPW"], False)
        self.assertIs(type(values["STDR2"]), float)
        # A single reads back as the shortest decimal of that single.
        self.assertEqual(values["STDR2"], 0.03)
        self.assertEqual(values["STABFAC"], 0.002)
        self.assertEqual(values["OFSLAND"], -40.0)

    def test_valid_range_holds_the_bounds_in_the_parameter_type(self):
        item = self.configuration.Item
        self.assertEqual(item("MAXRC").ValidRange, (1, 10))
        self.assertTrue(all(type(b) is int for b in item("MAXRC").ValidRange))
        self.assertEqual(item("OFSWATER").ValidRange, (-200.0, 200.0))
        self.assertEqual(item("DYAMPLI").ValidRange, (0.01, 0.25))
        self.assertEqual(item("TRUEUPW").ValidRange, (False, True))

    def test_puts_within_the_inclusive_range(self):
        item = self.configuration.Item
        item("STDH5").Value = 200
        self.assertEqual(item("STDH5").Value, 200.0)
        item("STDH3").Value = 75
        self.assertEqual(item("STDH3").Value, 75.0)
        self.assertEqual(item("STDH3").DefaultValue, 50.0)
        item("NUMSTDH").Value = 4.6  # stored as it is, read back rounded
        self.assertEqual(item("NUMSTDH").Value, 5)
        item("STDR2").Value = "0.05"  # converted by the server
        self.assertEqual(item("STDR2").Value, 0.05)
        item("RDECAYL").Value = 123456.789
        stored = item("RDECAYL").Value
        self.assertEqual(single(stored), single(123456.789))
        self.assertEqual(stored, 123456.79)  # the shortest decimal of that single
        item("TRUEUPW").Value = 1
        self.assertIs(item("TRUEUPW").Value, True)
        item("TRUEUPW").Value = 0
        self.assertIs(item("TRUEUPW").Value, False)

    def test_refused_values_leave_the_parameter_unchanged(self):
        error = self.refusal("STDH5", 200.5)
        self.assertEqual(error.hresult, DISP_E_EXCEPTION)
        self.assertEqual(error.description, "Parameter value out of range")
        self.assertEqual(str(error), "Parameter value out of range (0x80020009)")
        for value in (4.99, float("nan"), float("inf"), 2**40):
            self.assertEqual(self.refusal("STDH5", value).description,
                             "Parameter value out of range")
        # Boolean true is -1 as a number, outside 0 ... 1.
        self.assertEqual(self.refusal("TRUEUPW", True).description,
                         "Parameter value out of range")
        self.assertEqual(self.refusal("STDR2", "abc").hresult, DISP_E_TYPEMISMATCH)
        self.assertEqual(self.refusal("STDR2", [0.1, 0.2]).hresult, DISP_E_TYPEMISMATCH)
        self.assertEqual(self.configuration.Item("STDH5").Value, 200.0)
        self.assertEqual(self.configuration.Item("STDR2").Value, 0.03)
        self.assertIs(self.configuration.Item("TRUEUPW").Value, False)

    def test_item_knows_exact_ids_only(self):
        for identifier in ("maxrc", "", "MAXRC "):
            with self.assertRaises(kavicalc.ComError) as caught:
                self.configuration.Item(identifier)
            self.assertEqual(caught.exception.description, "Parameter ID not found.")
            self.assertEqual(caught.exception.source, "")
            self.assertEqual(caught.exception.hresult, DISP_E_EXCEPTION)

    def test_objects_keep_their_own_settings(self):
        other = kavicalc.Dispatch("Kavicalc.AtlasUser").Configuration
        self.configuration.Item("MAXRADIUS").Value = 30000
        self.assertEqual(other.Item("MAXRADIUS").Value, 20000.0)


if __name__ == "__main__":
    unittest.main()
