"""Axial capacity and load-settlement of a single driven pile, from Python.

A thin layer over the engine library ``libpileaxial.so`` (its C interface, ``engine/pileaxial.h``),
loaded with ctypes: the standard library is all it needs, nothing is compiled on the user's side.

    import pileaxial
    result = pileaxial.run("case.in")                 # writes case.out and case.plt beside it
    result = pileaxial.run(text=open("case.in").read())  # nothing read or written on disk
    result.status, result.message                     # 0 completed, 1 stopped, 2 fault
    result.json["capacityTables"]                     # the JSON results as a plain dict
    result.report, result.plot, result.messages       # the report, plot data, warnings and faults
    results = pileaxial.run_many(["a.in", {"text": t, "name": "b.in"}], threads=4)

The library is found, in this order: the path in the environment variable PILEAXIAL_LIBRARY;
libpileaxial.so next to this file (a copied pair); ../build/libpileaxial.so relative to this file
(a source tree built with ``make``); the system loader (LD_LIBRARY_PATH, the system directories).

Every call is one whole run with its own run object in the library; the library releases the GIL
while it computes, so run_many's runs go side by side on the threads.  A run that stops (status 1)
or fails (status 2) is returned with its status and message, not raised; ValueError and TypeError
are raised for misuse (no input, both a path and a text, ...) and OSError when the library cannot be
found or loaded.
"""

import ctypes
import ctypes.util
import json as _json
import os
import threading
from concurrent.futures import ThreadPoolExecutor

__all__ = ["Result", "run", "run_many", "version", "library_path"]

STATUS_COMPLETED = 0
STATUS_STOPPED = 1
STATUS_FAULT = 2

_LIBRARY_NAME = "libpileaxial.so"
_library = None
_library_file = None
_library_lock = threading.Lock()


def _candidates():
    """The places the library is looked for, in order (see the module documentation)."""
    here = os.path.dirname(os.path.abspath(__file__))
    return [
        os.path.join(here, _LIBRARY_NAME),
        os.path.normpath(os.path.join(here, os.pardir, "build", _LIBRARY_NAME)),
    ]


def _declare(lib):
    handle = ctypes.c_void_p
    lib.pileaxial_run_files.argtypes = [ctypes.c_char_p] * 4
    lib.pileaxial_run_files.restype = handle
    lib.pileaxial_run_text.argtypes = [ctypes.c_char_p] * 3
    lib.pileaxial_run_text.restype = handle
    lib.pileaxial_status.argtypes = [handle]
    lib.pileaxial_status.restype = ctypes.c_int32
    for name in ("pileaxial_json", "pileaxial_report", "pileaxial_plot", "pileaxial_messages",
                 "pileaxial_console"):
        getattr(lib, name).argtypes = [handle]
        getattr(lib, name).restype = ctypes.c_char_p
    lib.pileaxial_free.argtypes = [handle]
    lib.pileaxial_free.restype = None
    lib.pileaxial_version.argtypes = []
    lib.pileaxial_version.restype = ctypes.c_char_p


def _load():
    global _library, _library_file
    with _library_lock:
        if _library is not None:
            return _library
        explicit = os.environ.get("PILEAXIAL_LIBRARY")
        if explicit:
            places = [explicit]
        else:
            places = [p for p in _candidates() if os.path.exists(p)]
            places.append(ctypes.util.find_library("pileaxial") or _LIBRARY_NAME)
        problems = []
        for place in places:
            try:
                lib = ctypes.CDLL(place)
            except OSError as e:
                problems.append("%s: %s" % (place, e))
                continue
            try:
                _declare(lib)
            except AttributeError:
                problems.append("%s: has no C interface (pileaxial_run_text); an older build?" % place)
                continue
            _library, _library_file = lib, place
            return lib
        where = ("PILEAXIAL_LIBRARY=%s" % explicit if explicit else
                 "PILEAXIAL_LIBRARY (not set), %s, the system loader" % ", ".join(_candidates()))
        raise OSError("pileaxial: the engine library %s could not be loaded; looked at %s.\n  %s\n"
                      "Build it with `make` in the source tree, or set PILEAXIAL_LIBRARY to its path."
                      % (_LIBRARY_NAME, where, "\n  ".join(problems)))


def library_path():
    """The library in use (loading it when not yet loaded)."""
    _load()
    return _library_file


def version():
    """The engine version of the library, "major.minor.patch"."""
    return _load().pileaxial_version().decode("ascii")


class Result:
    """One run.

    status    0 completed, 1 the computation did not proceed, 2 fault (bad input, a file that could
              not be opened, read or written, a result that is not a finite number)
    message   why the run did not complete ("" when it did)
    json      the JSON results (layout: docs/json-schema.json) as a plain dict
    report    the report text; plot: the plot data (for a run on files, as written to the files;
              "" when a file was not written)
    messages  what the run wrote to its error stream: warnings, and the message of a failed run
    console   the console text (title block, progress lines, console-only warnings)
    name      the case: the input path, or the name given to a text run

    The report, plot and console text are decoded as UTF-8, any other bytes replaced.
    """

    __slots__ = ("status", "message", "json", "report", "plot", "messages", "console", "name")

    def __init__(self, name, data, report, plot, messages, console):
        self.name = name
        self.json = data
        self.status = int(data.get("status", STATUS_FAULT))
        self.message = data.get("message", "")
        self.report = report
        self.plot = plot
        self.messages = messages
        self.console = console

    @property
    def ok(self):
        """True for a completed run."""
        return self.status == STATUS_COMPLETED

    def __repr__(self):
        return "<pileaxial.Result %r status=%d%s>" % (
            self.name, self.status, (" " + repr(self.message)) if self.message else "")


