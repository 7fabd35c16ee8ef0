"""Outputs that would overwrite an input: compared by file identity (device
and inode, after following links), not by how the names are written."""

import os


def refuse_output_over_inputs(output_name, output, **inputs):
    """Raises ValueError when output is the same file as one of the inputs.

    inputs maps argument names to paths (None for an input not given)."""
    try:
        written = os.stat(output)
    except OSError:
        return  # not there yet: no input can be it
    for name, path in inputs.items():
        if path is None:
            continue
        try:
            read = os.stat(path)
        except OSError:
            continue
        if (read.st_dev, read.st_ino) == (written.st_dev, written.st_ino):
            raise ValueError(f"{output_name} {os.fspath(output)!r} is the same file as {name} "
                             f"{os.fspath(path)!r}; write the output to another file")
