#include "nimbra/cli.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>

#include "nimbra/epw_import.h"
#include "nimbra/generator.h"
#include "nimbra/regions.h"
#include "project/maker/file.h"

namespace nimbra {

namespace {

const char* const kHelp =
    "usage: nimbra-cli [--home DIR] SITES.csv\n"
    "       nimbra-cli import-epw IN.epw -o OUT.wsw [--name STATION] [--region CODE] [--code N]\n"
    "\n"
    "Creates a weather file from twelve monthly means for every row of SITES.csv, into the\n"
    "region's folder of the weather tree below the program folder (or DIR), as the generator's\n"
    "Create does. SITES.csv has a header row naming the columns:\n"
    "  region        index 0-9 or name of the region list (Canada, USA, Japan, Central America,\n"
    "                South America, Europe, Africa, Asia, Australia)\n"
    "  subregion     province (Canada) or state (USA): list index or list text, e.g. Ontario, Iowa\n"
    "  abbreviation  country code for Central/South America, Europe, Africa and Asia\n"
    "  city          city name, also the file name\n"
    "  latitude, hemisphere (N or S), longitude, eastwest (W or E), elevation [m]\n"
    "  source        1 clearness index, 2 mean daily radiation [MJ/m2 per day]\n"
    "  rad1..rad12, temp1..temp12 [C], rh1..rh12 [%], wind1..wind12 [m/s]\n"
    "Empty lines and lines starting with # are skipped; a field may be quoted with \".\n"
    "\n"
    "Exit codes: 0 success, 1 a site refused or a file not written, 2 usage,\n"
    "3 input unreadable or malformed.\n";

// Messages of Create on the console: warnings and errors to err, confirmations to out.
class CConsoleMessenger final : public CMessenger {
public:
    CConsoleMessenger(std::ostream& out, std::ostream& err, std::string where)
        : m_out(out), m_err(err), m_where(std::move(where)) {}
    MsgAnswer Show(std::string_view text, std::string_view caption, MsgIcon icon, MsgButtons) override {
        std::string t(text);
        for (char& c : t)
            if (c == '\n') c = ' ';
        (icon == MsgIcon::Information ? m_out : m_err) << m_where << ": " << caption << ": " << t << "\n";
        return MsgAnswer::Ok;
    }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    std::string m_where;
};

bool SplitCsv(const std::string& line, std::vector<std::string>& fields) {
    fields.clear();
    std::string cur;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cur += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cur += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    fields.push_back(cur);
    return !quoted;
}

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Number(const std::string& text, double& v) {
    const std::string t = Trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtod(t.c_str(), &end);
    return end == t.c_str() + t.size() && errno == 0 && std::isfinite(v);
}

// Index of `text` in a list: a whole number, or the list text ignoring case.
bool ListIndex(const std::string& text, const std::vector<std::string>& list, int& index) {
    double v = 0;
    if (Number(text, v)) {
        if (v != std::floor(v) || v < 0 || v >= static_cast<double>(list.size())) return false;
        index = static_cast<int>(v);
        return true;
    }
    const std::string t = Lower(Trim(text));
    for (size_t i = 0; i < list.size(); ++i)
        if (Lower(list[i]) == t) {
            index = static_cast<int>(i);
            return true;
        }
    return false;
}

int RunSites(const std::string& path, const std::string& home, std::ostream& out, std::ostream& err) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "nimbra-cli: cannot open \"" << path << "\".\n";
        return 3;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    if (in.bad()) {
        err << "nimbra-cli: cannot read \"" << path << "\".\n";
        return 3;
    }
    std::map<std::string, size_t> column;
    std::vector<std::string> f;
    size_t headerLine = 0;
    while (headerLine < lines.size() &&
           (Trim(lines[headerLine]).empty() || Trim(lines[headerLine])[0] == '#'))
        ++headerLine;
    if (headerLine == lines.size()) {
        err << "nimbra-cli: " << path << ": no header row.\n";
        return 3;
    }
    SplitCsv(lines[headerLine], f);
    for (size_t i = 0; i < f.size(); ++i) column[Lower(Trim(f[i]))] = i;
    std::vector<std::string> required = {"region",    "subregion", "abbreviation", "city",
                                         "latitude",  "hemisphere", "longitude",   "eastwest",
                                         "elevation", "source"};
    for (const char* p : {"rad", "temp", "rh", "wind"})
        for (int m = 1; m <= 12; ++m) required.push_back(p + std::to_string(m));
    for (const std::string& r : required)
        if (!column.count(r)) {
            err << "nimbra-cli: " << path << ", line " << headerLine + 1 << ": no column \"" << r
                << "\".\n";
            return 3;
        }

