"""ComError: what a failing call reports, and that nothing stale is reported later."""

import os
import pickle
import unittest

from client_support import ClientTestCase, kavicalc, write_flat_map

DISP_E_EXCEPTION = 0x80020009
DISP_E_BADPARAMCOUNT = 0x8002000E
KAVI_RUNTIME_ERROR = 0x800403E8


class NotSpecifiedTest(ClientTestCase):

    def test_missing_map_file_of_every_calculating_class(self):
        out = self.folder.file("never-written")
        calculations = {
            "AtlasUser": lambda o: o.CalculateResults(0.0, 0.0),
            "AtlasGenerator": lambda o: o.CalculateAtlas(0.0, 0.0, out),
            "RoughnessRoseGenerator": lambda o: o.CalculateRoughnessRose(out, 12, 0.0, 0.0),
        }
        for class_name, calculate in calculations.items():
            with self.subTest(class_name=class_name):
                with self.assertRaises(kavicalc.ComError) as caught:
                    calculate(kavicalc.Dispatch(f"Kavicalc.{class_name}"))
                error = caught.exception
                self.assertEqual(error.hresult, DISP_E_EXCEPTION)
                self.assertEqual(error.source, f"Kavicalc.{class_name}.1")
                self.assertEqual(error.description, "Map file not specified")
                self.assertEqual(
                    str(error), f"Kavicalc.{class_name}.1: Map file not specified (0x80020009)")
                self.assertFalse(os.path.exists(out))

    def test_missing_atlas_file_is_reported_after_the_map_was_read(self):
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        user.MapFile = write_flat_map(self.folder.file("flat.map"))
        with self.assertRaises(kavicalc.ComError) as caught:
            user.CalculateResults(0.0, 0.0)
        self.assertEqual(caught.exception.description, "Atlas file not specified")
        self.assertEqual(caught.exception.hresult, DISP_E_EXCEPTION)

    def test_the_error_survives_pickling(self):
        error = kavicalc.ComError(0x800403E8, "Kavicalc.AtlasUser.1", "Kavicalc: Error in map file")
        copy = pickle.loads(pickle.dumps(error))
        self.assertEqual((copy.hresult, copy.source, copy.description),
                         (error.hresult, error.source, error.description))
        self.assertEqual(kavicalc.ComError(-2147352567).hresult, DISP_E_EXCEPTION)


class FailingLoadTest(ClientTestCase):

    def calculate(self, prog_id, map_file):
        user = kavicalc.Dispatch(prog_id)
        user.MapFile = map_file
        user.AtlasFile = self.folder.file("no.lib")
        with self.assertRaises(kavicalc.ComError) as caught:
            user.CalculateResults(0.0, 0.0)
        return caught.exception

    def test_a_map_that_does_not_exist(self):
        error = self.calculate("Kavicalc.AtlasUser", self.folder.file("missing.map"))
        self.assertEqual(error.hresult, KAVI_RUNTIME_ERROR)
        self.assertEqual(error.source, "Kavicalc.AtlasUser.1")
        self.assertEqual(error.description, "Kavicalc: Unable to open file")

    def test_messages_carry_the_edition_prefix(self):
        error = self.calculate("KAVIBASE.AtlasUser", self.folder.file("missing.map"))
        self.assertEqual(error.hresult, KAVI_RUNTIME_ERROR)
        self.assertEqual(error.source, "KAVIBASE.AtlasUser.1")
        self.assertEqual(error.description, "Kavibase: Unable to open file")

    def test_a_damaged_map(self):
        path = self.folder.file("damaged.map")
        with open(path, "w") as out:
            out.write("a title without its coordinate mark\n1\n")
        error = self.calculate("Kavicalc.AtlasUser", path)
        self.assertEqual(error.hresult, KAVI_RUNTIME_ERROR)
        self.assertEqual(error.description, "Kavicalc: Error in map file")


class StaleInformationTest(ClientTestCase):

    def test_each_failure_reports_its_own_information(self):
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        with self.assertRaises(kavicalc.ComError):
            kavicalc.Dispatch("Kavicalc.NoSuchClass")
        with self.assertRaises(kavicalc.ComError) as caught:
            user.CalculateResults(0.0)
        self.assertEqual(caught.exception.hresult, DISP_E_BADPARAMCOUNT)
        self.assertEqual(caught.exception.source, "")
        self.assertEqual(caught.exception.description, "Wrong number of arguments")

        with self.assertRaises(kavicalc.ComError):
            user.CalculateResults(0.0, 0.0)  # leaves a source and description
        user.MapFile = "fine.map"
        with self.assertRaises(kavicalc.ComError) as caught:
            user.Configuration.Item("NOPE")
        self.assertEqual(caught.exception.source, "")
        self.assertEqual(caught.exception.description, "Parameter ID not found.")


if __name__ == "__main__":
    unittest.main()
