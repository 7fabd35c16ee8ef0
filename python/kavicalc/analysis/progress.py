"""The progress of a grid on local threads, reported as the command-line tool does.

Nodes done out of all, the rate so far and the time the rest will take at
that rate, on standard error. On a terminal the line is redrawn in place a
few times a second and cleared at the end; elsewhere (a notebook, a log) a
line is written at the start, every LOG_SECONDS and at the end, so that the
output stays readable where a carriage return does not redraw.
"""

import sys
import threading
import time

REDRAW_SECONDS = 0.25
LOG_SECONDS = 10.0


def _is_terminal(stream):
    try:
        return bool(stream.isatty())
    except (AttributeError, ValueError):  # no isatty, or a closed stream
        return False


class NodeProgress:
    """Counts finished calculations (heights of them per node) from any thread."""

    def __init__(self, what, nodes, heights, stream=None):
        self.what, self.nodes, self.heights = what, nodes, heights
        self.stream = sys.stderr if stream is None else stream
        self.terminal = _is_terminal(self.stream)
        self.interval = REDRAW_SECONDS if self.terminal else LOG_SECONDS
        self.calculations = 0
        self.start = self.last = time.monotonic()
        self._lock = threading.Lock()
        self._write(self._line(self.start))

    def advance(self):
        """One more calculation finished, whether it succeeded or failed."""
        with self._lock:
            self.calculations += 1
            now = time.monotonic()
            if now - self.last >= self.interval:
                self.last = now
                self._write(self._line(now))

    def finish(self):
        """Clears the terminal line, or writes the closing line of a log."""
        with self._lock:
            if self.terminal:
                self._put("\r\033[K")
            else:
                self._put(f"{self.what}: {self.calculations // self.heights} of {self.nodes} "
                          f"nodes done in {time.monotonic() - self.start:.1f} s\n")

    def _line(self, now):
        done = self.calculations // self.heights
        text = f"{self.what}: nodes done: {done} of {self.nodes}"
        elapsed = now - self.start
        if done > 0 and elapsed > 0:
            rate = done / elapsed
            text += f", {rate:.1f} per s, {(self.nodes - done) / rate:.0f} s left"
        return text

    def _write(self, line):
        self._put(f"\r\033[K{line}" if self.terminal else f"{line}\n")

    def _put(self, text):
        if self.stream is None:  # an interpreter without standard error
            return
        try:
            self.stream.write(text)
            self.stream.flush()
        except (OSError, ValueError):  # a closed or broken stream never stops the grid
            pass
