"""Finding and loading the component runtime (libkavirt) and the server libraries.

Where the libraries are looked for, first match wins:

1. the folder named by the environment variable KAVI_LIBRARY_DIR; when it is
   set, nothing else is searched;
2. beside an installed or built tree, starting at the package folder and going
   up to four folders: ``lib``, ``lib/<multiarch>`` (e.g. x86_64-linux-gnu),
   ``lib64`` and ``build/lib`` of each of these folders. This finds
   ``<prefix>/lib`` for a package installed as ``<prefix>/python/kavicalc`` or
   ``<prefix>/lib/python3.X/site-packages/kavicalc``, and ``<repo>/build/lib``
   for the package inside the source tree;
3. the dynamic loader's own search (LD_LIBRARY_PATH, the system folders).

The server libraries (libkavicalc.so, libkavibase.so) are taken from the
folder where the runtime was found, so that both use the same runtime.
"""

import ctypes
import os
import sysconfig
import threading
from ctypes import POINTER, c_char_p, c_int32, c_size_t, c_uint16, c_uint32, c_void_p

from . import _abi
from ._abi import GUID, VARIANT

RUNTIME_FILE = "libkavirt.so"
_ANCESTOR_LEVELS = 4

_lock = threading.Lock()
_runtime = None
_runtime_folder = None
_servers = {}


class LibraryNotFound(OSError):
    """The runtime or a server library is in none of the searched folders."""


def _candidate_folders():
    explicit = os.environ.get("KAVI_LIBRARY_DIR")
    if explicit:
        return [explicit]
    multiarch = sysconfig.get_config_var("MULTIARCH") or ""
    folders = []
    here = os.path.dirname(os.path.abspath(__file__))
    for _ in range(_ANCESTOR_LEVELS):
        here = os.path.dirname(here)
        for relative in ("lib", os.path.join("lib", multiarch) if multiarch else None, "lib64",
                         os.path.join("build", "lib")):
            if relative and os.path.join(here, relative) not in folders:
                folders.append(os.path.join(here, relative))
    return folders


def _locate(file_name):
    """The folder that holds file_name, or None to leave it to the loader."""
    folders = _candidate_folders()
    for folder in folders:
        if os.path.isfile(os.path.join(folder, file_name)):
            return os.path.realpath(folder)
    if os.environ.get("KAVI_LIBRARY_DIR"):
        raise LibraryNotFound(f"{file_name} is not in KAVI_LIBRARY_DIR={folders[0]}")
    return None


def _declare(library):
    """Prototypes of the runtime entry points that the client calls."""
    signatures = {
        "SysAllocStringLen": (c_void_p, [c_char_p, c_uint32]),
        "SysStringByteLen": (c_uint32, [c_void_p]),
        "SysFreeString": (None, [c_void_p]),
        "VariantInit": (None, [POINTER(VARIANT)]),
        "VariantClear": (c_int32, [POINTER(VARIANT)]),
        "SafeArrayCreateVector": (c_void_p, [c_uint16, c_int32, c_uint32]),
        "SafeArrayDestroy": (c_int32, [c_void_p]),
        "SafeArrayGetLBound": (c_int32, [c_void_p, c_uint32, POINTER(c_int32)]),
        "SafeArrayGetUBound": (c_int32, [c_void_p, c_uint32, POINTER(c_int32)]),
        "SafeArrayGetVartype": (c_int32, [c_void_p, POINTER(c_uint16)]),
        "SafeArrayGetElement": (c_int32, [c_void_p, POINTER(c_int32), c_void_p]),
        "SafeArrayPutElement": (c_int32, [c_void_p, POINTER(c_int32), c_void_p]),
        "GetErrorInfo": (c_int32, [c_uint32, POINTER(c_void_p)]),
        "CLSIDFromProgID": (c_int32, [c_char_p, POINTER(GUID)]),
        "CoCreateInstance": (c_int32, [POINTER(GUID), c_void_p, POINTER(GUID),
                                       POINTER(c_void_p)]),
        "RegFilePath": (c_size_t, [c_char_p, c_size_t]),
    }
    for name, (result, arguments) in signatures.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = arguments


def runtime():
    """The loaded runtime library, loaded on first use."""
    global _runtime, _runtime_folder
    loaded = _runtime
    if loaded is not None:  # every call after the first: no lock to take
        return loaded
    with _lock:
        if _runtime is None:
            folder = _locate(RUNTIME_FILE)
            path = os.path.join(folder, RUNTIME_FILE) if folder else RUNTIME_FILE
            try:
                library = ctypes.CDLL(path)
            except OSError as error:
                raise LibraryNotFound(
                    f"cannot load {path}: {error}; set KAVI_LIBRARY_DIR to the folder that "
                    f"holds {RUNTIME_FILE}") from error
            _declare(library)
            _runtime, _runtime_folder = library, folder
        return _runtime


def server_path(file_name):
    """Where the server library file_name is, beside the loaded runtime."""
    runtime()
    return os.path.join(_runtime_folder, file_name) if _runtime_folder else file_name


def server(file_name):
    """The server library file_name, loaded (and kept loaded) on first use."""
    path = server_path(file_name)
    with _lock:
        if path not in _servers:
            library = ctypes.CDLL(path)
            for entry in ("DllRegisterServer", "DllUnregisterServer", "DllCanUnloadNow"):
                function = getattr(library, entry)
                function.restype = c_int32
                function.argtypes = []
            _servers[path] = library
        return _servers[path]


def registry_path():
    """The registry file the runtime uses (KAVI_REGISTRY or the per-user default)."""
    library = runtime()
    size = library.RegFilePath(None, 0) + 1
    buffer = ctypes.create_string_buffer(size)
    library.RegFilePath(buffer, size)
    return os.fsdecode(buffer.value)


def utf16(text):
    """A NUL-terminated UTF-16 buffer for an OLECHAR* argument."""
    return text.encode("utf-16-le", "surrogatepass") + b"\0\0"


def alloc_bstr(text):
    """A new BSTR holding text; the caller frees it."""
    data = text.encode("utf-16-le", "surrogatepass")
    bstr = runtime().SysAllocStringLen(data, len(data) // 2)
    if not bstr:
        raise MemoryError("out of memory for an automation string")
    return bstr


def read_bstr(bstr):
    """The text of a BSTR (None for a null BSTR); the BSTR stays owned by its owner."""
    if not bstr:
        return None
    size = runtime().SysStringByteLen(bstr)
    return ctypes.string_at(bstr, size - size % 2).decode("utf-16-le", "surrogatepass")


def take_bstr(bstr):
    """The text of a BSTR that the caller owns, which is then freed."""
    try:
        return read_bstr(bstr)
    finally:
        if bstr:
            runtime().SysFreeString(bstr)


# Types whose VARIANT owns nothing: clearing one only marks it empty, which is
# done here rather than by a foreign call (each of which lets other threads
# take the interpreter lock, the cost that limits threads in many small calls).
_OWNING_NOTHING = frozenset((_abi.VT_EMPTY, _abi.VT_NULL, _abi.VT_I2, _abi.VT_I4, _abi.VT_R4,
                             _abi.VT_R8, _abi.VT_ERROR, _abi.VT_BOOL, _abi.VT_UI1))


def clear_variant(variant):
    """Frees what the variant owns (string, reference, array); VT_EMPTY after."""
    if variant.vt in _OWNING_NOTHING:
        variant.vt = _abi.VT_EMPTY
        return
    runtime().VariantClear(ctypes.byref(variant))
