#!/usr/bin/env python3
"""Turns the readable language sources into the game's language files.

The sources (assets/lang/src/*.txt) are UTF-8 with LF line ends so that they
can be edited and reviewed comfortably. The game reads Windows-1252 with CR LF
line ends and no byte-order mark. This script converts one into the other and
refuses anything the game could not show or read back correctly.

    tools/lang_convert.py                 convert both files
    tools/lang_convert.py --check         only report whether the .lng files
                                          are up to date (exit code 1 if not)

The build does not run this script: the converted .lng files are kept in the
repository next to their sources.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
LANG_DIR = ROOT / "assets" / "lang"
FILES = ("deutsch", "english")


def convert(source: bytes, name: str) -> bytes:
    if source.startswith(b"\xef\xbb\xbf"):
        raise ValueError(f"{name}: starts with a byte-order mark")
    text = source.decode("utf-8")  # strict: broken UTF-8 is an error
    if "\r" in text:
        raise ValueError(f"{name}: contains a carriage return; write LF line ends only")
    if "\t" in text or "\x1a" in text:
        raise ValueError(f"{name}: contains a tab or Ctrl-Z")
    if not text.startswith("ANZ_TEXTE: "):
        raise ValueError(f"{name}: must start with the text count")
    # Every definition is "<TEXT_START> n" + one blank + text + "|".
    for m in re.finditer(r"<TEXT_START>(.)(\S*)(.)", text, re.S):
        if m.group(1) != " " or not m.group(2).isdigit() or m.group(3) != " ":
            raise ValueError(f"{name}: malformed definition near {m.group(0)!r}")
    if text.count("<TEXT_START>") != text.count("|"):
        raise ValueError(f"{name}: every text needs exactly one closing bar")
    try:
        encoded = text.encode("cp1252")  # strict: no character outside the code page
    except UnicodeEncodeError as e:
        raise ValueError(f"{name}: {text[e.start:e.end]!r} has no Windows-1252 byte") from e
    return encoded.replace(b"\n", b"\r\n")


def main() -> int:
    check = "--check" in sys.argv[1:]
    stale = False
    for base in FILES:
        src = LANG_DIR / "src" / f"{base}.txt"
        out = LANG_DIR / f"{base}.lng"
        data = convert(src.read_bytes(), src.name)
        if check:
            if not out.exists() or out.read_bytes() != data:
                print(f"{out.name} is out of date with {src.name}")
                stale = True
        else:
            out.write_bytes(data)
            print(f"wrote {out.relative_to(ROOT)} ({len(data)} bytes)")
    return 1 if stale else 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except ValueError as err:
        print(f"error: {err}", file=sys.stderr)
        sys.exit(2)