def _no_nul(value, what):
    if b"\0" in value:
        raise ValueError("pileaxial: %s contains a NUL character" % what)
    return value


def _path(value, what):
    if value is None:
        return None
    try:
        encoded = os.fsencode(value)
    except TypeError:
        raise TypeError("pileaxial: %s must be a path (str, bytes or os.PathLike), not %s"
                        % (what, type(value).__name__)) from None
    return _no_nul(encoded, what)


def _text(value, what):
    if value is None:
        return None
    if isinstance(value, str):
        value = value.encode("utf-8")
    elif not isinstance(value, (bytes, bytearray)):
        raise TypeError("pileaxial: %s must be str or bytes, not %s" % (what, type(value).__name__))
    return _no_nul(bytes(value), what)


def _prepare(input_path=None, text=None, cpt=None, cpt_text=None, report=None, plot=None, name=None):
    """Checks the arguments of one run; returns the library function's name, its arguments and the
    case's name."""
    if (input_path is None) == (text is None):
        raise ValueError("pileaxial: give either an input path or text=..., "
                         + ("not both" if text is not None else "neither was given"))
    if text is None:
        for value, what in ((cpt_text, "cpt_text"), (name, "name")):
            if value is not None:
                raise ValueError("pileaxial: %s goes with text=...; a run on files takes cpt= (a path) "
                                 "and is named by its input path" % what)
        return ("pileaxial_run_files",
                (_path(input_path, "the input path"), _path(cpt, "cpt"), _path(report, "report"),
                 _path(plot, "plot")),
                os.fsdecode(input_path))
    for value, what in ((cpt, "cpt"), (report, "report"), (plot, "plot")):
        if value is not None:
            raise ValueError("pileaxial: %s is a path for a run on files; a text run takes cpt_text= "
                             "and writes no files" % what)
    label = "input.in" if name is None else str(name)
    return ("pileaxial_run_text",
            (_text(text, "text"), _text(cpt_text, "cpt_text"), _no_nul(label.encode("utf-8"), "name")),
            label)


def _decode(raw):
    return (raw or b"").decode("utf-8", errors="replace")


def _execute(prepared):
    function, arguments, label = prepared
    lib = _load()
    handle = getattr(lib, function)(*arguments)
    if not handle:
        raise MemoryError("pileaxial: the engine library ran out of memory")
    try:
        data = _json.loads(lib.pileaxial_json(handle).decode("utf-8"))
        return Result(label, data, _decode(lib.pileaxial_report(handle)), _decode(lib.pileaxial_plot(handle)),
                      _decode(lib.pileaxial_messages(handle)), _decode(lib.pileaxial_console(handle)))
    finally:
        lib.pileaxial_free(handle)


def run(input_path=None, *, text=None, cpt=None, cpt_text=None, report=None, plot=None, name=None):
    """Runs one case and returns its Result.

    On files: run("case.in", cpt="case.cpt", report=..., plot=...); the report and plot-data file go
    next to the input (case.out, case.plt) unless report= and plot= name them.
    In memory: run(text=..., cpt_text=..., name="case.in"); nothing is read or written on disk, and
    `name` (default "input.in") labels the case in the report and the messages.
    The run's CPT switch (record G4) must agree with whether a sounding is given.
    """
    return _execute(_prepare(input_path, text, cpt, cpt_text, report, plot, name))


def _case_arguments(case, index):
    if isinstance(case, dict):
        unknown = set(case) - {"input_path", "text", "cpt", "cpt_text", "report", "plot", "name"}
        if unknown:
            raise TypeError("pileaxial: case %d has unknown keys: %s" % (index, ", ".join(sorted(unknown))))
        return case
    return {"input_path": case}


def run_many(cases, threads=None):
    """Runs many cases side by side on a pool of `threads` threads (default: the number of
    processors) and returns their Results in the order of `cases`.

    A case is an input path, or a dict of run()'s keywords ({"text": ..., "name": ...}).  Every case
    is checked before any runs; runs on files must not share a report or plot-data file.
    """
    if threads is not None and threads < 1:
        raise ValueError("pileaxial: threads must be at least 1, not %r" % (threads,))
    cases = list(cases)
    prepared = []
    for index, case in enumerate(cases):
        try:
            prepared.append(_prepare(**_case_arguments(case, index)))
        except (TypeError, ValueError) as e:
            raise type(e)("case %d: %s" % (index, e)) from None
    if not prepared:
        return []
    _load()
    workers = max(1, min(threads or os.cpu_count() or 1, len(prepared)))
    with ThreadPoolExecutor(max_workers=workers) as pool:
        return list(pool.map(_execute, prepared))
