#!/usr/bin/env python3
"""End-to-end tests of oradel-convert.exe under Wine, on Windows paths.

    wine_end_to_end.py --exe oradel-convert.exe --reference oradel-convert --work DIR

--reference is the Linux build of the same sources: every output of the .exe
must equal its output byte for byte. DIR receives a throwaway Wine prefix, a
folder that the prefix maps as drive D: and the reference's folders.

Exit status: 0 every test passed, 1 a test failed, 77 Wine cannot start here
(the tests were skipped, which the caller must report as such).
"""

import argparse
import os
import pty
import re
import select
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path
from xml.etree import ElementTree

SKIPPED = 77
ROOT = Path(__file__).resolve().parents[2]
RUSSIAN = "ru_RU.UTF-8"  # ANSI code page 1251, console code page 866
WESTERN = "C.UTF-8"  # ANSI code page 1252, which holds no Cyrillic letter
RUN_TIMEOUT = 120
BOOT_TIMEOUT = 600


def cp1251(text):
    return text.encode("cp1251")


def crlf_lines(*lines):
    return b"".join(cp1251(line) + b"\r\n" for line in lines)


# A point list with what the writers treat specially: headings, filter tags,
# link and phone markup, the numero sign, unreadable coordinates, a point at
# latitude 0, blank lines holding spaces and a last line without CR LF.
POINT_LIST = crlf_lines(
    ":Кавказ",
    "Холм Ветров <Ю ЮЗ>",
    "44.1234 42.5678",
    "Старт с юга, ветер Ю [https://example.org/x|Обзор] {+7 (928) 123-45-67|Сергей}",
    "Второй комментарий",
    "   ",
    "Плохая точка №1",
    "55,75 37,61",
    "не попадёт",
    "",
    "Экватор",
    "0 37.5",
    "",
    "  Лысая   гора  ",
    "55.3 37.5",
    "старт",
    "",
    "Ёлки <Е>",
    "-33.9 151.2",
) + cp1251("Последняя\r\n1e1 2E+1\r\nконец")

# Coordinates that cannot be read; their names go to standard output.
BAD_NAMES = ("Без координат", "Плохая точка №2", "Пик «Ёлка»")
BAD_POINTS = crlf_lines(
    BAD_NAMES[0], "", "",
    BAD_NAMES[1], "abc 37.5", "",
    "Гора", "55.1 37.2", "",
    BAD_NAMES[2], "55.1 x",
)


def diagnostic_name_cp866(name):
    """А to я and the numero sign recoded to CP866; any other Windows-1251
    byte, Ё and ё included, kept as it is."""
    return b"".join(
        c.encode("cp866") if "А" <= c <= "я" or c == "№" else c.encode("cp1251") for c in name
    )


def large_point_list(count):
    """A list well past the 64 KiB reading blocks, the same on every run."""
    records = []
    for i in range(count):
        lat = 40 + (i * 7919 % 10000) / 1000.0
        lon = 5 + (i * 104729 % 30000) / 1000.0
        records.append(
            crlf_lines(f"Точка {i} <Т{i % 7}>", f"{lat:.6f} {lon:.6f}", f"коммент {i}", "")
        )
    return b"".join(records)


def windows_name(relative):
    return "D:\\" + str(relative).replace("/", "\\")


class Result:
    def __init__(self, status, out, err):
        self.status, self.out, self.err = status, out, err

    def __repr__(self):
        return f"status {self.status}, stdout {self.out[:300]!r}, stderr {self.err[:300]!r}"


