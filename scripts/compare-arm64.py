#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs trx-check (and trx-sheet, when given) of an x86-64 build and of an
arm64 build under qemu-user over the same catalogues, and fails on the first
output or exit status that differs. The catalogues are the bundled one, the
test and fuzz catalogues, and a few hundred generated ones: written afresh on
every run from a fixed seed, so every run checks the same ones.

Run from the source tree's top folder (scripts/test-arm64.sh does), so that
both builds see the same relative file names.
"""

import argparse
import concurrent.futures
import decimal
import difflib
import json
import math
import os
import random
import shutil
import struct
import subprocess
import sys
from pathlib import Path

SEED = 20261208
GENERATED = 300
BATCH = 25
SHEET_GENERATED = 100

# Numbers at the edges of the three formats: single (what the sheet holds),
# double and x87 extended (what the texts are read at), beyond them, and
# texts whose rounding to single or double is a close call.
EDGES = [
    "0", "-0", "0.0", "0.1", "0.2", "0.3", "1", "-1", "0.95", "1.22",
    "16777216", "16777217", "16777216.5", "-16777217", "9007199254740993",
    "3.4028235E38", "3.40282346638528859811704183484516925440E38",
    "3.40282356779733661637539395458142568448E38", "3.4028236E38", "-3.4028235E38",
    "1E38", "1E39", "-1E38", "1.17549435E-38", "1.1754943508222875E-38",
    "1.40129846432481707092E-45", "7.0064923216240853546E-46", "1E-45", "1E-46",
    "1.7976931348623157E308", "1.797693134862315807E308", "2.2250738585072014E-308",
    "4.9406564584124654E-324", "2.4703282292062327E-324",
    "1.18973149535723176502E4932", "1.2E4932", "3.6451995318824746025E-4951", "1E-4950",
    "1E-5000", "1E5000", "-1E5000",
]


def float32_neighbours(rng):
    """Two adjacent single-precision values, as exact decimals."""
    bits = rng.randrange(0x00000001, 0x7F7FFFFF)
    a, b = struct.unpack("<2f", struct.pack("<2I", bits, bits + 1))
    return decimal.Decimal(a), decimal.Decimal(b)


def float64_neighbours(rng):
    """Two adjacent doubles near the sheet's magnitudes, as exact decimals."""
    bits = struct.unpack("<Q", struct.pack("<d", rng.uniform(1e-3, 1e6)))[0]
    a, b = struct.unpack("<2d", struct.pack("<2Q", bits, bits + 1))
    return decimal.Decimal(a), decimal.Decimal(b)


def sci(value):
    """A Decimal in the form the catalogue reads: digits, then E and exponent."""
    text = format(value, "E").replace("E+", "E")
    return text.replace("E0", "") if text.endswith("E0") else text


