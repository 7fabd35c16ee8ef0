"""VARIANTs to Python values and back.

Python to VARIANT: None -> VT_EMPTY, bool -> VT_BOOL, int -> VT_I4 (VT_R8 when
outside the 32-bit range), float -> VT_R8, str and path-like -> VT_BSTR,
automation objects -> VT_DISPATCH / VT_UNKNOWN, list and tuple -> a SAFEARRAY
of VT_VARIANT (lower bound 0).

VARIANT to Python: VT_EMPTY and VT_NULL -> None; VT_I2, VT_I4, VT_UI1 -> int;
VT_R4 -> float (the shortest decimal that reads back as the same single, so
0.03 stays 0.03); VT_R8 -> float; VT_BOOL -> bool; VT_BSTR -> str (None for a
null string: a string property that holds no value); VT_ERROR -> the code as an
unsigned int; VT_DISPATCH -> Dispatch; VT_UNKNOWN -> Unknown; a one-dimensional
SAFEARRAY -> tuple; VT_BYREF is read through.

Reading a VARIANT never takes anything over from it (strings are copied,
interfaces get their own reference), so the owner clears it as usual.
"""

import ctypes
import math
import numbers
import os
from ctypes import byref, c_float, c_int32, c_uint16, c_void_p

from . import _abi
from ._abi import VARIANT, VARIANT_VALUE_OFFSET
from ._errors import ComError, result_text
from ._interface import ComObject, add_ref
from ._runtime import alloc_bstr, clear_variant, read_bstr, runtime

_I4_MIN = -(2**31)
_I4_MAX = 2**31 - 1


def _check(code):
    if _abi.failed(code):
        raise ComError(code, "", result_text(code))


# ---- Python -> VARIANT ----


def to_variant(value, variant):
    """Fills an empty VARIANT with value; the VARIANT then owns what it holds."""
    if value is None:
        variant.vt = _abi.VT_EMPTY
    elif isinstance(value, bool):
        variant.boolVal = _abi.VARIANT_TRUE if value else _abi.VARIANT_FALSE
        variant.vt = _abi.VT_BOOL
    elif isinstance(value, numbers.Integral):
        number = int(value)
        if _I4_MIN <= number <= _I4_MAX:
            variant.lVal = number
            variant.vt = _abi.VT_I4
        else:
            variant.dblVal = float(number)
            variant.vt = _abi.VT_R8
    elif isinstance(value, numbers.Real):
        variant.dblVal = float(value)
        variant.vt = _abi.VT_R8
    elif isinstance(value, (str, os.PathLike)):
        text = value if isinstance(value, str) else os.fsdecode(os.fspath(value))
        variant.bstrVal = alloc_bstr(text)
        variant.vt = _abi.VT_BSTR
    elif isinstance(value, ComObject):
        add_ref(value._address)
        variant.punkVal = value._address
        variant.vt = value.VT
    elif isinstance(value, (list, tuple)):
        variant.parray = _to_safe_array(value)
        variant.vt = _abi.VT_ARRAY | _abi.VT_VARIANT
    else:
        raise TypeError(f"{type(value).__name__} cannot be passed to an automation object")


def _to_safe_array(values):
    library = runtime()
    array = library.SafeArrayCreateVector(_abi.VT_VARIANT, 0, len(values))
    if not array:
        raise MemoryError("out of memory for a safe array")
    try:
        for index, item in enumerate(values):
            element = VARIANT()
            try:
                to_variant(item, element)
                _check(library.SafeArrayPutElement(array, byref(c_int32(index)), byref(element)))
            finally:
                clear_variant(element)
    except BaseException:
        library.SafeArrayDestroy(array)
        raise
    return array


# ---- VARIANT -> Python ----


def _single(value):
    """The shortest decimal that rounds to the same single-precision value."""
    if not math.isfinite(value):
        return value
    for digits in range(6, 10):
        candidate = float(f"{value:.{digits}g}")
        if c_float(candidate).value == value:
            return candidate
    return value


def _dispatch(address):
    from ._dispatch import Dispatch

    return Dispatch._borrow(address) if address else None


def _unknown(address):
    from ._enumeration import Unknown

    return Unknown._borrow(address) if address else None


_READERS = {
    _abi.VT_EMPTY: lambda v: None,
    _abi.VT_NULL: lambda v: None,
    _abi.VT_I2: lambda v: v.iVal,
    _abi.VT_I4: lambda v: v.lVal,
    _abi.VT_UI1: lambda v: v.bVal,
    _abi.VT_R4: lambda v: _single(v.fltVal),
    _abi.VT_R8: lambda v: v.dblVal,
    _abi.VT_BOOL: lambda v: v.boolVal != _abi.VARIANT_FALSE,
    _abi.VT_BSTR: lambda v: read_bstr(v.bstrVal),
    _abi.VT_ERROR: lambda v: _abi.unsigned(v.scode),
    _abi.VT_DISPATCH: lambda v: _dispatch(v.pdispVal),
    _abi.VT_UNKNOWN: lambda v: _unknown(v.punkVal),
}


def from_variant(variant):
    """The Python value of a VARIANT, which stays owned by its owner."""
    vt = variant.vt
    if vt & _abi.VT_BYREF:
        return _read_through(variant)
    if vt & _abi.VT_ARRAY:
        return _from_safe_array(variant.parray)
    reader = _READERS.get(vt)
    if reader is None:
        raise TypeError(f"variant type {vt} has no Python value")
    return reader(variant)


def _read_through(variant):
    base = variant.vt & ~_abi.VT_BYREF
    target = variant.byref
    if not target:
        return None
    if base == _abi.VT_VARIANT:
        return from_variant(VARIANT.from_address(target))
    if base & _abi.VT_ARRAY:
        return _from_safe_array(c_void_p.from_address(target).value)
    size = _abi.BYREF_VALUE_SIZE.get(base)
    if size is None:
        raise TypeError(f"variant type {variant.vt} has no Python value")
    copy = VARIANT()
    ctypes.memmove(ctypes.addressof(copy) + VARIANT_VALUE_OFFSET, target, size)
    copy.vt = base
    return from_variant(copy)  # borrowed: the referenced value stays its owner's


def _from_safe_array(array):
    if not array:
        return ()
    if _abi.SAFEARRAY.from_address(array).cDims != 1:
        raise TypeError("only one-dimensional safe arrays have a Python value")
    library = runtime()
    element_type = c_uint16()
    lower = c_int32()
    upper = c_int32()
    _check(library.SafeArrayGetVartype(array, byref(element_type)))
    _check(library.SafeArrayGetLBound(array, 1, byref(lower)))
    _check(library.SafeArrayGetUBound(array, 1, byref(upper)))
    items = []
    for index in range(lower.value, upper.value + 1):
        element = VARIANT()
        if element_type.value == _abi.VT_VARIANT:
            target = byref(element)
        else:
            target = byref(element, VARIANT_VALUE_OFFSET)
        _check(library.SafeArrayGetElement(array, byref(c_int32(index)), target))
        if element_type.value != _abi.VT_VARIANT:
            element.vt = element_type.value
        try:
            items.append(from_variant(element))
        finally:
            clear_variant(element)
    return tuple(items)
