"""VARIANT marshalling both ways, on VARIANTs made and read by the runtime."""

import ctypes
import gc
import math
import unittest

from client_support import ClientTestCase, kavicalc
from kavicalc import _abi, _runtime, _variant
from kavicalc._abi import VARIANT


def round_trip(value):
    variant = VARIANT()
    try:
        _variant.to_variant(value, variant)
        return variant.vt, _variant.from_variant(variant)
    finally:
        _runtime.clear_variant(variant)


def made_variant(vt, field, value):
    variant = VARIANT()
    setattr(variant, field, value)
    variant.vt = vt
    return variant


def can_unload(file_name):
    """Whether the server reports no live objects (DllCanUnloadNow is S_OK)."""
    gc.collect()
    return _runtime.server(file_name).DllCanUnloadNow() == 0


class PythonToVariantTest(ClientTestCase):

    def test_scalars(self):
        self.assertEqual(round_trip(None), (_abi.VT_EMPTY, None))
        self.assertEqual(round_trip(True), (_abi.VT_BOOL, True))
        self.assertEqual(round_trip(False), (_abi.VT_BOOL, False))
        self.assertEqual(round_trip(-7), (_abi.VT_I4, -7))
        self.assertEqual(round_trip(2**31 - 1), (_abi.VT_I4, 2**31 - 1))
        self.assertEqual(round_trip(-(2**31)), (_abi.VT_I4, -(2**31)))
        self.assertEqual(round_trip(2**31), (_abi.VT_R8, 2.0**31))
        self.assertEqual(round_trip(0.1), (_abi.VT_R8, 0.1))
        vt, nan = round_trip(float("nan"))
        self.assertTrue(vt == _abi.VT_R8 and math.isnan(nan))
        self.assertEqual(round_trip(""), (_abi.VT_BSTR, ""))
        self.assertEqual(round_trip("a\0b 𝄞 ü"), (_abi.VT_BSTR, "a\0b 𝄞 ü"))
        with self.assertRaises(TypeError):
            round_trip(b"bytes")
        with self.assertRaises(TypeError):
            round_trip({"a": 1})

    def test_sequences_become_safe_arrays_of_variants(self):
        vt, value = round_trip([1, 2.5, "three", None, True, (4, ["five"])])
        self.assertEqual(vt, _abi.VT_ARRAY | _abi.VT_VARIANT)
        self.assertEqual(value, (1, 2.5, "three", None, True, (4, ("five",))))
        self.assertEqual(round_trip(()), (_abi.VT_ARRAY | _abi.VT_VARIANT, ()))
        with self.assertRaises(TypeError):  # a bad element leaves nothing behind
            round_trip([1, object()])

    def test_objects_travel_with_their_own_reference(self):
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        vt, same = round_trip(user)
        self.assertEqual(vt, _abi.VT_DISPATCH)
        self.assertIsInstance(same, kavicalc.Dispatch)
        same.MapFile = "shared.map"
        self.assertEqual(user.MapFile, "shared.map")
        _, inside = round_trip([user, user.Configuration])
        self.assertEqual(inside[1].Count, 30)
        enumeration = user.Configuration.EnumParameters
        self.assertEqual(round_trip(enumeration)[0], _abi.VT_UNKNOWN)
        del user, same, inside, enumeration
        self.assertTrue(can_unload("libkavicalc.so"))


class VariantToPythonTest(ClientTestCase):

    def test_numbers_of_every_width(self):
        cases = [
            (made_variant(_abi.VT_I2, "iVal", -300), -300),
            (made_variant(_abi.VT_UI1, "bVal", 200), 200),
            (made_variant(_abi.VT_I4, "lVal", 123456), 123456),
            (made_variant(_abi.VT_R8, "dblVal", 1.25), 1.25),
            (made_variant(_abi.VT_R4, "fltVal", 0.1), 0.1),
            (made_variant(_abi.VT_R4, "fltVal", 16777217.0), 16777216.0),
            (made_variant(_abi.VT_R4, "fltVal", 1.0e-38), 1.0e-38),
            (made_variant(_abi.VT_BOOL, "boolVal", -1), True),
            (made_variant(_abi.VT_ERROR, "scode", -2147352572), 0x80020004),
            (made_variant(_abi.VT_NULL, "lVal", 0), None),
        ]
        for variant, expected in cases:
            with self.subTest(vt=variant.vt):
                value = _variant.from_variant(variant)
                self.assertEqual(value, expected)
                self.assertIs(type(value), type(expected))
        # Every single reads back as a float that rounds to the same single.
        for single in (3.4028235e38, 1.4e-45, 0.333333343267, 7.0e-6):
            value = _variant.from_variant(made_variant(_abi.VT_R4, "fltVal", single))
            self.assertEqual(ctypes.c_float(value).value, ctypes.c_float(single).value)
        inf = _variant.from_variant(made_variant(_abi.VT_R4, "fltVal", float("-inf")))
        self.assertEqual(inf, float("-inf"))

    def test_by_reference_is_read_through(self):
        number = ctypes.c_int32(42)
        self.assertEqual(_variant.from_variant(made_variant(
            _abi.VT_BYREF | _abi.VT_I4, "byref", ctypes.addressof(number))), 42)
        inner = made_variant(_abi.VT_R8, "dblVal", 2.5)
        self.assertEqual(_variant.from_variant(made_variant(
            _abi.VT_BYREF | _abi.VT_VARIANT, "byref", ctypes.addressof(inner))), 2.5)
        bstr = ctypes.c_void_p(_runtime.alloc_bstr("by reference"))
        try:
            self.assertEqual(_variant.from_variant(made_variant(
                _abi.VT_BYREF | _abi.VT_BSTR, "byref", ctypes.addressof(bstr))), "by reference")
        finally:
            _runtime.runtime().SysFreeString(bstr)
        self.assertIsNone(_variant.from_variant(made_variant(
            _abi.VT_BYREF | _abi.VT_I4, "byref", None)))

    def test_arrays_of_plain_elements(self):
        library = _runtime.runtime()
        for vt, field, values in ((_abi.VT_I4, ctypes.c_int32, [3, -1, 7]),
                                  (_abi.VT_R8, ctypes.c_double, [0.5, 1e300])):
            array = library.SafeArrayCreateVector(vt, 0, len(values))
            for index, value in enumerate(values):
                element = field(value)
                library.SafeArrayPutElement(array, ctypes.byref(ctypes.c_int32(index)),
                                            ctypes.byref(element))
            variant = made_variant(_abi.VT_ARRAY | vt, "parray", array)
            self.assertEqual(_variant.from_variant(variant), tuple(values))
            _runtime.clear_variant(variant)

    def test_unknown_types_are_refused(self):
        with self.assertRaises(TypeError):
            _variant.from_variant(made_variant(36, "lVal", 0))  # VT_RECORD


if __name__ == "__main__":
    unittest.main()
