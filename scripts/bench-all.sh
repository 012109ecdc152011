#!/usr/bin/env bash
# Runs every benchmark and prints one table of figures, each beside its peer (ratio) or its
# budget: start-up beside a bare Qt window, showing each window, pasting into a grid, taking
# the paste back and finding in it, firmware generation beside
# srec_cat, key-order writing of 100,000 records, the own XML parser beside pugixml, and sheet
# import, and reading each kind of table file through the project check at 5 and 50 MB. Builds
# into build/ with the benchmarks first when they are missing. Never part of ctest.
# STARTUP_RUNS (default 30) sets the start-up runs; when the Windows leg has built
# build-windows/, quastor.exe's start-up under Wine is timed too (STARTUP_RUNS_WINE, default 10).
#
#   scripts/bench-all.sh
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
lock=${QUASTOR_BUILD_LOCK:-/tmp/quastor-build.lock}
build=build

scripts/install-deps.sh
if ! grep -q '^QUASTOR_BUILD_BENCH:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUASTOR_BUILD_BENCH=ON
fi
flock "$lock" cmake --build "$build" -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The window benchmarks draw offscreen; the start-up runs need the X display of Xvfb, so the
# platform is set for the former only.
run() {  # run NAME [ARGUMENTS...]: the benchmark's results as JSON in $work/NAME.json
  local name=$1
  shift
  if [ -x "$build/bench/$name" ]; then
    echo "bench: $name" >&2
    QT_QPA_PLATFORM=offscreen "$build/bench/$name" --benchmark_format=json "$@" >"$work/$name.json"
  fi
}
run editor_show_bench --benchmark_filter='^Show'
run emcy_show_bench --benchmark_filter='^Show'
run xml_window_bench --benchmark_filter='^OpenLargeFile$'
run grid_edit_bench
run firmware_bench --benchmark_filter='/20/'
run table_bench --benchmark_filter='^WritePdoTableInKeyOrder$'
run xml_parser_bench --benchmark_filter='^(OwnParser|Pugixml)$'
run workbook_bench --benchmark_filter='^ReadSheet/'
run eds_read_bench
# A fresh process per run: three runs each, their median.
run check_bench --benchmark_filter='^CheckTable/' --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true
echo "bench: start-up" >&2
env -u QT_QPA_PLATFORM scripts/bench-startup.sh "${STARTUP_RUNS:-30}" >"$work/startup.txt"
# quastor.exe under Wine, when the Windows leg has built it.
if [ -f build-windows/bin/quastor.exe ] && [ -f build-windows/bench/bare_window.exe ] &&
  [ -f build-windows/bench/text_window.exe ]; then
  echo "bench: start-up under Wine" >&2
  env -u QT_QPA_PLATFORM scripts/bench-startup-windows.sh "${STARTUP_RUNS_WINE:-10}" \
    >>"$work/startup.txt"
fi

/usr/bin/python3 - "$work" <<'PY'
import json, os, re, sys

work = sys.argv[1]
ms = {}  # benchmark name -> real time in milliseconds
for file in os.listdir(work):
    if file.endswith(".json"):
        with open(os.path.join(work, file)) as f:
            for b in json.load(f)["benchmarks"]:
                scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
                ms[b["name"]] = None if b.get("error_occurred") else b["real_time"] * scale
with open(os.path.join(work, "startup.txt")) as f:
    for line in f:
        found = re.match(r"(bare Qt window|Qt window with the main window's texts|quastor|"
                         r"bare Qt window under Wine|"
                         r"Qt window with the main window's texts under Wine|"
                         r"quastor.exe under Wine):\s+median ([\d.]+) ms", line)
        if found:
            ms["startup/" + found.group(1)] = float(found.group(2))

def figure(name):
    return ms.get(name)

def text(value):
    return "-" if value is None else ("%.1f ms" % value if value < 1000 else "%.2f s" % (value / 1000))

