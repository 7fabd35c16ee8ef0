"""Activation by ProgID through the runtime, registering the server on first use.

When a ProgID does not resolve, or the registry leads to no loadable server,
the server library of the ProgID's edition is registered (its
DllRegisterServer writes the registry entries) and the activation is tried
once more, as the command-line tool does: a new user never meets "class not
registered". The edition is told by the ProgID's first part: "Kavicalc" ->
libkavicalc.so, "KAVIBASE" -> libkavibase.so (without regard to letter case,
as the registry compares names).
"""

from ctypes import byref, c_void_p

from . import _abi
from ._abi import GUID, IID_IDispatch
from ._errors import ComError, error_from_thread, take_error_info
from ._runtime import runtime, server, server_path, utf16

EDITION_LIBRARIES = {"kavicalc": "libkavicalc.so", "kavibase": "libkavibase.so"}

# Results that mean the registry does not lead to a loadable server.
_SERVER_MISSING = {
    _abi.REGDB_E_CLASSNOTREG,
    _abi.REGDB_E_KEYMISSING,
    _abi.CO_E_DLLNOTFOUND,
    _abi.CO_E_ERRORINDLL,
}


def edition_library(prog_id):
    """The server library file of the ProgID's edition, or None."""
    return EDITION_LIBRARIES.get(prog_id.split(".", 1)[0].lower())


def register_server(file_name):
    """Registers the server library file_name (beside the runtime) in the registry."""
    path = server_path(file_name)
    try:
        library = server(file_name)
    except OSError as error:
        raise ComError(_abi.CO_E_DLLNOTFOUND, "",
                       f"Cannot load the server library {path}: {error}") from error
    code = library.DllRegisterServer()
    if _abi.failed(code):
        raise error_from_thread(code, f"Cannot register {path}")


def _clsid(prog_id):
    clsid = GUID()
    code = runtime().CLSIDFromProgID(utf16(prog_id), byref(clsid))
    return _abi.unsigned(code), clsid


def create(prog_id):
    """A new object of the class prog_id names; the address of its IDispatch."""
    if not isinstance(prog_id, str):
        raise TypeError("a ProgID is a string, e.g. 'Kavicalc.AtlasUser'")
    context = f"Cannot create {prog_id}"
    library = edition_library(prog_id)
    registered = False

    code, clsid = _clsid(prog_id)
    if _abi.failed(code):
        if library is None:
            raise error_from_thread(code, context)
        take_error_info()
        register_server(library)
        registered = True
        code, clsid = _clsid(prog_id)
        if _abi.failed(code):
            raise error_from_thread(code, context)

    dispatch = c_void_p()
    code = _abi.unsigned(
        runtime().CoCreateInstance(byref(clsid), None, byref(IID_IDispatch), byref(dispatch)))
    if code in _SERVER_MISSING and library is not None and not registered:
        take_error_info()
        register_server(library)
        code, clsid = _clsid(prog_id)
        if _abi.failed(code):
            raise error_from_thread(code, context)
        code = _abi.unsigned(
            runtime().CoCreateInstance(byref(clsid), None, byref(IID_IDispatch), byref(dispatch)))
    if _abi.failed(code):
        raise error_from_thread(code, context)
    if not dispatch.value:
        raise ComError(_abi.E_POINTER, "", f"{context}: the server returned no object")
    return dispatch.value
