"""Activation, properties and members of every class through the client."""

import ctypes
import gc
import os
import pathlib
import unittest

from client_support import ClientTestCase, E_NOTIMPL, kavicalc
from kavicalc import _runtime

DISP_E_EXCEPTION = 0x80020009
DISP_E_TYPEMISMATCH = 0x80020005
DISP_E_BADPARAMCOUNT = 0x8002000E
CO_E_CLASSSTRING = 0x800401F3
SERVER_KEY = b"CLSID\\{02DBFD12-B9C3-4D95-A04C-2E4737D3E6A5}\\InprocServer32"

STRING_PROPERTIES = {
    "Kavicalc.AtlasUser": ["MapFile", "AtlasFile", "RoughnessRoseFile", "ObstaclesDataFile"],
    "Kavicalc.AtlasGenerator": ["MapFile", "TabFile", "RoughnessRoseFile", "ObstaclesDataFile"],
    "Kavicalc.RoughnessRoseGenerator": ["MapFile"],
    "Kavicalc.RIXCalculator": ["MapFile"],
}


class PropertyTest(ClientTestCase):

    def test_string_properties_of_every_class(self):
        texts = ["", "hill.map", "Høj bakke ☃ 𝄞.map", "dir with spaces/a,b.map"]
        for prog_id, names in STRING_PROPERTIES.items():
            calculator = kavicalc.Dispatch(prog_id)
            for name in names:
                with self.subTest(prog_id=prog_id, name=name):
                    self.assertIsNone(getattr(calculator, name), "never put: no value")
                    for text in texts:
                        setattr(calculator, name, text)
                        self.assertEqual(getattr(calculator, name), text)
                    setattr(calculator, name, pathlib.Path("/data") / "site.map")
                    self.assertEqual(getattr(calculator, name), "/data/site.map")
                    setattr(calculator, name, 12)  # converted by the server
                    self.assertEqual(getattr(calculator, name), "12")

    def test_height_is_stored_exactly_as_put(self):
        for prog_id in ("Kavicalc.AtlasUser", "Kavicalc.AtlasGenerator"):
            calculator = kavicalc.Dispatch(prog_id)
            for height in (0.1 + 0.2, 1e300, -3.5, 2.0**40 + 0.5):
                calculator.HeightAGL = height
                self.assertEqual(calculator.HeightAGL, height)
            calculator.HeightAGL = 50
            self.assertIsInstance(calculator.HeightAGL, float)
            with self.assertRaises(kavicalc.ComError) as caught:
                calculator.HeightAGL = "fifty"
            self.assertEqual(caught.exception.hresult, DISP_E_TYPEMISMATCH)
            self.assertEqual(calculator.HeightAGL, 50.0)

    def test_member_names(self):
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        user.mapfile = "lower.map"  # names are looked up without regard to case
        self.assertEqual(user.MapFile, "lower.map")
        self.assertFalse(hasattr(user, "NoSuchMember"))
        with self.assertRaises(AttributeError):
            user.NoSuchMember = 1
        with self.assertRaises(AttributeError):
            user._private = 1
        self.assertIsInstance(user.CalculateResults, kavicalc.Method)
        self.assertIn("Kavicalc.AtlasUser", repr(user))

    def test_methods_check_their_arguments(self):
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        with self.assertRaises(kavicalc.ComError) as caught:
            user.CalculateResults(1.0)
        self.assertEqual(caught.exception.hresult, DISP_E_BADPARAMCOUNT)
        with self.assertRaises(kavicalc.ComError) as caught:
            user.CalculateResults(0.0, "north")
        self.assertEqual(caught.exception.hresult, DISP_E_TYPEMISMATCH)
        self.assertIn("argument 2", caught.exception.description)
        with self.assertRaises(TypeError):
            user.CalculateResults(object(), 0.0)

    def test_rix_calculator_calculates_nothing(self):
        rix = kavicalc.Dispatch("Kavicalc.RIXCalculator")
        for member in (lambda: rix.RIX(0.0, 0.0), lambda: rix.Configuration):
            with self.assertRaises(kavicalc.ComError) as caught:
                member()
            self.assertEqual(caught.exception.hresult, E_NOTIMPL)
            self.assertEqual(caught.exception.description, "Not implemented")

    def test_configuration_keeps_its_object_alive(self):
        configuration = kavicalc.Dispatch("Kavicalc.AtlasUser").Configuration
        gc.collect()
        self.assertEqual(configuration.Count, 30)
        parameter = configuration.Item("RDECAYL")
        del configuration
        gc.collect()
        parameter.Value = 20000
        self.assertEqual(parameter.Value, 20000.0)

    def test_result_objects_are_independent_dispatch_objects(self):
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        first, second = user.Configuration, user.Configuration
        self.assertIsNot(first, second)
        first.Item("STDH1").Value = 7
        self.assertEqual(second.Item("STDH1").Value, 7.0)  # one configuration per object
        other = kavicalc.Dispatch("Kavicalc.AtlasUser").Configuration
        self.assertEqual(other.Item("STDH1").Value, 10.0)

    def test_kavibase_edition(self):
        user = kavicalc.Dispatch("KAVIBASE.AtlasUser")
        configuration = user.Configuration
        defaults = {"NUMSTDR": 4, "STDR5": 1.0, "RNUMSECT": 6, "MAXRC": 7, "NUMSTDH": 5}
        for identifier, value in defaults.items():
            self.assertEqual(configuration.Item(identifier).Value, value, identifier)
        with self.assertRaises(kavicalc.ComError) as caught:
            user.CalculateResults(0.0, 0.0)
        self.assertEqual(caught.exception.source, "KAVIBASE.AtlasUser.1")
        self.assertEqual(caught.exception.description, "Map file not specified")


