#!/usr/bin/python3
"""Shows that check_layers.py fails on the faults it is there to catch."""
import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_layers.py")

# (what the tree shows, files to write, the fault line expected or None for a pass)
CASES = [
    ("a store includes a screen",
     {"documents/unitDocumentStore.cpp": '#include "editor/unitfrmInvoice.h"\n',
      "editor/unitfrmInvoice.h": "#include <QDialog>\n"},
     'documents/unitDocumentStore.cpp: includes the screen "editor/unitfrmInvoice.h" of another folder'),
    ("the ground includes a store",
     {"app/unitDialogs.cpp": '#include "documents/unitDocumentModel.h"\n',
      "documents/unitDocumentModel.h": ""},
     'app/unitDialogs.cpp: includes "documents/unitDocumentModel.h" from a higher layer'),
    ("a screen opens another folder's screen",
     {"customers/unitfrmCustomer.cpp": '#include "email/unitfrmEmail.h"\n#include <QDialog>\n',
      "email/unitfrmEmail.h": ""},
     'customers/unitfrmCustomer.cpp: includes the screen "email/unitfrmEmail.h" of another folder'),
    ("a file without widgets includes its folder's screen",
     {"printing/unitPrintFeeds.cpp": '#include "printing/unitfrmPrntPreview.h"\n',
      "printing/unitfrmPrntPreview.h": ""},
     'printing/unitPrintFeeds.cpp: a file without widgets includes the screen'),
    ("a new folder without a layer",
     {"garden/unitHose.cpp": ""},
     "garden/unitHose.cpp: folder garden/ has no layer"),
    ("the allowed directions",
     {"shell/unitDispatch.cpp": '#include "editor/unitfrmInvoice.h"\n',
      "editor/unitfrmInvoice.h": '#include "documents/unitDocumentStore.h"\n#include <QDialog>\n',
      "documents/unitDocumentStore.h": '#include "db/DbConnection.h"\n#include "app/unitfrmSaving.h"\n',
      "printing/unitModPrintData.cpp": '#include "printing/unitfrmPrntPreview.h"\n#include <QDialog>\n'},
     None),
]

failed = 0
for title, files, expected in CASES:
    with tempfile.TemporaryDirectory() as src:
        for rel, text in files.items():
            os.makedirs(os.path.join(src, os.path.dirname(rel)), exist_ok=True)
            with open(os.path.join(src, rel), "w", encoding="utf-8") as handle:
                handle.write(text)
        run = subprocess.run([sys.executable, CHECK, src], capture_output=True, text=True)
        ok = (run.returncode == 0) if expected is None else (
            run.returncode == 1 and expected in run.stdout)
        if not ok:
            failed += 1
            print(f"FAIL {title}: exit {run.returncode}\n{run.stdout}")
        else:
            print(f"PASS {title}")
print(f"{len(CASES) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
