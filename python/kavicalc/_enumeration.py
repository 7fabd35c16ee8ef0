"""Objects handed out as VT_UNKNOWN, iterable when they answer IEnumVARIANT.

``for parameter in configuration.EnumParameters:`` asks the object for
IEnumVARIANT and fetches one item at a time with Next. Each iteration works
on its own clone of the enumerator, started from the first item, so that an
object can be iterated more than once and by two loops at the same time.
"""

from ctypes import CFUNCTYPE, POINTER, byref, c_int32, c_uint32, c_void_p

from . import _abi
from ._abi import IID_IEnumVARIANT, VARIANT
from ._errors import error_from_thread, take_error_info
from ._interface import ComObject, Reference, query_interface, slot
from ._runtime import clear_variant
from ._variant import from_variant

_NEXT = CFUNCTYPE(c_int32, c_void_p, c_uint32, POINTER(VARIANT), POINTER(c_uint32))
_RESET = CFUNCTYPE(c_int32, c_void_p)
_CLONE = CFUNCTYPE(c_int32, c_void_p, POINTER(c_void_p))
_NEXT_SLOT = 3
_RESET_SLOT = 5
_CLONE_SLOT = 6


class Unknown(ComObject):
    """An automation object reached through IUnknown only."""

    __slots__ = ()
    VT = _abi.VT_UNKNOWN

    def __iter__(self):
        code, address = query_interface(self._address, IID_IEnumVARIANT)
        if _abi.failed(code) or not address:
            take_error_info()
            raise TypeError("the object is not an enumerator (no IEnumVARIANT)")
        enumerator = Reference(address)
        clone = c_void_p()
        code = slot(address, _CLONE_SLOT, _CLONE)(address, byref(clone))
        if not _abi.failed(code) and clone.value:
            enumerator.release()
            enumerator = Reference(clone.value)
        else:
            take_error_info()  # no clone: the enumerator itself is started again
        code = slot(enumerator.address, _RESET_SLOT, _RESET)(enumerator.address)
        if _abi.failed(code):
            raise error_from_thread(code, "Cannot start the enumeration")
        return _Items(enumerator)

    def __repr__(self):
        return f"<kavicalc.Unknown at 0x{self._address:x}>"


class _Items:
    """The items of one enumeration; the enumerator is released at the end."""

    __slots__ = ("_enumerator",)

    def __init__(self, enumerator):
        self._enumerator = enumerator

    def __iter__(self):
        return self

    def __next__(self):
        if self._enumerator is None:
            raise StopIteration
        address = self._enumerator.address
        item = VARIANT()
        fetched = c_uint32(0)
        code = slot(address, _NEXT_SLOT, _NEXT)(address, 1, byref(item), byref(fetched))
        try:
            if _abi.failed(code):
                raise error_from_thread(code, "Cannot fetch the next item")
            if fetched.value == 0:
                self._enumerator.release()
                self._enumerator = None
                raise StopIteration
            return from_variant(item)
        finally:
            clear_variant(item)

