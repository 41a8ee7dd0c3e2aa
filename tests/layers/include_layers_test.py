#!/usr/bin/env python3
"""Fails when a file in src/ includes a header from a layer above its own, or when a layer
that must stay windowless includes Qt."""
import pathlib
import re
import sys

# The layers each folder may include from; a folder always includes from itself.
ALLOWED = {
    "core": set(),
    "solvers": {"core"},
    "database": {"core"},
    "model": {"core", "solvers", "database"},
    "dialogs": {"core", "solvers", "database", "model"},
    "plot": {"core", "solvers", "database", "model", "dialogs"},
    "app": {"core", "solvers", "database", "model", "dialogs", "plot"},
    "cli": {"core", "solvers", "database", "model"},
}
WINDOWLESS = set(sys.argv[2].split(",")) if len(sys.argv) > 2 else set()
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')

src = pathlib.Path(sys.argv[1])
faults = []
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    layer = path.relative_to(src).parts[0]
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        where = f"{path.relative_to(src)}:{number}: {match.group(2)}"
        target = match.group(2).split("/")[0]
        if match.group(1) == '"' and target in ALLOWED and target not in ALLOWED[layer] | {layer}:
            faults.append(f"{where} (layer {target} is above {layer})")
        if layer in WINDOWLESS and re.match(r"Q[A-Za-z]+$", target):
            faults.append(f"{where} (layer {layer} has no Qt)")
print("\n".join(faults) or f"every include of {src} points down")
sys.exit(1 if faults else 0)