class ActivationTest(ClientTestCase):

    def setUp(self):
        super().setUp()
        saved = os.environ["KAVI_REGISTRY"]
        self.addCleanup(os.environ.__setitem__, "KAVI_REGISTRY", saved)
        self.registry = self.folder.file("registry")
        os.environ["KAVI_REGISTRY"] = self.registry

    def _registered_server(self):
        """The InprocServer32 path of AtlasUser in the registry, read through the runtime."""
        runtime = _runtime.runtime()
        runtime.RegGetValue.restype = ctypes.c_int32
        text = ctypes.c_void_p()
        self.assertEqual(runtime.RegGetValue(SERVER_KEY, None, ctypes.byref(text)), 0)
        value = ctypes.string_at(text.value).decode()
        runtime.CoTaskMemFree(text)
        return value

    def test_first_use_registers_the_edition_library(self):
        self.assertFalse(os.path.exists(self.registry))
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        self.assertEqual(user.Configuration.Count, 30)
        self.assertEqual(kavicalc.registry_path(), self.registry)
        self.assertTrue(self._registered_server().endswith("libkavicalc.so"))

    def test_a_stale_registration_is_renewed(self):
        kavicalc.Dispatch("Kavicalc.AtlasUser")
        server = self._registered_server()
        runtime = _runtime.runtime()
        runtime.RegSetValue.restype = ctypes.c_int32
        self.assertEqual(runtime.RegSetValue(SERVER_KEY, None, b"/nonexistent/libkavicalc.so"), 0)
        self.assertEqual(kavicalc.Dispatch("Kavicalc.AtlasUser").HeightAGL.__class__, float)
        self.assertEqual(self._registered_server(), server)

    def test_unknown_prog_ids(self):
        for prog_id in ("Kavicalc.NoSuchClass", "Elsewhere.AtlasUser", ""):
            with self.subTest(prog_id=prog_id):
                with self.assertRaises(kavicalc.ComError) as caught:
                    kavicalc.Dispatch(prog_id)
                self.assertEqual(caught.exception.hresult, CO_E_CLASSSTRING)
                self.assertIn(f"Cannot create {prog_id}", caught.exception.description)
        with self.assertRaises(TypeError):
            kavicalc.Dispatch(None)


class NulInNamesTest(ClientTestCase):

    def test_a_string_property_with_a_nul_raises_value_error(self):
        calculator = kavicalc.Dispatch("Kavicalc.AtlasUser")
        calculator.MapFile = "kept.map"
        for text in ["site.map\0junk", "\0", pathlib.PurePosixPath("a") / "b\0c"]:
            with self.subTest(text=text):
                with self.assertRaises(ValueError):
                    calculator.MapFile = text
        self.assertEqual(calculator.MapFile, "kept.map")


if __name__ == "__main__":
    unittest.main()