# (what, figure, peer name, peer figure, budget text, within budget)
rows = []
def versus(what, name, peer_what, peer, limit):
    a, b = figure(name), figure(peer)
    ratio = a / b if a is not None and b else None
    rows.append((what, text(a), "%s %s" % (peer_what, text(b)),
                 "-" if ratio is None else "%.2f" % ratio,
                 "-" if limit is None else "ratio <= %.2f" % limit,
                 "-" if limit is None or ratio is None else ("yes" if ratio <= limit else "NO")))
def budget(what, name, limit_ms):
    a = figure(name)
    rows.append((what, text(a), "", "", "<= " + text(limit_ms),
                 "-" if a is None else ("yes" if a <= limit_ms else "NO")))

versus("Start-up until the main window is mapped", "startup/quastor",
       "bare Qt window", "startup/bare Qt window", 1.30)
versus("Start-up, beside a window laying out its texts", "startup/quastor",
       "text window", "startup/Qt window with the main window's texts", 1.15)
versus("Start-up of quastor.exe under Wine", "startup/quastor.exe under Wine",
       "bare Qt window under Wine", "startup/bare Qt window under Wine", 1.30)
versus("Start-up of quastor.exe under Wine, beside the text window",
       "startup/quastor.exe under Wine", "text window under Wine",
       "startup/Qt window with the main window's texts under Wine", 1.15)
budget("Show SDO access editor (2 x 1,500 rows)", "ShowSdoEditor", 10)
budget("Show PDO translation editor", "ShowPdoEditor", 5)
budget("Show stored PDO editor", "ShowStoredPdoEditor", 5)
budget("Show EMCY rules editor (500 rules)", "ShowRulesEditor", 20)
budget("Show EMCY words editor (200 words)", "ShowWordsEditor", 20)
budget("Grid: paste 1,500 x 8 cells", "PasteRange", 50)
budget("Grid: undo that paste", "UndoPaste", 50)
budget("Grid: find over 3,000 rows", "FindOverRows", 5)
budget("XML tool: open 100,000 elements", "OpenLargeFile", 500)
versus("Firmware generation, 20 MB, two banks", "BM_QuastorTwoBanks/20/real_time",
       "srec_cat", "BM_SrecCatTwoBanks/20/real_time", None)
budget("Key-order write of 100,000 records", "WritePdoTableInKeyOrder", 300)
versus("Own XML parser, 10 MB", "OwnParser", "pugixml", "Pugixml", 2.0)
budget("Sheet import, .xls, 3,000 rows", "ReadSheet/xls", 100)
budget("Sheet import, .xlsx, 3,000 rows", "ReadSheet/xlsx", 100)
budget("EDS file, 2,000 objects", "ReadEds2000", 20)

# A figure at 50 MB beside its own at 5 MB: within the time, and growing linearly.
def scaled(what, name, limit_ms, limit_ratio):
    a = figure("%s/50/real_time_median" % name)
    b = figure("%s/5/real_time_median" % name)
    ratio = a / b if a is not None and b else None
    within = "-" if a is None or ratio is None else (
        "yes" if a <= limit_ms and ratio <= limit_ratio else "NO")
    rows.append((what, text(a), "5 MB %s" % text(b), "-" if ratio is None else "%.2f" % ratio,
                 "<= %s, ratio <= %.0f" % (text(limit_ms), limit_ratio), within))

for table, shown in (("sdo", "sdo.xml"), ("rpdodef", "rpdodef.xml"), ("sdopdo", "sdopdo.xml"),
                     ("emcydef", "emcydef.xml"), ("emcyword", "emcyword.xml"),
                     ("Receive_Frame", "Receive_Frame.xml"), ("Send_Frame", "Send_Frame.xml"),
                     ("Receive_Info", "Receive_Info.xml"), ("Send_Info", "Send_Info.xml")):
    scaled("check, %s of 50 MB" % shown, "CheckTable/" + table, 2000, 12)

heads = ("Benchmark", "Figure", "Peer", "Ratio", "Budget", "Within")
widths = [max(len(str(r[k])) for r in rows + [heads]) for k in range(len(heads))]
def show(row):
    print("  ".join(str(c).ljust(w) for c, w in zip(row, widths)).rstrip())
show(heads)
show(tuple("-" * w for w in widths))
for row in rows:
    show(row)
PY
echo "bench: took $(($(date +%s) - started)) s"
