"""Calling interface slots through ctypes, and owning interface references.

An interface pointer is an address whose first word points at the table of
slots; slot n is called with the interface pointer as its first argument.
"""

import ctypes
import weakref
from ctypes import CFUNCTYPE, POINTER, byref, c_int32, c_uint32, c_void_p

from ._abi import GUID, unsigned

QUERY_INTERFACE = CFUNCTYPE(c_int32, c_void_p, POINTER(GUID), POINTER(c_void_p))
ADD_REF = CFUNCTYPE(c_uint32, c_void_p)
RELEASE = CFUNCTYPE(c_uint32, c_void_p)

_POINTER_SIZE = ctypes.sizeof(c_void_p)
_functions = {}  # (code address, prototype) -> callable


def slot_table(address):
    """The address of the slot table of an interface pointer."""
    return c_void_p.from_address(address).value


def slot(address, index, prototype):
    """Slot index of the interface at address, callable with the given prototype."""
    code = c_void_p.from_address(slot_table(address) + index * _POINTER_SIZE).value
    key = (code, prototype)
    function = _functions.get(key)
    if function is None:
        function = _functions[key] = prototype(code)
    return function


def add_ref(address):
    slot(address, 1, ADD_REF)(address)


def release(address):
    slot(address, 2, RELEASE)(address)


def query_interface(address, iid):
    """(result code, new interface address or None); a success adds a reference."""
    out = c_void_p()
    code = slot(address, 0, QUERY_INTERFACE)(address, byref(iid), byref(out))
    return unsigned(code), out.value


class Reference:
    """Owns one reference on an interface pointer; releases it when it goes away.

    The release runs when the Python object is collected, when release() is
    called, or at interpreter exit for what is still alive then, whichever
    comes first, and only once.
    """

    __slots__ = ("address", "_finalizer", "__weakref__")

    def __init__(self, address):
        self.address = address
        self._finalizer = weakref.finalize(self, release, address)

    def release(self):
        self._finalizer()


class ComObject:
    """Base of the Python objects that stand for an interface pointer.

    VT is the variant type under which the object travels as an argument.
    """

    __slots__ = ("_reference",)
    VT = None

    @classmethod
    def _adopt(cls, address):
        """A new Python object that takes over one reference on address."""
        instance = object.__new__(cls)
        object.__setattr__(instance, "_reference", Reference(address))
        return instance

    @classmethod
    def _borrow(cls, address):
        """A new Python object holding its own new reference on address."""
        add_ref(address)
        return cls._adopt(address)

    @property
    def _address(self):
        return self._reference.address
