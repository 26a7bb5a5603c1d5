#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""Writes one context of a Qt Linguist catalogue (.ts) as a C++ header: each English source text beside its
translation, for the Windows program, which has no Qt to read the catalogue with. Takes what lrelease takes:
finished and unfinished translations, but none that is empty, obsolete, vanished, plural or disambiguated.
Usage: translation_table.py CATALOGUE CONTEXT ARRAY_NAME HEADER"""

import os
import sys
import xml.etree.ElementTree as ElementTree


def literal(text, prefix=""):
    """A C++ string literal of `text`: printable ASCII as it is, everything else escaped."""
    out = []
    for character in text:
        code = ord(character)
        if character in '\\"':
            out.append("\\" + character)
        elif 0x20 <= code < 0x7F:
            out.append(character)
        elif code < 0x80:
            out.append(f"\\{code:03o}")
        elif code <= 0xFFFF:
            out.append(f"\\u{code:04x}")
        else:
            out.append(f"\\U{code:08x}")
    return prefix + '"' + "".join(out) + '"'


def entries(catalogue, context):
    for element in ElementTree.parse(catalogue).getroot().iter("context"):
        if element.findtext("name") != context:
            continue
        for message in element.iter("message"):
            translation = message.find("translation")
            if message.get("numerus") == "yes" or message.findtext("comment") or translation is None:
                continue
            if translation.get("type") in ("obsolete", "vanished") or not translation.text:
                continue
            yield message.findtext("source"), translation.text


def main():
    catalogue, context, name, header = sys.argv[1:]
    rows = [f"    {{{literal(source)}, {literal(text, 'L')}}}," for source, text in entries(catalogue, context)]
    if not rows:
        sys.exit(f"translation_table.py: no translations in context {context} of {catalogue}")
    lines = [
        f"// Written by cmake/translation_table.py from {os.path.basename(catalogue)}, context \"{context}\".",
        "#pragma once",
        "",
        "#include <string_view>",
        "",
        "namespace vostrel::platform::win32::catalogue {",
        "",
        "struct Entry {",
        "  std::string_view english;",
        "  std::wstring_view translated;",
        "};",
        "",
        f"inline constexpr Entry {name}[] = {{",
        *rows,
        "};",
        "",
        "}  // namespace vostrel::platform::win32::catalogue",
        "",
    ]
    text = "\n".join(lines)
    # Rewritten only when it changes, so that what includes it is not rebuilt for nothing.
    if not os.path.exists(header) or open(header, encoding="utf-8").read() != text:
        os.makedirs(os.path.dirname(header) or ".", exist_ok=True)
        with open(header, "w", encoding="utf-8", newline="\n") as out:
            out.write(text)


if __name__ == "__main__":
    main()