class Numbers:
    def __init__(self, rng, corpus):
        self.rng = rng
        self.corpus = corpus

    def plain(self, lo, hi):
        """A decimal between lo and hi with 0 to 20 digits after the point."""
        value = self.rng.uniform(lo, hi)
        places = self.rng.choice([0, 0, 1, 2, 3, 6, 9, 15, 17, 20])
        text = f"{value:.{places}f}"
        return "0" if text in ("-0", "-0.0") else text

    def long_digits(self, lo, hi):
        """Up to 40 significant digits: more than any of the formats holds."""
        digits = "".join(self.rng.choice("0123456789") for _ in range(self.rng.randint(18, 40)))
        whole = self.rng.randint(int(lo), max(int(lo), int(hi)))
        return f"{whole}.{digits}"

    def tie(self):
        """Halfway between two singles or two doubles, or a hair beside it."""
        a, b = (float32_neighbours if self.rng.random() < 0.6 else float64_neighbours)(self.rng)
        mid = (a + b) / 2
        # Nudges below what extended precision holds, between that and
        # double precision, and above that.
        nudge = self.rng.choice([0, 1, -1]) * abs(b - a) * decimal.Decimal(
            self.rng.choice(["1E-25", "1E-10", "1E-3"]))
        return sci(mid + nudge)

    def exponent(self):
        mantissa = self.plain(1, 9.999)
        exp = self.rng.choice([
            self.rng.randint(-50, 50), self.rng.randint(-330, 330), self.rng.randint(-4960, 4940)])
        return f"{mantissa}E{exp}"

    def near(self, value, mode):
        """value written with a varying number of digits; now and then an edge."""
        if mode != "plain" and self.rng.random() < 0.08:
            return self.edge()
        places = self.rng.choice([0, 1, 2, 3, 6, 9, 15, 17, 20])
        return f"{value:.{places}f}"

    def edge(self):
        pool = EDGES + self.corpus
        return self.rng.choice(pool)

    def value(self, lo, hi, mode):
        """A number text for a field whose sensible values lie between lo and hi."""
        roll = self.rng.random()
        if mode == "plain" or roll < 0.55:
            text = self.plain(lo, hi)
        elif roll < 0.70:
            text = self.long_digits(lo, hi)
        elif roll < 0.82:
            text = self.tie()
        elif roll < 0.90:
            text = self.exponent()
        else:
            text = self.edge()
        if self.rng.random() < 0.04 and not text.startswith("-"):
            text = "-" + text
        if self.rng.random() < 0.03:
            text = text.lower()
        return text


def field_list(values):
    return "".join(f"{v};" for v in values)


def aircraft(rng, nums, name):
    """The lines of one aircraft section, and its slot count."""
    mode = rng.choice(["plain", "plain", "mixed", "mixed", "edge"])
    slots = rng.choice([1, 2, 3, 4, 4, 5, 6, 8, 12])
    if rng.random() < 0.03:
        slots = rng.choice([0, 100, 300, 1023, 1024])
    imperial = rng.random() < 0.4
    arm_hi = 120.0 if imperial else 3.0
    weights = [nums.value(0, 500 if i == 0 else 150, mode) for i in range(slots)]
    maxima = [nums.value(100, 700, mode) for _ in range(slots)]
    positions = [nums.value(0, arm_hi, mode) for _ in range(slots)]
    lows = [nums.value(0, arm_hi / 2, mode) for _ in range(slots)]
    highs = [nums.value(arm_hi / 2, arm_hi, mode) for _ in range(slots)]
    names = [f"Slot {i + 1}" for i in range(slots)]
    if slots > 50:  # one character a field, as only such long lists fit
        weights = [str(rng.randint(0, 9)) for _ in range(slots)]
        maxima = ["9"] * slots
        positions, lows, highs = ["1"] * slots, ["0"] * slots, ["2"] * slots
        names = ["n"] * slots
    lists = [names, weights, maxima, positions, lows, highs]
    if rng.random() < 0.08:  # a list one field short or long
        pick = rng.choice(lists)
        if pick and rng.random() < 0.5:
            pick.pop()
        else:
            pick.append(nums.value(0, 10, mode))

    # A star-shaped envelope around roughly where the default loading lies,
    # shifted so that the loading falls inside, near an edge or outside;
    # now and then its vertices shuffled into a self-intersecting one.
    def approx(text):
        try:
            return float(text)
        except ValueError:
            return 0.0
    total = sum(approx(w) for w in weights[:slots])
    moment = sum(approx(w) * approx(p) for w, p in zip(weights, positions))
    if not all(abs(v) < 1e30 for v in (total, moment)):
        total, moment = 1000.0, 1000.0
    rx = (abs(moment) or 1.0) * rng.choice([0.02, 0.2, 0.5])
    ry = (abs(total) or 1.0) * rng.choice([0.02, 0.2, 0.5])
    shift = rng.choice([0, 0, 0, 0.9, 1.0, 1.5])
    angles = sorted(rng.uniform(0, 2 * math.pi) for _ in range(rng.choice([3, 4, 4, 5, 6, 8])))
    env_x = [nums.near(moment + rx * (math.cos(a) + shift) * rng.uniform(0.7, 1.0), mode) for a in angles]
    env_y = [nums.near(total + ry * math.sin(a) * rng.uniform(0.7, 1.0), mode) for a in angles]
    if rng.random() < 0.08:
        order = list(range(len(angles)))
        rng.shuffle(order)
        env_x = [env_x[k] for k in order]
        env_y = [env_y[k] for k in order]
    if rng.random() < 0.85:  # closed, as the chart wants it
        env_x.append(env_x[0])
        env_y.append(env_y[0])
    count = len(env_x) if rng.random() < 0.92 else len(env_x) + rng.choice([-1, 1])

    lines = [f"[{name}]"]
    lines.append(f"Make=Maker {rng.randint(1, 99)}")
    lines.append(f"Model=M{rng.randint(1, 999)}")
    lines.append(f"Slots={slots}")
    lines.append(f"SlotsNames={field_list(names)}")
    lines.append(f"SlotsWeight={field_list(weights)}")
    lines.append(f"SlotsMaxWeight={field_list(maxima)}")
    lines.append(f"SlotsPos={field_list(positions)}")
    lines.append(f"SlotsMinPos={field_list(lows)}")
    lines.append(f"SlotsMaxPos={field_list(highs)}")
    lines.append(f"MaxWeight={nums.value(total * 0.8, total * 1.3, mode)}")
    lines.append(f"Unit={2 if imperial else rng.choice([1, 1, 1, 0, 3])}")
    lines.append(f"EnvelopePoints={count}")
    lines.append(f"EnvelopeX={field_list(env_x)}")
    lines.append(f"EnvelopeY={field_list(env_y)}")
    if rng.random() < 0.05:
        lines.append(rng.choice(["SlotMaxWeight=1;", "Unit=1", "Colour=red"]))
    return lines, slots


