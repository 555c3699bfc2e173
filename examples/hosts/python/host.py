#!/usr/bin/env python3
"""A Python host using ctypes: formats a batch file into OUTDIR and prints it.

    python3 host.py BATCH OUTDIR [LIBRARY]

LIBRARY defaults to the installed libQVR_UB04PPA_Format.so.1 (found by the
dynamic loader), or the UB04_LIBRARY environment variable.
"""
import ctypes
import os
import sys


def load(path):
    lib = ctypes.CDLL(path)
    f = ctypes.c_void_p
    lib.ub04_version.restype = ctypes.c_char_p
    lib.ub04_create.restype = f
    lib.ub04_destroy.argtypes = [f]
    lib.ub04_get_message.restype = ctypes.c_char_p
    lib.ub04_get_message.argtypes = [f, ctypes.c_int32]
    lib.ub04_here_is_a_message.restype = ctypes.c_int16
    lib.ub04_here_is_a_message.argtypes = [f, ctypes.c_char_p, ctypes.c_char_p]
    lib.ub04_format_record.restype = ctypes.c_int16
    lib.ub04_format_record.argtypes = [f, ctypes.c_char_p, ctypes.c_char_p]
    for name in ("ub04_process_end_of_file", "ub04_process_formatted_records"):
        getattr(lib, name).restype = ctypes.c_int16
        getattr(lib, name).argtypes = [f]
    return lib


def messages(lib, f):
    """The queued messages of the last call, as (number, text) pairs."""
    out, i = [], 1
    while True:
        msg = lib.ub04_get_message(f, i).decode("latin-1")
        if msg == "END":
            return out
        nr, _, text = msg.partition("//")
        out.append((int(nr), text))
        i += 1


def main(argv):
    if len(argv) not in (3, 4):
        print(f"usage: {argv[0]} BATCH OUTDIR [LIBRARY]", file=sys.stderr)
        return 2
    path = argv[3] if len(argv) == 4 else os.environ.get("UB04_LIBRARY", "libQVR_UB04PPA_Format.so.1")
    lib = load(path)
    print("library", lib.ub04_version().decode())
    f = lib.ub04_create()
    if not f:
        print("the formatter could not be created", file=sys.stderr)
        return 1
    failed = False

    def call(what, result):
        nonlocal failed
        queued = messages(lib, f)
        for nr, text in queued:
            print(f"{what}: {nr} {text}", file=sys.stderr)
        if result != 0 or any(nr == 3 for nr, _ in queued):
            failed = True

    try:
        call("set-up", lib.ub04_here_is_a_message(f, b"1", argv[2].encode()))
        call("set-up", lib.ub04_here_is_a_message(f, b"2", b"claims.fmt"))
        with open(argv[1], "rb") as batch:
            for raw in batch:
                line = raw.rstrip(b"\r\n")
                head, tab, text = line.partition(b"\t")
                if failed or not tab or line.startswith(b"#"):
                    continue
                if head.startswith(b"@"):
                    call(head.decode(), lib.ub04_here_is_a_message(f, head[1:], text))
                else:
                    call(head.decode(), lib.ub04_format_record(f, head, text))
        call("end of batch", lib.ub04_process_end_of_file(f))
        if not failed:
            call("printing", lib.ub04_process_formatted_records(f))
    finally:
        lib.ub04_destroy(f)
    print("failed" if failed else "formatted and printed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
