#!/usr/bin/env python3
"""Regenerates the shipped weather tree data/Weather from the raw EPW collection.

    tools/weather/convert_weather.py --raw RAW_DIR --cli BUILD/stage/nimbra-cli [--out data/Weather]

RAW_DIR holds cities.csv, cities/*.epw.gz and extras/*.epw.gz. Every city row with a file becomes
"<region folder>/<city name>.wsw" with the station named exactly as the city table writes the city,
station code 11 for the cities of the Canadian and US city tables (shown on the maps) and 1 for the
world regions and the extra stations, and the region code of the generator's tables (for the
world regions the country's two-letter ISO code). The folder lists (DIR.DIR) and SOURCES.md are
written too. Converting the whole tree takes a few minutes; nothing here runs in the tests.
"""

import argparse
import csv
import gzip
import os
import shutil
import subprocess
import sys
import tempfile

PROVINCE_CODE = {
    "Atlantic": "AT", "Quebec": "QC", "Ontario": "ON", "Manitoba": "MB", "Saskatchewan": "SK",
    "Alberta": "AB", "British Columbia": "BC", "Yukon": "YT", "Nwt": "WT",
}

# Postal abbreviation -> the generator's own state code (not the postal one).
STATE_CODE = {
    "AL": "AL", "AK": "AK", "AZ": "AZ", "AR": "AR", "CA": "CA", "CO": "CO", "CT": "CN", "DE": "DL",
    "DC": "DC", "FL": "FL", "GA": "GE", "HI": "HI", "ID": "ID", "IL": "IL", "IN": "IN", "IA": "IW",
    "KS": "KS", "KY": "KY", "LA": "LS", "ME": "ME", "MD": "MD", "MA": "MA", "MI": "MI", "MN": "MN",
    "MS": "MS", "MO": "MS", "MT": "MT", "NE": "NE", "NV": "NV", "NH": "NH", "NJ": "NJ", "NM": "NM",
    "NY": "NY", "NC": "NC", "ND": "ND", "OH": "OH", "OK": "OK", "OR": "OR", "PA": "PN", "RI": "RI",
    "SC": "SC", "SD": "SD", "TN": "TN", "TX": "TX", "UT": "UT", "VT": "VE", "VA": "VG", "WA": "WA",
    "WV": "WV", "WI": "WS", "WY": "WY",
}

ISO2 = {
    "GTM": "GT", "SLV": "SV", "NIC": "NI", "HND": "HN", "BLZ": "BZ", "CUB": "CU", "PRI": "PR",
    "CHL": "CL", "IND": "IN", "CHN": "CN", "GUM": "GU", "ETH": "ET",
}

NRC_ORIGIN = "nrc-cnrc/OpenStudio-Measures @3188611b: openstudio-server/ServerData/weather/"

# Stations of the raw collection that serve no city of the tables; shipped as other hourly data.
# The actual-year Toronto 2016 file has no stated origin and stays out.
EXTRAS = [
    ("CAN_BC_Kelowna.Intl.AP.712030_CWEC2016.epw", "North America\\Canada\\British Columbia", "Kelowna",
     "CWEC", "Kelowna Intl AP", "712030", NRC_ORIGIN),
    ("CAN_NB_Moncton-Greater.Moncton.LeBlanc.Intl.AP.717050_CWEC2016.epw", "North America\\Canada\\Atlantic",
     "Moncton", "CWEC", "Moncton-Greater Moncton LeBlanc Intl AP", "717050", NRC_ORIGIN),
    ("CAN_NU_Iqaluit.AP.719090_CWEC2016.epw", "North America\\Canada\\Nwt", "Iqaluit", "CWEC",
     "Iqaluit AP", "719090", NRC_ORIGIN),
    ("USA_CO_Golden-NREL.724666_TMY3.epw", "North America\\USA\\Mountain", "Golden", "TMY3",
     "Denver Centennial Golden Nr", "724666",
     'chiensiTB/EPWRawWeather: "Weather Files/Golden-NREL 724666 (TMY3).zip"'),
    ("USA_NY_New.York-J.F.Kennedy.Intl.AP.744860_TMY3.epw", "North America\\USA\\Middle Atlantic",
     "New York JFK", "TMY3", "New York J F Kennedy IntL Ar", "744860",
     'chiensiTB/EPWRawWeather: "Weather Files/New York-J F Kennedy Intl AP 744860 (TMY3).zip"'),
]