def generate(folder, corpus):
    """Writes the generated catalogues; returns [(file, [(section, slots)])]."""
    rng = random.Random(SEED)
    nums = Numbers(rng, corpus)
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    written = []
    for i in range(GENERATED):
        sections = []
        lines = []
        for j in range(rng.choice([1, 1, 2, 3])):
            name = f"Aircraft {i}-{j}" if rng.random() < 0.9 else f"Avión {i}-{j}"
            more, slots = aircraft(rng, nums, name)
            lines += more
            sections.append((name, slots))
        newline = "\r\n" if rng.random() < 0.15 else "\n"
        path = folder / f"gen-{i:03d}.ini"
        path.write_bytes((newline.join(lines) + newline).encode("utf-8"))
        written.append((path, sections))
    return written


def run(command, env):
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env, check=False)
    return b"%b\n-- stderr\n%b\n-- exit status %d\n" % (done.stdout, done.stderr, done.returncode)


def compare(label, cases, host, arm64, env, jobs, keep, what):
    """Runs every case on both builds; on a difference prints it and fails."""
    def both(args):
        return run(host + args, env), run(arm64 + args, env)

    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        results = list(pool.map(both, cases))
    for args, (mine, theirs) in zip(cases, results):
        if mine != theirs:
            keep.mkdir(parents=True, exist_ok=True)
            (keep / "x86-64.txt").write_bytes(mine)
            (keep / "arm64.txt").write_bytes(theirs)
            print(f"arm64: {label}: outputs differ for: {' '.join(args)}")
            diff = difflib.unified_diff(
                mine.decode("utf-8", "replace").splitlines(), theirs.decode("utf-8", "replace").splitlines(),
                "x86-64", "arm64", lineterm="", n=2)
            for n, line in enumerate(diff):
                if n == 60:
                    print("...")
                    break
                print(line)
            print(f"arm64: both outputs are kept in {keep}")
            return False
    print(f"arm64: {label}: {len(cases)} outputs identical ({what})")
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host-bin", required=True, help="folder of the x86-64 trx-check (and trx-sheet)")
    parser.add_argument("--arm64-bin", required=True, help="folder of the arm64 trx-check (and trx-sheet)")
    parser.add_argument("--sysroot", required=True, help="the arm64 sysroot, for qemu-aarch64 -L")
    parser.add_argument("--cases", default="build/arm64-cases", help="folder for the generated catalogues")
    parser.add_argument("--sheet", action="store_true", help="compare trx-sheet too")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    opts = parser.parse_args()

    decimal.getcontext().prec = 900  # exact for every single and double
    corpus = []
    for path in sorted(Path("fuzz/corpus/fuzz_ExtendedDiff").glob("text-*")):
        corpus += [line.strip() for line in path.read_text(errors="replace").splitlines() if line.strip()]
    generated = generate(Path(opts.cases), corpus)

    fixed = [Path("data/TRX.ini")]
    for folder in ("tests/catalogues", "fuzz/corpus/fuzz_CatalogueCheck", "fuzz/corpus/fuzz_IniFile"):
        fixed += sorted(p for p in Path(folder).iterdir() if p.is_file())

    env = dict(os.environ, LC_ALL="C", QT_QPA_PLATFORM="offscreen")
    env.pop("LANG", None)
    env.pop("LANGUAGE", None)
    plugins = Path(opts.sysroot) / "usr/lib/aarch64-linux-gnu/qt6/plugins"
    qemu = ["qemu-aarch64", "-L", opts.sysroot, "-E", f"QT_PLUGIN_PATH={plugins}"]
    keep = Path(opts.cases) / "differs"

    def tool(name):
        return [str(Path(opts.host_bin) / name)], qemu + [str(Path(opts.arm64_bin) / name)]

    # One run a file for the odd ones, whose exit status tells most; the
    # generated ones BATCH files a run, since every start under qemu takes
    # a fraction of a second.
    host, arm64 = tool("trx-check")
    check_cases = [["--json", "--summary", str(f)] for f in fixed]
    paths = [str(path) for path, _ in generated]
    check_cases += [["--json", "--summary"] + paths[i : i + BATCH] for i in range(0, len(paths), BATCH)]
    what = (f"{len(fixed) + len(paths)} catalogues, "
            f"{sum(len(sections) for _, sections in generated)} generated aircraft among them")
    if not compare("trx-check", check_cases, host, arm64, env, opts.jobs, keep, what):
        return 1

    if opts.sheet:
        # Every aircraft of the fixed catalogues as the x86-64 checker lists
        # it, and the first of SHEET_GENERATED generated catalogues, as they
        # load and with some slot weights changed.
        rng = random.Random(SEED + 1)
        nums = Numbers(rng, corpus)
        targets = []
        for f in fixed:
            command = host + ["--json", "--summary", str(f)]
            out = subprocess.run(command, stdout=subprocess.PIPE, env=env, check=False).stdout
            try:
                report = json.loads(out)
            except ValueError:
                continue
            for entry in report.get("summary", []) or []:
                targets.append((f, entry["section"], 4))
        targets += [(path, *sections[0]) for path, sections in generated[:SHEET_GENERATED]]
        sheet_cases = []
        for f, section, slots in targets:
            sheet_cases.append(["--json", "--catalogue", str(f), section])
            edits = []
            for _ in range(rng.randint(1, 3)):
                slot = rng.randint(1, max(1, min(slots, 12)) + (1 if rng.random() < 0.1 else 0))
                edits += ["--weight", f"{slot}={nums.value(0, 200, 'mixed')}"]
            sheet_cases.append(["--json", "--catalogue", str(f), section] + edits)
            # The whole flight: fuel used from a slot before take-off and in
            # flight, as a weight and as a volume.
            slot = rng.randint(2, max(2, min(slots, 12)))
            sheet_cases.append(["--json", "--catalogue", str(f), section,
                                 "--taxi", f"{slot}={rng.randint(0, 3)}L",
                                 "--burn", f"{slot}={nums.value(0, 50, 'mixed')}"])
        host, arm64 = tool("trx-sheet")
        what = (f"{len(targets)} aircraft, as they load, with slot weights changed and with fuel "
                "burnt")
        if not compare("trx-sheet", sheet_cases, host, arm64, env, opts.jobs, keep, what):
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
