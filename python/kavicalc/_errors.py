"""The client's exception and the error information left on the thread."""

from ctypes import CFUNCTYPE, POINTER, byref, c_int32, c_void_p

from . import _abi
from ._interface import release, slot
from ._runtime import runtime, take_bstr

_GET_TEXT = CFUNCTYPE(c_int32, c_void_p, POINTER(c_void_p))
_GET_SOURCE_SLOT = 4
_GET_DESCRIPTION_SLOT = 5

_RESULT_TEXTS = {
    _abi.E_NOTIMPL: "Not implemented",
    _abi.E_NOINTERFACE: "No such interface supported",
    _abi.E_POINTER: "Invalid pointer",
    _abi.E_FAIL: "Unspecified error",
    _abi.E_UNEXPECTED: "Unexpected failure",
    _abi.E_OUTOFMEMORY: "Not enough memory",
    _abi.E_INVALIDARG: "One or more arguments are invalid",
    _abi.E_ACCESSDENIED: "Access denied",
    _abi.DISP_E_UNKNOWNINTERFACE: "Unknown interface",
    _abi.DISP_E_MEMBERNOTFOUND: "Member not found",
    _abi.DISP_E_PARAMNOTFOUND: "Parameter not found",
    _abi.DISP_E_TYPEMISMATCH: "Type mismatch",
    _abi.DISP_E_UNKNOWNNAME: "Unknown name",
    _abi.DISP_E_NONAMEDARGS: "Named arguments are not supported",
    _abi.DISP_E_BADVARTYPE: "Bad variable type",
    _abi.DISP_E_EXCEPTION: "Exception occurred",
    _abi.DISP_E_OVERFLOW: "Value out of the range of its type",
    _abi.DISP_E_BADINDEX: "Invalid index",
    _abi.DISP_E_BADPARAMCOUNT: "Wrong number of arguments",
    _abi.CLASS_E_CLASSNOTAVAILABLE: "Class not available from this server",
    _abi.REGDB_E_CLASSNOTREG: "Class not registered",
    _abi.REGDB_E_READREGDB: "Could not read the registry",
    _abi.REGDB_E_WRITEREGDB: "Could not write the registry",
    _abi.REGDB_E_KEYMISSING: "Registry key missing",
    _abi.CO_E_CLASSSTRING: "Invalid class string (ProgID not registered)",
    _abi.CO_E_DLLNOTFOUND: "Server library not found",
    _abi.CO_E_ERRORINDLL: "Error in the server library",
}


def result_text(code):
    """A short text for a result code, for failures that carry no description."""
    return _RESULT_TEXTS.get(_abi.unsigned(code), "Failure without a description")


class ComError(Exception):
    """A failed call: the result code (unsigned 32-bit), the error source and description."""

    def __init__(self, hresult, source="", description=""):
        hresult = _abi.unsigned(hresult)
        source = source or ""
        description = description or ""
        super().__init__(hresult, source, description)
        self.hresult = hresult
        self.source = source
        self.description = description

    def __str__(self):
        where = f"{self.source}: " if self.source else ""
        return f"{where}{self.description} (0x{self.hresult:08X})"


def _text(info, index):
    bstr = c_void_p()
    code = slot(info, index, _GET_TEXT)(info, byref(bstr))
    return take_bstr(bstr.value) if not _abi.failed(code) else None


def take_error_info():
    """(source, description) of the thread's error information, which is cleared.

    None when the thread holds none. Every failure the client meets takes it,
    so that no stale information is left for a later failure.
    """
    info = c_void_p()
    if runtime().GetErrorInfo(0, byref(info)) != _abi.S_OK or not info.value:
        return None
    try:
        return _text(info.value, _GET_SOURCE_SLOT), _text(info.value, _GET_DESCRIPTION_SLOT)
    finally:
        release(info.value)


def error_from_thread(code, context=None):
    """The ComError for a failed call, from the error information it left."""
    source, description = take_error_info() or (None, None)
    description = description or result_text(code)
    if context:
        description = f"{context}: {description}"
    return ComError(code, source, description)
