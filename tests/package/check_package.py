#!/usr/bin/env python3
"""The Debian package of Fennick, from the program of a build folder.

Builds the package with CPack into a temporary folder, unpacks it with
dpkg-deb -x, runs the unpacked program's --version and --help (without a
display, as on a terminal), checks that the unpacked program finds its help
page below share/fennick, validates the menu entry and the AppStream
metainfo, and runs lintian, which must report no errors.

usage: check_package.py BUILD_DIR VERSION CPACK
"""
import os
import struct
import subprocess
import sys
import tempfile

APP_ID = "com.example.brassgate.fennick"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
PLUGINS = ("fennick-postgres.so", "fennick-mail.so", "fennick-pdfinfo.so", "fennick-charts.so",
           "fennick-calendar.so")
# What the plug-ins bring: never among the program's own libraries.
PLUGIN_LIBRARIES = ("libpq.", "libcurl", "libqpdf.", "libQt6Charts.", "libical.")
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def run(args, **kwargs):
    result = subprocess.run(args, capture_output=True, text=True, **kwargs)
    return result.returncode, result.stdout + result.stderr


def png_size(path):
    with open(path, "rb") as png:
        head = png.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def main():
    build_dir, version, cpack = sys.argv[1:4]
    with tempfile.TemporaryDirectory(prefix="fennick-deb-") as tmp:
        out = os.path.join(tmp, "out")
        code, log = run([cpack, "-G", "DEB", "--config", os.path.join(build_dir, "CPackConfig.cmake"),
                         "-B", out])
        deb = os.path.join(out, f"fennick_{version}_amd64.deb")
        if code != 0 or not os.path.isfile(deb):
            print(log)
            fail(f"cpack did not build {os.path.basename(deb)}")
            return

        # Control fields: run-time libraries from the binary, plus the fonts.
        code, fields = run(["dpkg-deb", "-f", deb, "Package", "Version", "Architecture", "Depends"])
        print(fields)
        for expected in ("Package: fennick", f"Version: {version}", "Architecture: amd64",
                         "fonts-liberation2", "libqt6widgets6", "libqt6printsupport6", "libsqlite3-0",
                         "libqpdf", "libcurl4", "libpq5"):
            if expected not in fields:
                fail(f"control fields lack {expected!r}")

        root = os.path.join(tmp, "root")
        code, log = run(["dpkg-deb", "-x", deb, root])
        if code != 0:
            fail("dpkg-deb -x failed: " + log)
            return
        usr = os.path.join(root, "usr")
        program = os.path.join(usr, "bin", "fennick")
        help_page = os.path.join(usr, "share", "fennick", "fenhelp.html")
        desktop = os.path.join(usr, "share", "applications", APP_ID + ".desktop")
        metainfo = os.path.join(usr, "share", "metainfo", APP_ID + ".metainfo.xml")
        expected_files = [program, help_page, desktop, metainfo,
                          os.path.join(usr, "share", "icons", "hicolor", "scalable", "apps", "fennick.svg"),
                          os.path.join(usr, "share", "man", "man1", "fennick.1.gz"),
                          os.path.join(usr, "share", "doc", "fennick", "copyright"),
                          os.path.join(usr, "share", "doc", "fennick", "changelog.gz"),
                          *[os.path.join(usr, "lib", "fennick", plugin) for plugin in PLUGINS]]
        for path in expected_files:
            if not os.path.isfile(path):
                fail("missing from the package: " + os.path.relpath(path, root))
        for size in ICON_SIZES:
            png = os.path.join(usr, "share", "icons", "hicolor", f"{size}x{size}", "apps", "fennick.png")
            if not os.path.isfile(png):
                fail("missing icon " + os.path.relpath(png, root))
            elif png_size(png) != (size, size):
                fail(f"icon {size}x{size} is {png_size(png)}")
        if failures:
            return

        # The libraries of the plug-ins are loaded when first used, not at start.
        code, text = run(["ldd", program])
        loaded_at_start = [line.split()[0] for line in text.splitlines()
                           if any(line.strip().startswith(name) for name in PLUGIN_LIBRARIES)]
        if code != 0 or loaded_at_start:
            fail(f"the program links libraries its plug-ins should load: {loaded_at_start or text!r}")

        # As on a terminal without a display: no platform plugin is needed.
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env["XDG_DATA_HOME"] = os.path.join(tmp, "data")
        code, text = run([program, "--version"], env=env, timeout=60)
        if code != 0 or text.strip() != f"fennick {version}":
            fail(f"fennick --version answered {code}: {text!r}")
        code, text = run([program, "--help"], env=env, timeout=60)
        print(text)
        if code != 0 or "--version" not in text or "Usage:" not in text:
            fail(f"fennick --help answered {code}: {text!r}")
        # The unpacked program finds its help page below ../share/fennick.
        if f"Help page: {os.path.realpath(help_page)}" not in text.replace(root, os.path.realpath(root)):
            fail("the unpacked program does not name its help page " + help_page)
        # An unknown option ends the program once Qt has its platform, before
        # the start-up sequence.
        code, text = run([program, "--no-such-option"], env=dict(env, QT_QPA_PLATFORM="offscreen"), timeout=60)
        if code == 0 or "no-such-option" not in text:
            fail(f"an unknown option was not refused: {code} {text!r}")
        if os.path.exists(env["XDG_DATA_HOME"]):
            fail("--help/--version touched the data folder")

        # The unpacked program loads its server support from ../lib/fennick: a
        # copy to a port where nothing listens fails for that reason alone.
        copy_data = os.path.join(tmp, "copy-data")
        folder = os.path.join(copy_data, "Brassgate Software", "Fennick4")
        os.makedirs(folder)
        open(os.path.join(folder, "Fennick.db"), "wb").close()
        code, text = run([program, "--copy-data-to", "host=127.0.0.1 port=1 dbname=fennick"],
                         env=dict(env, XDG_DATA_HOME=copy_data), timeout=60)
        if code == 0 or "the server refused the connection" not in text:
            fail(f"the unpacked program's server support did not answer: {code} {text!r}")

        code, text = run(["desktop-file-validate", desktop])
        if code != 0 or text.strip():
            fail("desktop-file-validate: " + text)
        code, text = run(["appstreamcli", "validate", "--no-net", "--no-color", metainfo])
        print(text)
        if code != 0:
            fail("appstreamcli validate: " + text)

        code, text = run(["lintian", "--tag-display-limit", "0", "--display-info", deb], timeout=900)
        print("lintian:\n" + text)
        errors = [line for line in text.splitlines() if line.startswith("E:")]
        if errors:
            fail("lintian errors:\n" + "\n".join(errors))


if __name__ == "__main__":
    main()
    if failures:
        sys.exit(1)
    print("package checks passed")
