"""Late-bound automation objects: every member through IDispatch.

Reading an attribute asks GetIDsOfNames for the member's DISPID (cached per
object type, that is per slot table) and invokes it as a property get without
arguments. A member that wants arguments answers that with
DISP_E_BADPARAMCOUNT; the attribute is then a callable that invokes it as a
method (Item("STDH3"), CalculateResults(x, y)). Members without arguments are
invoked on attribute access, as late binding does: ``param.IsValueValid``.
Setting an attribute is a property put.
"""

import os
import threading
from ctypes import (CFUNCTYPE, POINTER, byref, c_char_p, c_int32, c_uint16, c_uint32, c_void_p,
                    pointer)

from . import _abi
from ._abi import DISPPARAMS, EXCEPINFO, GUID, GUID_NULL, VARIANT
from ._activation import create
from ._errors import ComError, error_from_thread, result_text, take_error_info
from ._interface import ComObject, Reference, slot, slot_table
from ._runtime import clear_variant, take_bstr, utf16
from ._variant import from_variant, to_variant

_GET_IDS_OF_NAMES = CFUNCTYPE(c_int32, c_void_p, POINTER(GUID), POINTER(c_char_p), c_uint32,
                              c_uint32, POINTER(c_int32))
_INVOKE = CFUNCTYPE(c_int32, c_void_p, c_int32, POINTER(GUID), c_uint32, c_uint16,
                    POINTER(DISPPARAMS), POINTER(VARIANT), POINTER(EXCEPINFO), POINTER(c_uint32))
_GET_IDS_OF_NAMES_SLOT = 5
_INVOKE_SLOT = 6
_GET = _abi.DISPATCH_PROPERTYGET | _abi.DISPATCH_METHOD
# Failures of a conversion that name the argument at fault.
_ARGUMENT_FAULTS = {_abi.DISP_E_TYPEMISMATCH, _abi.DISP_E_PARAMNOTFOUND, _abi.DISP_E_OVERFLOW}


class _Member:
    __slots__ = ("dispid", "takes_arguments")

    def __init__(self, dispid):
        self.dispid = dispid
        self.takes_arguments = False


_members = {}  # slot table address -> {name: _Member}
_members_lock = threading.Lock()


def _member(address, name):
    """The member called name of the object at address; AttributeError if none."""
    table = slot_table(address)
    # A known member is looked up without the lock (a dictionary read is
    # atomic); the lock guards only the first lookup of a member.
    member = _members.get(table, {}).get(name)
    if member is not None:
        return member
    with _members_lock:
        known = _members.setdefault(table, {})
    names = (c_char_p * 1)(utf16(name))
    dispid = (c_int32 * 1)(_abi.DISPID_UNKNOWN)
    code = slot(address, _GET_IDS_OF_NAMES_SLOT, _GET_IDS_OF_NAMES)(
        address, byref(GUID_NULL), names, 1, _abi.LOCALE_USER_DEFAULT, dispid)
    if _abi.unsigned(code) == _abi.DISP_E_UNKNOWNNAME:
        raise AttributeError(f"the automation object has no member {name!r}")
    if _abi.failed(code):
        raise error_from_thread(code, f"Cannot look up {name}")
    with _members_lock:
        return known.setdefault(name, _Member(dispid[0]))


def _exception_error(exception):
    """The ComError of a call that answered DISP_E_EXCEPTION, from its EXCEPINFO."""
    if exception.pfnDeferredFillIn:
        _abi.DEFERRED_FILL_IN(exception.pfnDeferredFillIn)(byref(exception))
    source = take_bstr(exception.bstrSource)
    description = take_bstr(exception.bstrDescription)
    take_bstr(exception.bstrHelpFile)
    take_error_info()  # what a server left besides the EXCEPINFO is of no further use
    code = exception.scode if exception.scode else _abi.DISP_E_EXCEPTION
    return ComError(code, source, description or result_text(code))


def _invoke_error(code, exception, argument_error, count, name):
    if _abi.unsigned(code) == _abi.DISP_E_EXCEPTION:
        return _exception_error(exception)
    error = error_from_thread(code)
    if _abi.unsigned(code) in _ARGUMENT_FAULTS and argument_error < count:
        error = ComError(code, error.source,
                         f"{error.description} ({name}, argument {count - argument_error})")
    return error


def invoke(address, name, member, flags, arguments=(), put=False):
    """Invokes a member; with put, the last argument is the value put.

    Arguments travel last first, the value of a put first of all with the
    named argument DISPID_PROPERTYPUT. Every VARIANT made here is cleared.
    """
    count = len(arguments)
    variants = (VARIANT * count)()
    named = c_int32(_abi.DISPID_PROPERTYPUT)
    parameters = DISPPARAMS(variants if count else None, pointer(named) if put else None, count,
                            1 if put else 0)
    result = VARIANT()
    exception = EXCEPINFO()
    argument_error = c_uint32(0)
    try:
        for position, value in enumerate(arguments):
            to_variant(value, variants[count - 1 - position])
        code = slot(address, _INVOKE_SLOT, _INVOKE)(
            address, member.dispid, byref(GUID_NULL), _abi.LOCALE_USER_DEFAULT, flags,
            byref(parameters), None if put else byref(result), byref(exception),
            byref(argument_error))
    finally:
        for variant in variants:
            clear_variant(variant)
    try:
        if _abi.failed(code):
            raise _invoke_error(code, exception, argument_error.value, count, name)
        return from_variant(result)
    finally:
        clear_variant(result)


class Method:
    """A member that takes arguments, bound to its object."""

    __slots__ = ("_owner", "_name", "_member")

    def __init__(self, owner, name, member):
        self._owner = owner
        self._name = name
        self._member = member

    def __call__(self, *arguments):
        return invoke(self._owner._address, self._name, self._member, _GET, arguments)

    def __repr__(self):
        return f"<method {self._name} of {self._owner!r}>"


class Dispatch(ComObject):
    """A late-bound automation object.

    ``Dispatch("Kavicalc.AtlasUser")`` creates an object by its ProgID; the
    server library of the ProgID's edition is registered first when the ProgID
    is not registered yet. Objects returned by members are Dispatch objects too.
    The reference is released when the Python object goes away.
    """

    __slots__ = ("_label",)
    VT = _abi.VT_DISPATCH

    def __init__(self, prog_id):
        object.__setattr__(self, "_reference", Reference(create(prog_id)))
        object.__setattr__(self, "_label", prog_id)

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)
        member = _member(self._address, name)
        if member.takes_arguments:
            return Method(self, name, member)
        try:
            return invoke(self._address, name, member, _GET)
        except ComError as error:
            if error.hresult != _abi.DISP_E_BADPARAMCOUNT:
                raise
        member.takes_arguments = True
        return Method(self, name, member)

    def __setattr__(self, name, value):
        if name.startswith("_"):
            raise AttributeError(f"cannot set {name} on an automation object")
        # A string property keeps only the text before a NUL, so a file name
        # such as "site.map\0junk" would quietly name another file.
        text = os.fspath(value) if isinstance(value, os.PathLike) else value
        if isinstance(text, str) and "\0" in text:
            raise ValueError(f"{name}: the text {text!r} holds a NUL character")
        member = _member(self._address, name)
        invoke(self._address, name, member, _abi.DISPATCH_PROPERTYPUT, (value,), put=True)

    def __repr__(self):
        label = getattr(self, "_label", None) or "automation object"
        return f"<kavicalc.Dispatch {label} at 0x{self._address:x}>"