class Wine:
    """A throwaway Wine prefix with drive D: mapped to a scratch folder."""

    def __init__(self, work):
        self.prefix = work / "wineprefix"
        self.drive_d = work / "drive-d"
        self.wine = shutil.which("wine") or shutil.which("wine64")
        # No display: nothing may open a window or wait for someone to close it.
        hidden = ("DISPLAY", "WAYLAND_DISPLAY")
        self.env = {k: v for k, v in os.environ.items() if k not in hidden}
        self.env.update(
            WINEPREFIX=str(self.prefix),
            WINEDEBUG="-all",
            WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
            LC_ALL=WESTERN,
            # Messages in English, as the reference prints them, unless a
            # test asks for the user's language.
            ORADEL_LANG="en",
        )
        self.env.setdefault("HOME", str(work))

    def start(self):
        """None when Wine runs programs, else why it cannot."""
        if self.wine is None:
            return "neither wine nor wine64 is installed"
        quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
        try:
            self.prefix.mkdir(parents=True, exist_ok=True)
            # A server that stays up between the runs, started apart from
            # every pipe so that no run waits for it to end.
            subprocess.run(["wineserver", "-p"], env=self.env, timeout=60, check=False, **quiet)
            if not (self.prefix / "system.reg").exists():
                boot = self._call(["wineboot", "--init"], BOOT_TIMEOUT)
                if boot.returncode != 0:
                    return f"wineboot --init ended with {boot.returncode}: {boot.stderr[-500:]!r}"
            probe = self._call([self.wine, "cmd.exe", "/c", "echo", "wine-ok"], RUN_TIMEOUT)
        except (OSError, subprocess.TimeoutExpired) as error:
            return f"{type(error).__name__}: {error}"
        if b"wine-ok" not in probe.stdout:
            return f"cmd.exe did not run (status {probe.returncode}): {probe.stderr[-500:]!r}"
        self.drive_d.mkdir(parents=True, exist_ok=True)
        link = self.prefix / "dosdevices" / "d:"
        if link.is_symlink() or link.exists():
            link.unlink()
        link.symlink_to(self.drive_d)
        return None

    def stop(self):
        """Ends this prefix's server and the programs it still runs."""
        try:
            subprocess.run(["wineserver", "-k"], env=self.env, timeout=60, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except (OSError, subprocess.TimeoutExpired):
            pass  # no server to end

    def version(self):
        return self._call([self.wine, "--version"], 60).stdout.decode(errors="replace").strip()

    def _call(self, command, timeout, locale=WESTERN, cwd=None, language="en"):
        """Runs a command with its output in files: Wine's background services
        inherit the streams and would hold a pipe open long after it ends.
        language None: the messages follow the user's interface language."""
        env = dict(self.env, LC_ALL=locale)
        if language is None:
            env.pop("ORADEL_LANG", None)
        else:
            env["ORADEL_LANG"] = language
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(
                command, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                timeout=timeout, check=False,
            )
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(command, done.returncode, out.read(),
                                               err.read())

    def run(self, exe, arguments, locale, cwd=None, language="en"):
        done = self._call([self.wine, str(exe)] + arguments, RUN_TIMEOUT, locale, cwd, language)
        return Result(done.returncode, done.stdout, done.stderr)

    def run_in_terminal(self, exe, arguments, locale):
        """What a terminal shows when the .exe writes to a real console."""
        master, slave = pty.openpty()
        env = dict(self.env, LC_ALL=locale)
        env.pop("ORADEL_LANG", None)  # the user's language, as a person sees it
        process = subprocess.Popen(
            [self.wine, str(exe)] + arguments, stdin=slave, stdout=slave, stderr=slave, env=env
        )
        os.close(slave)
        shown = b""
        deadline = time.monotonic() + RUN_TIMEOUT
        while time.monotonic() < deadline:
            ready, _, _ = select.select([master], [], [], 0.5)
            if not ready:
                if process.poll() is not None:
                    break
                continue
            try:
                chunk = os.read(master, 65536)
            except OSError:
                break
            if not chunk:
                break
            shown += chunk
        os.close(master)
        if process.poll() is None:
            process.kill()
        status = process.wait()
        text = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", shown).decode("utf-8", "replace")
        return status, text


class Suite:
    def __init__(self, exe, reference, work, wine, russian):
        self.exe, self.reference, self.work, self.wine = exe, reference, work, wine
        self.locale = RUSSIAN if russian else WESTERN
        self.russian = russian
        self.passed = self.failed = self.skipped = 0
        self.folders = 0

    # -- helpers --------------------------------------------------------------

    def folder(self, label):
        """A fresh folder on drive D: and its twin for the Linux build."""
        self.folders += 1
        name = f"{self.folders:02d}-{label}"
        for base in (self.wine.drive_d, self.work / "linux"):
            shutil.rmtree(base / name, ignore_errors=True)
            (base / name).mkdir(parents=True)
        return name

    def put(self, relative, content):
        for base in (self.wine.drive_d, self.work / "linux"):
            path = base / relative
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(content)

    def run_windows(self, arguments, locale=None, cwd=None, language="en"):
        return self.wine.run(self.exe, arguments, locale or self.locale, cwd, language)

    def run_linux(self, arguments):
        env = dict(os.environ, LC_ALL=self.locale, ORADEL_LANG="en")
        done = subprocess.run(
            [str(self.reference)] + arguments, env=env, stdin=subprocess.DEVNULL,
            capture_output=True, timeout=RUN_TIMEOUT, check=False,
        )
        return Result(done.returncode, done.stdout, done.stderr)

    @staticmethod
    def files_in(folder):
        return {
            str(path.relative_to(folder)): path.read_bytes()
            for path in sorted(folder.rglob("*"))
            if path.is_file()
        }

    def convert_both(self, folder, relative, options=()):
        """Runs both builds on the same input; returns both results and file sets."""
        windows = self.run_windows(list(options) + [windows_name(Path(folder) / relative)])
        linux = self.run_linux(list(options) + [str(self.work / "linux" / folder / relative)])
        return (
            windows,
            linux,
            self.files_in(self.wine.drive_d / folder),
            self.files_in(self.work / "linux" / folder),
        )

    def check(self, condition, message):
        if not condition:
            raise AssertionError(message)

    def same_files(self, windows_files, linux_files, what):
        self.check(
            sorted(windows_files) == sorted(linux_files),
            f"{what}: .exe made {sorted(windows_files)}, Linux {sorted(linux_files)}",
        )
        for name, content in linux_files.items():
            self.check(
                windows_files[name] == content,
                f"{what}: {name} differs from the Linux build's "
                f"({len(windows_files[name])} bytes against {len(content)})",
            )
        leftovers = [name for name in windows_files if ".oradel-" in name]
        self.check(not leftovers, f"{what}: temporary files left behind: {leftovers}")

    def record(self, name, test, *arguments):
        try:
            test(*arguments)
        except AssertionError as failure:
            self.failed += 1
            print(f"FAIL  {name}\n      {failure}", flush=True)
        except (OSError, subprocess.SubprocessError) as failure:
            self.failed += 1
            print(f"FAIL  {name}\n      {type(failure).__name__}: {failure}", flush=True)
        else:
            self.passed += 1
            print(f"ok    {name}", flush=True)

    def skip(self, name, reason):
        self.skipped += 1
        print(f"SKIP  {name}: {reason}", flush=True)

    # -- the tests ------------------------------------------------------------

    def test_same_outputs_as_linux(self, relative, content, options):
        """Every output of every conversion that the build runs for the input."""
        folder = self.folder("same")
        self.put(Path(folder) / relative, content)
        windows, linux, windows_files, linux_files = self.convert_both(folder, relative, options)
        self.check(windows.status == linux.status, f".exe: {windows}; Linux: {linux}")
        self.check(len(linux_files) > 1 or linux.status != 0, f"Linux wrote nothing: {linux}")
        self.same_files(windows_files, linux_files, relative)

    def test_windows_path(self, given, arguments, expected, cwd=None):
        """Drive letters, backslashes, dots in folder names, relative names."""
        folder = self.folder("paths")
        source = Path(folder) / "maps.old" / given.replace("\\", "/").split("/")[-1]
        self.put(source, POINT_LIST)
        name = given.replace("@", windows_name(Path(folder)))
        workdir = self.wine.drive_d / folder / "maps.old" if cwd else None
        result = self.run_windows(arguments + [name], cwd=workdir)
        self.check(result.status == 0 and result.err == b"", f"{name}: {result}")
        made = set(self.files_in(self.wine.drive_d / folder)) - {str(source.relative_to(folder))}
        wanted = f"maps.old/{expected}"
        self.check(made == {wanted}, f"{name}: expected {wanted}, got {sorted(made)}")
        linux = self.run_linux(arguments + [str(self.work / "linux" / source)])
        self.check(linux.status == 0, f"Linux build: {linux}")
        want = (self.work / "linux" / folder / "maps.old" / expected).read_bytes()
        got = (self.wine.drive_d / folder / "maps.old" / expected).read_bytes()
        self.check(got == want, f"{expected} differs from the Linux build's")

    def test_relative_name_twice(self):
        """A name relative to the current folder, run twice: the second run
        replaces the first run's output."""
        folder = self.folder("relative")
        self.put(Path(folder) / "s.txt", POINT_LIST)
        for run in ("first", "second"):
            result = self.run_windows(["--mode", "2", "s.txt"], cwd=self.wine.drive_d / folder)
            self.check(result.status == 0 and result.err == b"", f"{run} run: {result}")
        linux = self.run_linux(["--mode", "2", str(self.work / "linux" / folder / "s.txt")])
        self.check(linux.status == 0, f"Linux build: {linux}")
        self.same_files(self.files_in(self.wine.drive_d / folder),
                        self.files_in(self.work / "linux" / folder), "s.txt")

    def test_replaces_existing_outputs(self, arguments, outputs):
        """Existing outputs (longer than the new ones) are replaced whole."""
        folder = self.folder("replace")
        self.put(Path(folder) / "alps.txt", POINT_LIST)
        for output in outputs:
            (self.wine.drive_d / folder / output).write_bytes(b"old content\r\n" * 5000)
            (self.work / "linux" / folder / output).write_bytes(b"old content\r\n" * 5000)
        windows, linux, windows_files, linux_files = self.convert_both(
            folder, "alps.txt", arguments
        )
        self.check(windows.status == linux.status == 0, f".exe: {windows}; Linux: {linux}")
        self.same_files(windows_files, linux_files, "replaced outputs")

    def test_read_only_target(self, arguments, target):
        """A read-only output is not replaced: a clear error, old content kept."""
        folder = self.folder("readonly")
        self.put(Path(folder) / "alps.txt", POINT_LIST)
        self.put(Path(folder) / "later.txt", POINT_LIST)
        path = self.wine.drive_d / folder / target
        path.write_bytes(b"keep me\r\n")
        path.chmod(stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        try:
            names = [windows_name(Path(folder) / n) for n in ("alps.txt", "later.txt")]
            result = self.run_windows(arguments + names)
        finally:
            path.chmod(stat.S_IRUSR | stat.S_IWUSR)
        target_name = windows_name(Path(folder) / target)
        wanted = (f'Cannot create file "{target_name}". The file is read-only.\r\n'
                  "Jobs not done: 2 of 2\r\n").encode()
        self.check(result.status == 1, f"status: {result}")
        self.check(result.err == wanted, f"message: {result.err!r}, wanted {wanted!r}")
        self.check(path.read_bytes() == b"keep me\r\n", "the read-only file was changed")
        # The run stops at the failure: later.txt is not converted.
        left = set(self.files_in(self.wine.drive_d / folder)) - {"alps.txt", "later.txt", target}
        self.check(not left, f"files made by a failed run: {sorted(left)}")

    def test_own_input_refused(self, mode, given, output, hard_link):
        """An output that is the input file itself is refused; the input stays."""
        folder = self.folder("same-file")
        self.put(Path(folder) / given, POINT_LIST)
        if hard_link:
            os.link(self.wine.drive_d / folder / given, self.wine.drive_d / folder / output)
        result = self.run_windows(["--mode", mode, windows_name(Path(folder) / given)])
        wanted = (f'The output "{windows_name(Path(folder) / output)}" is the input file '
                  "itself; nothing was written.\r\nJobs not done: 1 of 1\r\n").encode()
        self.check(result.status == 1, f"status: {result}")
        self.check(result.err == wanted, f"message: {result.err!r}, wanted {wanted!r}")
        self.check((self.wine.drive_d / folder / given).read_bytes() == POINT_LIST,
                   "the input was changed")

    def test_replacement_keeps_attributes(self):
        """ReplaceFileW keeps the replaced file's attributes (here: hidden)."""
        folder = self.folder("attributes")
        self.put(Path(folder) / "alps.txt", POINT_LIST)
        (self.wine.drive_d / folder / "alps_nav.wpt").write_bytes(b"old\r\n")
        target = windows_name(Path(folder) / "alps_nav.wpt")
        attrib = self.wine.run("attrib", ["+h", target], self.locale)
        self.check(attrib.status == 0, f"attrib +h: {attrib}")
        before = self.wine.run("attrib", [target], self.locale).out
        result = self.run_windows(["--mode", "3", windows_name(Path(folder) / "alps.txt")])
        self.check(result.status == 0, f"status: {result}")
        after = self.wine.run("attrib", [target], self.locale).out
        self.check(b"H" in before.split(b":")[0], f"attrib before: {before!r}")
        self.check(after == before, f"attributes before {before!r}, after {after!r}")
        written = (self.wine.drive_d / folder / "alps_nav.wpt").read_bytes()
        self.check(written.startswith(b"OziExplorer"), f"not replaced: {written[:40]!r}")

    def test_cyrillic_names(self, locale):
        """Wide paths: Cyrillic names work whatever the ANSI code page."""
        folder = self.folder("cyrillic")
        relative = Path("Карты Эльбруса") / "Гора №1.txt"
        self.put(Path(folder) / relative, POINT_LIST)
        windows = self.run_windows([windows_name(Path(folder) / relative)], locale=locale)
        linux = self.run_linux([str(self.work / "linux" / folder / relative)])
        self.check(windows.status == linux.status == 0, f".exe: {windows}; Linux: {linux}")
        windows_files = self.files_in(self.wine.drive_d / folder)
        self.check("Карты Эльбруса/Гора №1_nav.wpt" in windows_files, sorted(windows_files))
        linux_files = self.files_in(self.work / "linux" / folder)
        self.same_files(windows_files, linux_files, str(relative))

    def test_missing_input(self):
        """One "Нет файла " line per input, then the count of jobs not done, on
        stderr in the console's code page: the messages speak the user's
        interface language, here Russian."""
        folder = self.folder("missing")
        name = windows_name(Path(folder) / "нет" / "алпы.txt")
        result = self.run_windows(["--mode", "3", "--mode", "5", name], language=None)
        wanted = ("Нет файла " + name + "\r\nНе выполнено заданий: 2 из 2\r\n").encode("cp866")
        self.check(result.status == 1, f"status: {result}")
        self.check(result.err == wanted, f"stderr {result.err!r}, wanted {wanted!r}")
        self.check(result.out == b"", f"stdout: {result.out!r}")
        self.check(not self.files_in(self.wine.drive_d / folder), "a file was made")

    def test_usage_error(self, arguments, status):
        folder = self.folder("usage")
        self.put(Path(folder) / "alps.txt", POINT_LIST)
        self.put(Path(folder) / "alps.doc", POINT_LIST)
        given = [a.replace("@", windows_name(Path(folder)) + "\\") for a in arguments]
        result = self.run_windows(given)
        self.check(result.status == status, f"{given}: {result}")
        if status == 2:
            self.check(result.err.startswith(b"oradel-convert: "), repr(result))
            # Windows text: every line, the last one included, ends with CR LF.
            lines = result.err.split(b"\r\n")
            self.check(lines[-1] == b"" and all(b"\n" not in l for l in lines), repr(result))
        made = set(self.files_in(self.wine.drive_d / folder)) - {"alps.txt", "alps.doc"}
        self.check(not made or status == 0, f"a usage error made files: {made}")

    def test_diagnostic_line(self):
        """Mode 2 names an unreadable point on stdout, recoded to CP866."""
        folder = self.folder("diagnostic")
        self.put(Path(folder) / "bad.txt", BAD_POINTS)
        windows, linux, windows_files, linux_files = self.convert_both(
            folder, "bad.txt", ["--mode", "2"]
        )
        self.check(windows.status == linux.status == 0, f".exe: {windows}; Linux: {linux}")
        prefix = b"error coordenades:  "
        wanted = b"".join(prefix + diagnostic_name_cp866(n) + b"\r\n" for n in BAD_NAMES)
        self.check(windows.out == wanted, f"stdout {windows.out!r}, wanted {wanted!r}")
        in_utf8 = b"".join(prefix + n.encode() + b"\r\n" for n in BAD_NAMES)
        self.check(linux.out == in_utf8, f"Linux stdout {linux.out!r}, wanted {in_utf8!r}")
        self.same_files(windows_files, linux_files, "bad.txt")

    def test_console_shows_cyrillic(self):
        """On a real console both streams show their text as written, even
        characters that the console's code page lacks."""
        folder = self.folder("console")
        self.put(Path(folder) / "bad.txt", BAD_POINTS)
        missing = windows_name(Path(folder) / "нет-Łódź.txt")  # not all in CP866
        arguments = ["--mode", "2", windows_name(Path(folder) / "bad.txt"), missing]
        status, shown = self.wine.run_in_terminal(self.exe, arguments, self.locale)
        compact = re.sub(r"\s+", "", shown)
        self.check(status == 1, f"status {status}, shown {shown!r}")
        for text in ("Нет файла " + missing, "error coordenades:  Плохая точка №2"):
            self.check(re.sub(r"\s+", "", text) in compact, f"{text!r} not shown in {shown!r}")

    def check_static_linking(self):
        """The .exe runs on its own: it imports no MinGW runtime DLL."""
        objdump = shutil.which("x86_64-w64-mingw32-objdump")
        if objdump is None:
            self.skip("imports only Windows' own DLLs", "x86_64-w64-mingw32-objdump is missing")
            return

        def test():
            listing = subprocess.run([objdump, "-p", str(self.exe)], capture_output=True,
                                     text=True, check=True).stdout
            dlls = re.findall(r"DLL Name: (\S+)", listing)
            self.check(dlls, "no imports found")
            foreign = [dll for dll in dlls if dll.lower().startswith("lib")]
            self.check(not foreign, f"needs {foreign} beside it")

        self.record("imports only Windows' own DLLs", test)

    def check_long_path_manifest(self):
        """The .exe's manifest (resource 1 of type RT_MANIFEST) makes it long-path aware."""

        def test():
            manifest = ElementTree.fromstring(pe_resource(self.exe.read_bytes(), 24, 1))
            aware = manifest.find(".//{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
                                  "longPathAware")
            self.check(aware is not None and aware.text == "true", "no longPathAware true")

        self.record("the manifest makes it long-path aware", test)

    # -- the run --------------------------------------------------------------

    def run(self):
        for relative, content in comparison_inputs():
            variants = [[]]
            if relative.lower().endswith(".txt"):
                variants = [["--set", "cFI=0"], ["--set", "cFI=1"]]
            for options in variants:
                label = f"same outputs as the Linux build: {relative} {' '.join(options)}".rstrip()
                self.record(label, self.test_same_outputs_as_linux, relative, content, options)

        for given, arguments, expected, cwd in [
            ("@\\maps.old\\alps.txt", ["--mode", "3"], "alps_nav.wpt", False),
            ("@\\maps.old\\alps", ["--mode", "3"], "alps_nav.wpt", False),
            ("@\\maps.old\\ALPS.TXT", ["--mode", "5"], "ALPS_lk8.wpt", False),
            ("@/maps.old/alps.txt", ["--mode", "2"], "alps.wpt", False),
            ("@\\maps.old\\.\\..\\maps.old\\alps.txt", ["--mode", "4"], "alps.htm", False),
            ("alps.txt", ["--mode", "3"], "alps_nav.wpt", True),
        ]:
            self.record(f"Windows path {given} {arguments}", self.test_windows_path,
                        given, arguments, expected, cwd)
        self.record("a relative name converted twice in its folder", self.test_relative_name_twice)

        for arguments, outputs in [
            (["--mode", "3"], ["alps_nav.wpt"]),
            ([], ["alps.wpt", "alps_nav.wpt", "alps_lk8.wpt", "alps.htm", "alps.cup"]),
            (["--mode", "4", "--set", "cFI=1"], ["alps.htm", "alps.htm$"]),
        ]:
            self.record(f"replaces existing {outputs}", self.test_replaces_existing_outputs,
                        arguments, outputs)

        for arguments, target in [
            (["--mode", "3"], "alps_nav.wpt"),
            (["--mode", "4", "--set", "cFI=0"], "alps.htm"),
        ]:
            self.record(f"read-only {target} is kept", self.test_read_only_target,
                        arguments, target)

        self.record("Cyrillic file names, ANSI code page 1252", self.test_cyrillic_names, WESTERN)

        for mode, given, output, hard_link in [
            ("2", "s.wpt", "s.wpt", False),
            ("1", "note.txt", "note.txt", False),
            ("3", "h.txt", "h_nav.wpt", True),
        ]:
            self.record(f"own input {given} as {output} is refused", self.test_own_input_refused,
                        mode, given, output, hard_link)
        self.record("a replaced output keeps its attributes", self.test_replacement_keeps_attributes)

        for arguments, status in [
            ([], 2),
            (["--mode", "99", "@alps.txt"], 2),
            (["--fast", "@alps.txt"], 2),
            (["@alps.doc"], 2),
            (["--set", "CheckBox99=1", "@alps.txt"], 2),
            (["--help"], 0),
        ]:
            self.record(f"command line {arguments} exits {status}", self.test_usage_error,
                        arguments, status)

        russian_tests = [
            ("Cyrillic file names, ANSI code page 1251", self.test_cyrillic_names, RUSSIAN),
            ("missing input: message in CP866", self.test_missing_input),
            ("diagnostic line in CP866", self.test_diagnostic_line),
            ("console shows Cyrillic", self.test_console_shows_cyrillic),
        ]
        for name, test, *arguments in russian_tests:
            if self.russian:
                self.record(name, test, *arguments)
            else:
                self.skip(name, f"no {RUSSIAN} locale (scripts/run-windows-tests.sh makes it)")


def pe_resource(image, kind, number):
    """The bytes of resource `number` of type `kind` (first language) in a PE
    image, as Windows finds it: the resource directory's tree of type, name
    and language, its addresses relative to the image."""
    u16 = lambda at: struct.unpack_from("<H", image, at)[0]
    u32 = lambda at: struct.unpack_from("<I", image, at)[0]
    header = u32(0x3C)
    sections = header + 24 + u16(header + 20)
    optional = header + 24
    directories = optional + (112 if u16(optional) == 0x20B else 96)
    root = u32(directories + 2 * 8)  # the resource table's address

    def offset(address):
        for at in range(sections, sections + 40 * u16(header + 6), 40):
            start, size, raw = u32(at + 12), u32(at + 16), u32(at + 20)
            if start <= address < start + size:
                return raw + address - start
        raise AssertionError(f"address {address:#x} lies in no section")

    base = offset(root)

    def entry(directory, wanted):
        count = u16(directory + 12) + u16(directory + 14)
        for at in range(directory + 16, directory + 16 + 8 * count, 8):
            if wanted is None or u32(at) == wanted:
                return u32(at + 4)
        raise AssertionError(f"no resource {wanted} of type {kind}")

    data = base
    for wanted in (kind, number, None):  # the last level's entry is the data's
        data = base + (entry(data, wanted) & 0x7FFFFFFF)
    return image[offset(u32(data)):offset(u32(data)) + u32(data + 4)]


def comparison_inputs():
    """The generated lists and every input file of the repository's test data."""
    inputs = [
        ("alps.txt", POINT_LIST),
        ("bad.txt", BAD_POINTS),
        ("large.txt", large_point_list(3000)),
        ("empty.txt", b""),
    ]
    for base in (ROOT / "tests" / "data", ROOT / "examples"):
        for path in sorted(base.rglob("*")):
            if path.is_file() and path.suffix.lower() in (".txt", ".wpt", ".gpx", ".cup"):
                inputs.append((f"{path.parent.name}-{path.name}", path.read_bytes()))
    return inputs


def russian_locale_installed():
    listed = subprocess.run(["locale", "-a"], capture_output=True, text=True, check=False).stdout
    return any(name.lower() in ("ru_ru.utf8", "ru_ru.utf-8") for name in listed.split())


def main():
    parser = argparse.ArgumentParser(
        description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter
    )
    parser.add_argument("--exe", type=Path, required=True)
    parser.add_argument("--reference", type=Path, required=True)
    parser.add_argument("--work", type=Path, required=True)
    options = parser.parse_args()
    for program in (options.exe, options.reference):
        if not program.is_file():
            print(f"FAIL  {program} does not exist", flush=True)
            return 1
    work = options.work.resolve()
    work.mkdir(parents=True, exist_ok=True)
    for scratch in ("drive-d", "linux"):
        shutil.rmtree(work / scratch, ignore_errors=True)
    wine = Wine(work)
    try:
        reason = wine.start()
        if reason is not None:
            print("=" * 72)
            print(f"SKIPPED: Wine cannot start, so the Windows build is NOT tested.\n  {reason}")
            print("=" * 72, flush=True)
            return SKIPPED
        print(f"{wine.version()}, prefix {wine.prefix}, drive D: = {wine.drive_d}", flush=True)
        suite = Suite(options.exe.resolve(), options.reference.resolve(), work, wine,
                      russian_locale_installed())
        suite.check_static_linking()
        suite.check_long_path_manifest()
        suite.run()
    finally:
        wine.stop()
    closing = f"{suite.passed} passed, {suite.failed} failed"
    print(closing + (f", {suite.skipped} skipped" if suite.skipped else ""), flush=True)
    return 1 if suite.failed else 0


if __name__ == "__main__":
    sys.exit(main())
