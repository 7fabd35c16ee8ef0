"""Binary layouts of the component runtime, as a ctypes host sees them.

The structures mirror include/kavi/abi.h on a 64-bit platform: a VARIANT is
24 bytes (type, three reserved words, then a 16-byte value), interface
pointers are addresses whose first word points at the table of slots.
"""

import ctypes
import uuid
from ctypes import (
    POINTER,
    Structure,
    Union,
    c_double,
    c_float,
    c_int16,
    c_int32,
    c_uint8,
    c_uint16,
    c_uint32,
    c_void_p,
)

# ---- Result codes (unsigned 32-bit view) ----
S_OK = 0x00000000
E_NOTIMPL = 0x80004001
E_NOINTERFACE = 0x80004002
E_POINTER = 0x80004003
E_FAIL = 0x80004005
E_UNEXPECTED = 0x8000FFFF
E_OUTOFMEMORY = 0x8007000E
E_INVALIDARG = 0x80070057
E_ACCESSDENIED = 0x80070005
DISP_E_UNKNOWNINTERFACE = 0x80020001
DISP_E_MEMBERNOTFOUND = 0x80020003
DISP_E_PARAMNOTFOUND = 0x80020004
DISP_E_TYPEMISMATCH = 0x80020005
DISP_E_UNKNOWNNAME = 0x80020006
DISP_E_NONAMEDARGS = 0x80020007
DISP_E_BADVARTYPE = 0x80020008
DISP_E_EXCEPTION = 0x80020009
DISP_E_OVERFLOW = 0x8002000A
DISP_E_BADINDEX = 0x8002000B
DISP_E_BADPARAMCOUNT = 0x8002000E
CLASS_E_CLASSNOTAVAILABLE = 0x80040111
REGDB_E_CLASSNOTREG = 0x80040154
REGDB_E_READREGDB = 0x80040150
REGDB_E_WRITEREGDB = 0x80040151
REGDB_E_KEYMISSING = 0x80040152
CO_E_CLASSSTRING = 0x800401F3
CO_E_DLLNOTFOUND = 0x800401F8
CO_E_ERRORINDLL = 0x800401F9


def unsigned(code):
    """The 32-bit unsigned form of an HRESULT returned as a signed int."""
    return code & 0xFFFFFFFF


def failed(code):
    return unsigned(code) & 0x80000000 != 0


# ---- Variant types ----
VT_EMPTY = 0
VT_NULL = 1
VT_I2 = 2
VT_I4 = 3
VT_R4 = 4
VT_R8 = 5
VT_BSTR = 8
VT_DISPATCH = 9
VT_ERROR = 10
VT_BOOL = 11
VT_VARIANT = 12
VT_UNKNOWN = 13
VT_UI1 = 17
VT_ARRAY = 0x2000
VT_BYREF = 0x4000

VARIANT_TRUE = -1
VARIANT_FALSE = 0

# ---- Dispatch ----
DISPATCH_METHOD = 0x1
DISPATCH_PROPERTYGET = 0x2
DISPATCH_PROPERTYPUT = 0x4
DISPID_UNKNOWN = -1
DISPID_PROPERTYPUT = -3
LOCALE_USER_DEFAULT = 0x0400


class GUID(Structure):
    _fields_ = [
        ("Data1", c_uint32),
        ("Data2", c_uint16),
        ("Data3", c_uint16),
        ("Data4", c_uint8 * 8),
    ]

    @classmethod
    def parse(cls, text):
        """A GUID from its usual text form, with or without braces."""
        value = uuid.UUID(text.strip("{}"))
        return cls(value.time_low, value.time_mid, value.time_hi_version,
                   (c_uint8 * 8)(*value.bytes[8:]))


GUID_NULL = GUID()
IID_IDispatch = GUID.parse("{00020400-0000-0000-C000-000000000046}")
IID_IEnumVARIANT = GUID.parse("{00020404-0000-0000-C000-000000000046}")


class _Record(Structure):
    _fields_ = [("pvRecord", c_void_p), ("pRecInfo", c_void_p)]


class _VariantValue(Union):
    _fields_ = [
        ("lVal", c_int32),
        ("bVal", c_uint8),
        ("iVal", c_int16),
        ("fltVal", c_float),
        ("dblVal", c_double),
        ("boolVal", c_int16),
        ("scode", c_int32),
        ("bstrVal", c_void_p),
        ("punkVal", c_void_p),
        ("pdispVal", c_void_p),
        ("parray", c_void_p),
        ("pvarVal", c_void_p),
        ("byref", c_void_p),
        ("record", _Record),
    ]


class VARIANT(Structure):
    _anonymous_ = ("value",)
    _fields_ = [
        ("vt", c_uint16),
        ("wReserved1", c_uint16),
        ("wReserved2", c_uint16),
        ("wReserved3", c_uint16),
        ("value", _VariantValue),
    ]


# Offset of the value inside a VARIANT: where a safe-array element of a plain
# type is copied so that the VARIANT then holds it.
VARIANT_VALUE_OFFSET = VARIANT.value.offset

assert ctypes.sizeof(VARIANT) == 24, "VARIANT must keep the 64-bit automation layout"


class SAFEARRAYBOUND(Structure):
    _fields_ = [("cElements", c_uint32), ("lLbound", c_int32)]


class SAFEARRAY(Structure):
    _fields_ = [
        ("cDims", c_uint16),
        ("fFeatures", c_uint16),
        ("cbElements", c_uint32),
        ("cLocks", c_uint32),
        ("pvData", c_void_p),
        ("rgsabound", SAFEARRAYBOUND * 1),
    ]


class DISPPARAMS(Structure):
    _fields_ = [
        ("rgvarg", POINTER(VARIANT)),
        ("rgdispidNamedArgs", POINTER(c_int32)),
        ("cArgs", c_uint32),
        ("cNamedArgs", c_uint32),
    ]


class EXCEPINFO(Structure):
    pass


DEFERRED_FILL_IN = ctypes.CFUNCTYPE(c_int32, POINTER(EXCEPINFO))

EXCEPINFO._fields_ = [
    ("wCode", c_uint16),
    ("wReserved", c_uint16),
    ("bstrSource", c_void_p),
    ("bstrDescription", c_void_p),
    ("bstrHelpFile", c_void_p),
    ("dwHelpContext", c_uint32),
    ("pvReserved", c_void_p),
    ("pfnDeferredFillIn", c_void_p),
    ("scode", c_int32),
]

# Sizes of the values that a VT_BYREF variant points at, per base type.
BYREF_VALUE_SIZE = {
    VT_I2: 2,
    VT_I4: 4,
    VT_R4: 4,
    VT_R8: 8,
    VT_BSTR: ctypes.sizeof(c_void_p),
    VT_DISPATCH: ctypes.sizeof(c_void_p),
    VT_ERROR: 4,
    VT_BOOL: 2,
    VT_UNKNOWN: ctypes.sizeof(c_void_p),
    VT_UI1: 1,
}