# The folder lists of the map dialogs, with exactly the names the picker recognises.
FOLDER_LISTS = {
    "": ["North America", "Central America", "South America", "Europe", "Africa", "Asia", "Japan",
         "Australia"],
    "North America": ["Canada", "USA"],
    "North America\\Canada": ["Atlantic", "Quebec", "Ontario", "Manitoba", "Saskatchewan", "Alberta",
                              "British Columbia", "Yukon", "Northwest Territories"],
    "North America\\USA": ["Pacific", "Mountain", "West North Central", "West South Central",
                           "East North Central", "East South Central", "South Atlantic",
                           "Middle Atlantic", "New England"],
}

CREDIT = {
    "CWEC": "Contains information licensed under the Open Government Licence - Canada: Canadian "
            "Weather for Energy Calculations, Environment and Climate Change Canada, distributed "
            "through Climate.OneBuilding.Org.",
    "NRC-projected": "National Research Council Canada typical year \"based on climate projections "
                     "developed at NRC\" (CWEEDS2021, release 31 March 2022, variant TMY-0.0). The "
                     "file states no data licence; permission to redistribute is to be confirmed "
                     "with NRC.",
    "TMY3": "NREL TMY3 (2008), produced for the US Department of Energy (US federal data). Credit: "
            "National Renewable Energy Laboratory.",
    "TMY2": "NREL TMY2 (1961-1990), produced for the US Department of Energy (US federal data). "
            "Credit: National Renewable Energy Laboratory.",
    "SWERA": "Solar and Wind Energy Resource Assessment (SWERA), funded by the United Nations "
             "Environment Programme, data developed by NREL; published for free use. Credit: "
             "UNEP/NREL (SWERA).",
    "TMYx": "ISD-TMYx by Climate.OneBuilding.org from the NOAA NCEI Integrated Surface Database (US "
            "public data). Credit: Climate.OneBuilding.org and NOAA.",
    "TMYx (ERA5 filled)": "SRC-TMYx by Climate.OneBuilding.org from the NOAA NCEI Integrated Surface "
                          "Database with gaps filled from ERA5 (Copernicus Climate Change Service). "
                          "Credit: Climate.OneBuilding.org, NOAA and Copernicus Climate Change "
                          "Service information.",
}


def folder_list(names):
    out = "%03d" % len(names)
    for n in names:
        out += "%02d%s," % (len(n), n)
    return out


def location(epw_gz):
    with gzip.open(epw_gz, "rt", encoding="latin-1") as f:
        return f.readline().strip().split(",")


def region_code(folder, loc):
    parts = folder.split("\\")
    if parts[0] == "North America" and parts[1] == "Canada":
        return PROVINCE_CODE[parts[2]]
    if parts[0] == "North America" and parts[1] == "USA":
        return STATE_CODE[loc[2].strip().upper()]
    return ISO2[loc[3].strip().upper()]


