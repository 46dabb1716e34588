#!/usr/bin/python3
"""Holds the include direction between the folders of src/.

Layers, from the ground up (a file may include its own layer and those below):

  0  app, db                 what every screen and store stands on
  1  company, documents,     stores, models and rules without widgets
     planner, customers,
     prices, maintenance,
     writer, backup, server
  2  printing, email         print module, report engine, mail
  3  screens                 every unitfrm* file, and the editor folder
  4  shell                   main window and the dispatch's definitions

Two more rules:
  - a screen is included only from its own folder or from shell/ (screens open
    one another through the dispatch declared in app/unitDispatch.h);
  - a file without widgets never includes a screen.
shell/ may include anything. The files of app/ are ground even where they are
widgets (shared dialogs, the progress notice).

Usage: check_layers.py [SRC_DIR]   exit 1 and one line per offending include.
"""
import os
import re
import sys

FOLDER_LAYER = {
    "app": 0, "db": 0,
    "company": 1, "documents": 1, "planner": 1, "customers": 1, "prices": 1,
    "maintenance": 1, "writer": 1, "backup": 1, "server": 1,
    "printing": 2, "email": 2,
    "editor": 3,
    "shell": 4,
}
SCREEN_LAYER = 3
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^>"]+)[>"]', re.M)
# Widget headers: QtWidgets' classes, and the print dialogs and preview widget.
WIDGET_HEADER = re.compile(
    r"^(QtWidgets/.*|Q(Abstract(Button|ItemView|ScrollArea|Slider|SpinBox)|Action(Group)?|"
    r"Application|BoxLayout|ButtonGroup|CheckBox|ColorDialog|ComboBox|CompleterDateEdit|"
    r"Date(Time)?Edit|Dialog(ButtonBox)?|DoubleSpinBox|FileDialog|Form(Layout)?|Frame|"
    r"GridLayout|GroupBox|[HV]BoxLayout|HeaderView|InputDialog|Label|Layout|LineEdit|"
    r"ListView|ListWidget|MainWindow|Menu|MenuBar|MessageBox|PlainTextEdit|PrintDialog|"
    r"PrintPreview(Dialog|Widget)|ProgressBar|PushButton|RadioButton|ScrollArea|"
    r"ScrollBar|SizePolicy|Slider|SpinBox|Splitter|StackedWidget|StatusBar|"
    r"Style(dItemDelegate|Option.*)?|TabWidget|Table(View|Widget)|TextBrowser|TextEdit|"
    r"ToolBar|ToolButton|ToolTip|TreeView|TreeWidget|Widget|WidgetAction|CalendarWidget|"
    r"ChartView|Chart))$")


def is_screen(path):
    # app/ holds the shared dialogs and the progress notice: ground, not screens.
    return (not path.startswith("app/")
            and os.path.basename(path).lower().startswith("unitfrm"))


def layer_of(path):
    folder = path.split("/")[0]
    if folder not in FOLDER_LAYER:
        return None
    if folder != "shell" and is_screen(path):
        return SCREEN_LAYER
    return FOLDER_LAYER[folder]


def sources(src):
    for folder in sorted(os.listdir(src)):
        base = os.path.join(src, folder)
        if not os.path.isdir(base):
            continue
        for root, _, files in os.walk(base):
            for name in sorted(files):
                if name.endswith((".h", ".cpp")):
                    yield os.path.relpath(os.path.join(root, name), src)


def check(src):
    faults = []
    for rel in sources(src):
        with open(os.path.join(src, rel), encoding="utf-8") as handle:
            includes = INCLUDE.findall(handle.read())
        own_layer = layer_of(rel)
        if own_layer is None:
            faults.append(f"{rel}: folder {rel.split('/')[0]}/ has no layer in check_layers.py")
            continue
        has_widgets = is_screen(rel) or any(
            kind == "<" and WIDGET_HEADER.match(name) for kind, name in includes)
        for kind, name in includes:
            if kind != '"' or "/" not in name:
                continue
            target_layer = layer_of(name)
            if target_layer is None:
                continue
            own_folder, target_folder = rel.split("/")[0], name.split("/")[0]
            if own_folder == "shell":
                continue
            if is_screen(name):
                if own_folder != target_folder:
                    faults.append(f'{rel}: includes the screen "{name}" of another folder '
                                  "(open it through the dispatch)")
                elif not has_widgets:
                    faults.append(f'{rel}: a file without widgets includes the screen "{name}"')
            elif target_layer > own_layer:
                faults.append(f'{rel}: includes "{name}" from a higher layer')
    return faults


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "src")
    faults = check(src)
    for fault in faults:
        print(fault)
    print(f"layering: {len(faults)} offending include(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