    // Parse every row first, so that a malformed file creates nothing.
    std::vector<std::pair<size_t, SGeneratorFields>> sites;
    std::vector<std::string> provinces, states;
    for (const auto& p : Provinces()) provinces.push_back(p.listText ? p.listText : p.folder);
    for (const auto& s : States()) states.push_back(s.listText);
    for (size_t li = headerLine + 1; li < lines.size(); ++li) {
        const std::string t = Trim(lines[li]);
        if (t.empty() || t[0] == '#') continue;
        const std::string where = path + ", line " + std::to_string(li + 1);
        if (!SplitCsv(lines[li], f)) {
            err << "nimbra-cli: " << where << ": a quoted field is not closed.\n";
            return 3;
        }
        if (f.size() != column.size()) {
            err << "nimbra-cli: " << where << ": " << f.size() << " fields, " << column.size()
                << " expected.\n";
            return 3;
        }
        auto get = [&](const std::string& c) { return Trim(f[column[c]]); };
        auto bad = [&](const std::string& c, const char* what) {
            err << "nimbra-cli: " << where << ", field \"" << c << "\": \"" << get(c) << "\" " << what
                << ".\n";
            return 3;
        };
        SGeneratorFields s;
        if (!ListIndex(get("region"), RegionList(), s.region)) return bad("region", "is not a region");
        const std::string sub = get("subregion");
        if (!sub.empty()) {
            const auto& list = s.region == kRegionCanada ? provinces : states;
            if (s.region != kRegionCanada && s.region != kRegionUSA) {
                s.subRegion = 0;
            } else if (!ListIndex(sub, list, s.subRegion)) {
                return bad("subregion", s.region == kRegionCanada ? "is not a province" : "is not a state");
            }
        }
        s.abbreviation = get("abbreviation");
        s.city = get("city");
        const struct {
            const char* name;
            double* value;
        } numbers[] = {{"latitude", &s.latitude}, {"longitude", &s.longitude}, {"elevation", &s.elevation}};
        for (const auto& n : numbers)
            if (!Number(get(n.name), *n.value)) return bad(n.name, "is not a number");
        const std::string hemi = Lower(get("hemisphere")), ew = Lower(get("eastwest"));
        if (hemi != "n" && hemi != "s") return bad("hemisphere", "is neither N nor S");
        if (ew != "w" && ew != "e") return bad("eastwest", "is neither W nor E");
        s.south = hemi == "s";
        s.east = ew == "e";
        double source = 0;
        if (!Number(get("source"), source) || source != std::floor(source))
            return bad("source", "is not 1 or 2");
        // Any whole number other than 1 or 2 is refused by Create with its own message; one
        // beyond int's range would not survive the conversion, so it is passed as "none chosen".
        s.radiationSource = std::fabs(source) <= 1000.0 ? static_cast<int>(source) : 0;
        for (int m = 1; m <= 12; ++m) {
            const std::string k = std::to_string(m);
            if (!Number(get("rad" + k), s.radiation[m])) return bad("rad" + k, "is not a number");
            if (!Number(get("temp" + k), s.temperature[m])) return bad("temp" + k, "is not a number");
            if (!Number(get("rh" + k), s.humidity[m])) return bad("rh" + k, "is not a number");
            if (!Number(get("wind" + k), s.wind[m])) return bad("wind" + k, "is not a number");
        }
        sites.emplace_back(li + 1, std::move(s));
    }

    std::string folder = home;
    if (folder.empty() && !FILE_GetModulePathName(folder)) {
        err << "nimbra-cli: the program folder cannot be found.\n";
        return 1;
    }
    int rc = 0;
    for (const auto& [line, site] : sites) {
        CConsoleMessenger messenger(out, err, path + ", line " + std::to_string(line));
        std::string stored;
        if (CreateWeatherFile(site, folder, messenger, &stored) != ECreate::Created) rc = 1;
        else out << "  " << stored << "\n";
    }
    return rc;
}

}  // namespace

int NimbraCliRun(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && args[0] == "import-epw")
        return RunImportEpw(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    std::string home, input;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << kHelp;
            return 0;
        }
        if (a == "--version") {
            out << "nimbra-cli 1.0\n";
            return 0;
        }
        if (a == "--home") {
            if (i + 1 >= args.size()) {
                err << kHelp;
                return 2;
            }
            home = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            err << "nimbra-cli: unknown option \"" << a << "\".\n" << kHelp;
            return 2;
        } else if (input.empty()) {
            input = a;
        } else {
            err << "nimbra-cli: more than one input file.\n" << kHelp;
            return 2;
        }
    }
    if (input.empty()) {
        err << kHelp;
        return 2;
    }
    return RunSites(input, home, out, err);
}

}  // namespace nimbra