def convert(cli, epw_gz, out_path, name, region, code, tmp):
    raw = os.path.join(tmp, "in.epw")
    with gzip.open(epw_gz, "rb") as src, open(raw, "wb") as dst:
        shutil.copyfileobj(src, dst)
    os.makedirs(os.path.dirname(out_path), exist_ok=True)
    r = subprocess.run([cli, "import-epw", raw, "-o", out_path, "--name", name, "--region", region,
                        "--code", str(code)], capture_output=True, text=True)
    if r.returncode != 0:
        sys.exit("conversion of %s failed:\n%s" % (epw_gz, r.stderr))
    for line in r.stderr.splitlines():
        print("  %s: %s" % (name, line))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--raw", required=True, help="folder with cities.csv, cities/ and extras/")
    ap.add_argument("--cli", required=True, help="the nimbra-cli program")
    ap.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "..", "data", "Weather"))
    args = ap.parse_args()
    out = os.path.abspath(args.out)

    with open(os.path.join(args.raw, "cities.csv"), newline="", encoding="ascii") as f:
        rows = [r for r in csv.DictReader(f) if r["epw_file"]]
    jobs = []  # (folder, city, epw path, code, kind, station, wmo, origin)
    for r in rows:
        code = 11 if r["region_state"] != "0" else 1
        jobs.append((r["region_folder"], r["city_name"], os.path.join(args.raw, "cities", r["epw_file"] + ".gz"),
                     code, r["data_kind"], r["station_name"], r["wmo"], r["origin"], r["epw_file"]))
    for epw, folder, city, kind, station, wmo, origin in EXTRAS:
        jobs.append((folder, city, os.path.join(args.raw, "extras", epw + ".gz"), 1, kind, station, wmo,
                     origin + epw if origin == NRC_ORIGIN else origin, epw))

    if os.path.isdir(out):
        for dirpath, _, files in os.walk(out):
            for fn in files:
                if fn.lower().endswith(".wsw"):
                    os.remove(os.path.join(dirpath, fn))
    shipped = []
    with tempfile.TemporaryDirectory() as tmp:
        for folder, city, epw_gz, code, kind, station, wmo, origin, epw in jobs:
            loc = location(epw_gz)
            region = region_code(folder, loc)
            rel = folder.replace("\\", os.sep)
            convert(args.cli, epw_gz, os.path.join(out, rel, city + ".wsw"), city, region, code, tmp)
            shipped.append(("\\Weather\\%s\\%s.wsw" % (folder, city), epw, kind, station, wmo, origin, code, region))
            print("%-70s %s" % (shipped[-1][0], epw))

    for folder, names in FOLDER_LISTS.items():
        path = os.path.join(out, folder.replace("\\", os.sep), "DIR.DIR")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", newline="", encoding="ascii") as f:
            f.write(folder_list(names))

    with open(os.path.join(out, "SOURCES.md"), "w", encoding="utf-8") as f:
        f.write("# Weather files: origin and licence\n\n")
        f.write("Every `.wsw` file below was converted from a typical-year EPW file with "
                "`nimbra-cli import-epw` (the same importer as `halvo-cli import-epw`) by "
                "`tools/weather/convert_weather.py`. The station name is the city as the city "
                "tables write it; station code 11 marks a city of the Canadian and US maps, 1 other "
                "hourly data. Hours are solar hours (resampled from local standard time).\n\n")
        f.write("## Credits and licences by data kind\n\n")
        for kind in sorted({s[2] for s in shipped}):
            f.write("- **%s**: %s\n" % (kind, CREDIT[kind]))
        f.write("\nNot shipped on purpose: ASHRAE IWEC (redistribution forbidden), Australian RMY, "
                "Meteonorm, and national sets whose terms are not stated; so Europe, Japan and "
                "Australia have no measured files (the generator makes files from monthly means).\n\n")
        f.write("## Files (%d)\n\n" % len(shipped))
        f.write("| stored path | code | region | source EPW | data kind | station in the EPW (WMO) | taken from |\n")
        f.write("|---|---|---|---|---|---|---|\n")
        for path, epw, kind, station, wmo, origin, code, region in sorted(shipped):
            f.write("| `%s` | %d | %s | `%s` | %s | %s (%s) | %s |\n" % (
                path, code, region, epw, kind, station, wmo, origin.replace("|", "/")))
    print("%d files" % len(shipped))


if __name__ == "__main__":
    main()
