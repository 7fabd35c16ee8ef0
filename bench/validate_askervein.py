#!/usr/bin/env python3
"""Speed-up over Askervein Hill: the orographic model against the 1983 field data.

Makes an atlas from a uniform 36-sector climate at the reference site RS
(10 m), predicts at the masts of line A at 10 m, and compares the fractional
speed-up dS = A_mast / A_RS - 1 of the 210° sector with the measured one of
run TU03B (wind from about 208°). The field data is not part of the
repository; pass the folder that holds it.

    bench/validate_askervein.py FIELD_DATA_FOLDER [KAVICALC]
"""
import csv
import json
import os
import subprocess
import sys
import tempfile

SECTORS = 36
SECTOR_210 = 22  # centred on 210° in 36 sectors
RS = (74300.0, 20980.0)


def main():
    data = os.path.join(sys.argv[1], "askervein")
    tool = sys.argv[2] if len(sys.argv) > 2 else "build/bin/kavicalc"
    map_file = os.path.join(data, "askervein_elevation_roughness.map")
    rows = [r for r in csv.DictReader(open(os.path.join(data, "askervein_dS_10m_by_run.csv")))
            if r["run"] == "TU03B" and r["line"] in ("A", "A/B")]
    with tempfile.TemporaryDirectory() as work:
        climate = os.path.join(work, "rs.tab")
        with open(climate, "w") as f:
            f.write("Askervein RS, uniform climate\n57.2 -7.4 10\n%d 1.0 0.0 2\n" % SECTORS)
            f.write(" ".join(["1"] * SECTORS) + "\n" + " ".join(["9.0"] * SECTORS) + "\n")
            f.write(" ".join(["2.0"] * SECTORS) + "\n")
        sites = os.path.join(work, "sites.csv")
        with open(sites, "w") as f:
            f.write("x,y,height\n%.1f,%.1f,10\n" % RS)
            for r in rows:  # local mast frame to map coordinates
                f.write("%.1f,%.1f,10\n" % (float(r["x_m"]) + 74399, float(r["y_m"]) + 22042))
        atlas = os.path.join(work, "rs.lib")
        env = dict(os.environ, KAVI_REGISTRY=os.path.join(work, "registry"))
        subprocess.run([tool, "atlas", "--map", map_file, "--tab", climate, "--height", "10",
                        "--at", "%.1f,%.1f" % RS, "--out", atlas], check=True, env=env,
                       stdout=subprocess.DEVNULL)
        result = subprocess.run([tool, "predict", "--map", map_file, "--atlas", atlas,
                                 "--height", "10", "--sites", sites, "--format", "json"],
                                check=True, env=env, capture_output=True, text=True)
    predicted = json.loads(result.stdout)["sites"]
    reference = predicted[0]["sectors"][SECTOR_210 - 1]["weibull_a"]
    print("%-6s %9s %9s %9s %9s" % ("mast", "dist (m)", "measured", "model", "elev (m)"))
    for row, site in zip(rows, predicted[1:]):
        model = site["sectors"][SECTOR_210 - 1]["weibull_a"] / reference - 1
        print("%-6s %9.0f %9.3f %9.3f %9.1f" % (row["mast"], float(row["dist_m"]),
                                                 float(row["dS"]), model, site["elevation"]))


if __name__ == "__main__":
    main()
