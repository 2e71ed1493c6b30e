#!/usr/bin/python3
"""Checks the layer map of src/README.md against the #include lines of src/ and cli/.

Every quoted include is placed in a layer by its path; a file may include only
its own layer and the layers below it. Angle includes are checked only in the
core, which must not see a widget header. Prints one line per offending
include (file:line) and exits 1 when there is any.

usage: check-layers.py [REPOSITORY_ROOT]
"""

import pathlib
import re
import sys

# The core, top to bottom. A core layer may include itself and the layers
# after it. The most specific path prefix names a file's layer.
CORE_ORDER = [
    "edits",
    "mosaic",
    "print",
    "canvas",
    "document",
    "image",
    "services",
    "resources",
]

# Path prefixes (relative to src/) and the layer they belong to.
LAYER_OF_PREFIX = {
    "app/": "ui",
    "view/": "ui",
    "print/printer_settings": "ui",
    "edits/": "edits",
    "mosaic/": "mosaic",
    "print/": "print",
    "canvas/": "canvas",
    "document/": "document",
    "image/": "image",
    "services/": "services",
    "resources/": "resources",
}

# What each layer may include, besides itself.
ALLOWED = {layer: set(CORE_ORDER[i:]) for i, layer in enumerate(CORE_ORDER)}
ALLOWED["ui"] = {"ui", *CORE_ORDER}
ALLOWED["cli"] = {"cli", *CORE_ORDER}

# Widget headers: what the UI includes from QtWidgets, QtPrintSupport and
# QtPdfWidgets, and the module prefixes. The core links none of them.
WIDGET_HEADERS = {
    "QAbstractButton", "QAbstractItemView", "QAbstractScrollArea", "QAbstractSpinBox",
    "QApplication", "QButtonGroup", "QCheckBox", "QColorDialog", "QComboBox",
    "QDialog", "QDialogButtonBox", "QFileDialog", "QFormLayout", "QFrame",
    "QGridLayout", "QGroupBox", "QHBoxLayout", "QHeaderView", "QLabel", "QLayout",
    "QLineEdit", "QListWidget", "QMainWindow", "QMenu", "QMenuBar", "QMessageBox",
    "QPageSetupDialog", "QPdfView", "QPlainTextEdit", "QPrintDialog",
    "QPrintPreviewDialog", "QPrintPreviewWidget", "QPrinter", "QPrinterInfo",
    "QProgressBar", "QProgressDialog", "QPushButton", "QRadioButton", "QScrollArea",
    "QScrollBar", "QSizePolicy", "QSlider", "QSpinBox", "QSplitter",
    "QStackedWidget", "QStatusBar", "QStyle", "QStyleFactory", "QStyleOption",
    "QStyledItemDelegate", "QTabWidget", "QTextEdit", "QToolBar", "QToolButton",
    "QToolTip", "QTreeWidget", "QVBoxLayout", "QWidget", "QWidgetAction",
}
WIDGET_MODULE_PREFIXES = ("QtWidgets", "QtPrintSupport", "QtPdfWidgets")

QUOTED = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
ANGLED = re.compile(r"^\s*#\s*include\s*<([^>]+)>")


def layer_of(src_relative):
    """The layer of a path relative to src/, or None outside the map."""
    best = None
    for prefix, layer in LAYER_OF_PREFIX.items():
        if src_relative.startswith(prefix) and (best is None or len(prefix) > len(best[0])):
            best = (prefix, layer)
    return best[1] if best else None


def is_widget_header(header):
    if header.startswith(WIDGET_MODULE_PREFIXES):
        return True
    return header in WIDGET_HEADERS


def check_file(path, own_layer, root):
    problems = []
    shown = path.relative_to(root)
    lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
    for number, text in enumerate(lines, start=1):
        quoted = QUOTED.match(text)
        if quoted:
            included = quoted.group(1)
            if own_layer == "cli" and "/" not in included:
                continue  # cli/'s own headers
            target = layer_of(included)
            if target is None:
                problems.append(f"{shown}:{number}: {included} is in no layer of the map")
            elif target not in ALLOWED[own_layer]:
                problems.append(
                    f"{shown}:{number}: {own_layer} may not include {included} ({target})")
            continue
        angled = ANGLED.match(text)
        if angled and own_layer not in ("ui",) and is_widget_header(angled.group(1)):
            problems.append(
                f"{shown}:{number}: {own_layer} may not include the widget header "
                f"<{angled.group(1)}>")
    return problems


def sources(folder):
    return sorted(p for p in folder.rglob("*") if p.suffix in (".h", ".cpp") and p.is_file())


def main(argv):
    root = pathlib.Path(argv[1] if len(argv) > 1 else pathlib.Path(__file__).parent.parent)
    root = root.resolve()
    problems = []
    checked = 0
    for path in sources(root / "src"):
        layer = layer_of(path.relative_to(root / "src").as_posix())
        if layer is None:
            problems.append(f"{path.relative_to(root)}: in no layer of the map")
            continue
        problems += check_file(path, layer, root)
        checked += 1
    for path in sources(root / "cli"):
        problems += check_file(path, "cli", root)
        checked += 1
    if checked == 0:
        problems.append(f"no sources found under {root}")
    for line in problems:
        print(line)
    print(f"{checked} files checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
