#include "cli/project_json.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

#include "project/doc.h"
#include "project/maker/schedule.h"

using nlohmann::json;

namespace {
// ---------------------------------------------------------------------------------------------
// The field list, shared by the printer and the reader so the two can never disagree.

template <typename V, typename Item>
void QtyItem(V& v, Item& it) {
    v.Int("tax1Flag", it.tax1Flag);
    v.Int("tax2Flag", it.tax2Flag);
    v.F64("quantity", it.quantity);
    v.F64("unitCost", it.unitCost);
    v.F64("amount", it.amount);
}
template <typename V, typename Item>
void LumpItem(V& v, Item& it) {
    v.Int("tax1Flag", it.tax1Flag);
    v.Int("tax2Flag", it.tax2Flag);
    v.F64("cost", it.cost);
    v.F64("amount", it.amount);
}
template <typename V, typename Item>
void PercentItem(V& v, Item& it) {
    v.Int("tax1Flag", it.tax1Flag);
    v.Int("tax2Flag", it.tax2Flag);
    v.F64("percent", it.percent);
    v.F64("lumpSum", it.lumpSum);
    v.F64("amount", it.amount);
    v.Int("lumpSumFlag", it.lumpSumFlag);
}

template <typename V, typename Doc>
void Fields(V& v, Doc& d) {
    v.Info("format", "halvo-project");
    v.InfoInt("fileVersion", d.fileVersion);
    v.I16("applicationType", d.applicationType);
    v.Int("unitsFlag", d.unitsFlag);
    v.Int("currency", d.currency);
    v.Object("location", [&] {
        auto& l = d.location;
        v.Text("weatherFile", l.weatherFile, kWeatherFileBytes);
        v.I16("stationCode", l.stationCode);
        v.Text("stationName", l.stationName, kStationNameBytes);
        v.Raw("regionCode", l.regionCode, kRegionCodeChars);
        v.Raw("latitudeText", l.latitudeText, kLatitudeTextChars);
        v.Raw("longitudeText", l.longitudeText, kLongitudeTextChars);
        v.F32("elevation", l.elevation);
        v.F32("dryBulbDay1Hour0", l.dryBulb[0][0]);
    });
    v.Object("client", [&] {
        auto& c = d.client;
        v.Text("name", c.name);
        v.Text("job", c.job);
        v.Text("address1", c.address1);
        v.Text("address2", c.address2);
        v.Text("city", c.city);
        v.Text("provinceState", c.provinceState);
        v.Text("country", c.country);
        v.Text("postalCode", c.postalCode);
        v.Text("telephone", c.telephone);
        v.Text("fax", c.fax);
        v.Text("email", c.email);
        v.Text("contact", c.contact);
    });
    v.Array("walls", kWallCount, [&](int w) {
        v.InfoInt("wall", w + 1);
        v.Int("present", d.wallPresent[w]);
        v.Object("schedule", [&] { v.Schedule(d.schedules[w], d.airSystems[w]); });
        v.Object("airSystem", [&] {
            auto& a = d.airSystems[w];
            v.F64("outsideAirPercent", a.outsideAirPercent);
            v.Int("motorEfficiencyClass", a.motorEfficiencyClass);
            v.Int("fanEfficiencyClass", a.fanEfficiencyClass);
            v.Int("heatingFuel", a.heatingFuel);
            v.Int("scheduleId", a.scheduleId);
            v.Int("exhaustFanLocation", a.exhaustFanLocation);
            v.Int("reservedA", a.reservedA);
            v.Int("numberOfFans", a.numberOfFans);
            v.Int("flowStraightener", a.flowStraightener);
            v.Int("taperedInlet", a.taperedInlet);
            v.Int("reservedB", a.reservedB);
            v.Int("reservedC", a.reservedC);
            v.F32("ductLength", a.ductLength);
            v.F32("ductDiameter", a.ductDiameter);
            v.F32("minSupplyTemp", a.minSupplyTemp);
            v.F32("maxUsefulSupplyTemp", a.maxUsefulSupplyTemp);
            v.F32("designFlow", a.designFlow);
            v.F32("heatingEfficiency", a.heatingEfficiency);
            v.F32("indoorTemp", a.indoorTemp);
            v.F32("roofRValue", a.roofRValue);
            v.F32("ceilingTemp", a.ceilingTemp);
            v.F32("exhaustFlow", a.exhaustFlow);
            v.F32("wallRValue", a.wallRValue);
            v.F32("porosityCopy", a.porosityCopy);
            v.F32("ductPressureDrop", a.ductPressureDrop);
        });
        v.Object("collector", [&] {
            auto& c = d.collectors[w];
            v.Int("collectorType", c.collectorType);
            v.F32("collectorWidth", c.collectorWidth);
            v.F32("collectorHeight", c.collectorHeight);
            v.F32("slope", c.slope);
            v.F32("azimuth", c.azimuth);
            v.F32("plenumDepth", c.plenumDepth);
            v.F32("porosity", c.porosity);
            v.F32("windFactor", c.windFactor);
            v.Int("canopyType", c.canopyType);
            v.F32("canopyDepth", c.canopyDepth);
            v.F32("canopyHeight", c.canopyHeight);
            v.Int("bypassType", c.bypassType);
            v.F32("bypassTemp", c.bypassTemp);
            v.Int("numberOfBypassDampers", c.numberOfBypassDampers);
            v.F32("damperWidth", c.damperWidth);
            v.F32("damperHeight", c.damperHeight);
            v.Int("useTestData", c.useTestData);
            v.Int("testDataKind", c.testDataKind);
            v.F32("testFrTauAlpha", c.testFrTauAlpha);
            v.F32("testFrUL", c.testFrUL);
            v.F32("testFlow", c.testFlow);
            v.F32("testArea", c.testArea);
            v.Int("pictureCode", c.pictureCode);
            v.Int("reservedD", c.reservedD);
            v.Int("reservedE", c.reservedE);
            v.Int("reservedF", c.reservedF);
            v.F32("reservedG", c.reservedG);
            v.Int("reservedCost1", c.reservedCost1);
            v.F32("reservedCost2", c.reservedCost2);
            v.F32("reservedCost3", c.reservedCost3);
            v.F32("reservedCost4", c.reservedCost4);
            v.Int("reservedCostB1", c.reservedCostB1);
            v.F32("reservedCostB2", c.reservedCostB2);
            v.Int("reservedCostB3", c.reservedCostB3);
            v.Int("reservedCostB4", c.reservedCostB4);
            v.F32("reservedCostB5", c.reservedCostB5);
            v.F32("reservedCostB6", c.reservedCostB6);
            v.F32("reservedCostB7", c.reservedCostB7);
            v.Int("reservedCostB8", c.reservedCostB8);
            v.F32("reservedCostB9", c.reservedCostB9);
            v.F32("reservedCostB10", c.reservedCostB10);
            v.Int("reservedCostB11", c.reservedCostB11);
        });
    });
    v.Object("economics", [&] {
        auto& e = d.economics;
        v.F64("projectLife", e.projectLife);
        v.F64("inflation", e.inflation);
        v.F64("discountRate", e.discountRate);
        v.F64("debtRatio", e.debtRatio);
        v.F64("debtInterestRate", e.debtInterestRate);
        v.F64("depreciationRate", e.depreciationRate);
        v.F64("debtTerm", e.debtTerm);
        v.F64("grant", e.grant);
        v.F64("corporateTaxRate", e.corporateTaxRate);
        v.Int("fuelCostClassShown", e.fuelCostClassShown);
        v.F64Array("fuelPrice", e.fuelPrice, kEconFuelClasses);
        v.F64("fuelEscalationRate", e.fuelEscalationRate);
        v.Text("tax1Name", e.tax1Name);
        v.F64("tax1Rate", e.tax1Rate);
        v.Text("tax2Name", e.tax2Name);
        v.F64("tax2Rate", e.tax2Rate);
        v.Int("fuelTax1Flag", e.fuelTax1Flag);
        v.Int("fuelTax2Flag", e.fuelTax2Flag);
        v.Object("collector", [&] { QtyItem(v, e.collector); });
        v.Object("collectorInstallation", [&] { LumpItem(v, e.collectorInstallation); });
        v.Object("ducting", [&] { QtyItem(v, e.ducting); });
        v.Int("ductingUnitIndex", e.ductingUnitIndex);
        v.Object("bypassDamper", [&] { QtyItem(v, e.bypassDamper); });
        v.Object("fans", [&] { QtyItem(v, e.fans); });
        v.Object("freight", [&] { LumpItem(v, e.freight); });
        v.Object("mechInstallation", [&] { LumpItem(v, e.mechInstallation); });
        v.Object("overheadProfit", [&] { PercentItem(v, e.overheadProfit); });
        v.Object("engineering", [&] { PercentItem(v, e.engineering); });
        v.Object("creditWallCladding", [&] { QtyItem(v, e.creditWallCladding); });
        v.Object("creditMakeupAir", [&] { QtyItem(v, e.creditMakeupAir); });
        v.Int("creditMakeupAirUnitIndex", e.creditMakeupAirUnitIndex);
        v.Object("creditFreight", [&] { QtyItem(v, e.creditFreight); });
        v.Object("creditInstallation", [&] { QtyItem(v, e.creditInstallation); });
        v.Object("creditOverheadProfit", [&] { PercentItem(v, e.creditOverheadProfit); });
        v.Object("creditEngineering", [&] { PercentItem(v, e.creditEngineering); });
        v.F64Array("reserved", e.reserved, 3);
    });
    v.Object("dealer", [&] {
        auto& r = d.dealer;
        v.Text("address", r.address);
        v.Text("city", r.city);
        v.Text("company", r.company);
        v.Text("country", r.country);
        v.Text("email", r.email);
        v.Text("fax", r.fax);
        v.Text("name", r.name);
        v.Text("postalCode", r.postalCode);
        v.Text("provinceState", r.provinceState);
        v.Text("telephone", r.telephone);
        v.Text("webSite", r.webSite);
    });
}

// ---------------------------------------------------------------------------------------------
// Printing.

// Bytes as JSON string content, each byte taken as the code point of the same value.
std::string Quote(const char* p, std::size_t n) {
    std::string s = "\"";
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(p[i]);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            s += buf;
        } else if (c < 0x80) {
            s += static_cast<char>(c);
        } else {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return s + "\"";
}

template <typename T>
std::string Real(T x, int digits) {
    if (std::isnan(x)) return "\"NaN\"";
    if (std::isinf(x)) return x > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    if (x == 0 && std::signbit(x)) return "-0.0";  // "-0" would read back as the integer 0
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(x));
    return buf;
}

std::string Flags(const std::uint8_t* f, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += f[i] ? '1' : '0';
    return "\"" + s + "\"";
}

class CPrinter {
public:
    std::string out = "{";

    void Info(const char* k, const char* value) { Key(k) += Quote(value, std::strlen(value)); }
    void InfoInt(const char* k, int value) { Key(k) += std::to_string(value); }
    void I16(const char* k, std::int16_t x) { Key(k) += std::to_string(x); }
    void Int(const char* k, std::int32_t x) { Key(k) += std::to_string(x); }
    void F32(const char* k, float x) { Key(k) += Real(x, 9); }
    void F64(const char* k, double x) { Key(k) += Real(x, 17); }
    void F64Array(const char* k, const double* x, int n) {
        std::string& s = Key(k);
        s += "[";
        for (int i = 0; i < n; ++i) s += (i ? ", " : "") + Real(x[i], 17);
        s += "]";
    }
    void Text(const char* k, const std::string& s, std::size_t = 0) { Key(k) += Quote(s.data(), s.size()); }
    template <std::size_t N>
    void Text(const char* k, const char (&s)[N]) { Key(k) += Quote(s, strnlen(s, N)); }
    void Raw(const char* k, const char* p, std::size_t n) { Key(k) += Quote(p, n); }
    void Schedule(const C_Schedule4Occ& s, const CAirSystem&) {
        Int("id", s.id);
        Text("name", s.name);
        Key("halfMonths") += Flags(s.halfMonth, 24);
        std::string& h = Key("hours");
        h += "[";
        for (int i = 0; i < 24; ++i) h += (i ? ", " : "") + Flags(s.hours[i], 7);
        h += "]";
    }
    void Object(const char* k, const std::function<void()>& body) {
        Key(k) += "{";
        Open();
        body();
        Close('}');
    }
    void Array(const char* k, int n, const std::function<void(int)>& body) {
        Key(k) += "[";
        ++m_depth;
        for (int i = 0; i < n; ++i) {
            out += i ? ",\n" : "\n";
            Indent();
            out += "{";
            Open();
            body(i);
            Close('}');
        }
        --m_depth;
        out += "\n";
        Indent();
        out += "]";
    }
    void Finish() {
        out += "\n}\n";
    }

private:
    std::string& Key(const char* k) {
        out += m_first.back() ? "\n" : ",\n";
        m_first.back() = false;
        Indent();
        out += Quote(k, std::strlen(k));
        out += ": ";
        return out;
    }
    void Indent() { out.append(2 * (m_depth + 1), ' '); }
    void Open() {
        ++m_depth;
        m_first.push_back(true);
    }
    void Close(char c) {
        bool empty = m_first.back();
        m_first.pop_back();
        --m_depth;
        if (!empty) {
            out += "\n";
            Indent();
        }
        out += c;
    }
    int m_depth = 0;
    std::vector<bool> m_first{true};
};

// ---------------------------------------------------------------------------------------------
// Reading: every key optional, unknown keys refused (a misspelt key must not be ignored).

class CApplier {
public:
    explicit CApplier(const json& root) { m_stack.push_back({&root, "", {}}); }
    bool ok = true;
    std::string problem;

    void Info(const char* k, const char* value) {
        const json* j = Take(k);
        if (j && !(j->is_string() && j->get<std::string>() == value))
            Fail(k, std::string("must be \"") + value + "\"");
    }
    void InfoInt(const char* k, int) { Take(k); }  // shown for the reader; not applied
    void I16(const char* k, std::int16_t& x) {
        std::int64_t v;
        if (Integer(k, INT16_MIN, INT16_MAX, v)) x = static_cast<std::int16_t>(v);
    }
    void Int(const char* k, std::int32_t& x) {
        std::int64_t v;
        if (Integer(k, INT32_MIN, INT32_MAX, v)) x = static_cast<std::int32_t>(v);
    }
    void F32(const char* k, float& x) {
        const json* j = Take(k);
        double v;
        if (j && Number(k, *j, v)) {
            if (std::isfinite(v) && std::fabs(v) > FLT_MAX)
                Fail(k, "is too large for a 32-bit real");
            else
                x = static_cast<float>(v);
        }
    }
    void F64(const char* k, double& x) {
        const json* j = Take(k);
        double v;
        if (j && Number(k, *j, v)) x = v;
    }
    void F64Array(const char* k, double* x, int n) {
        const json* j = Take(k);
        if (!j) return;
        if (!j->is_array() || j->size() > static_cast<std::size_t>(n)) {
            Fail(k, "must be an array of at most " + std::to_string(n) + " numbers");
            return;
        }
        for (std::size_t i = 0; i < j->size(); ++i) {
            double v;
            if (!Number(std::string(k) + "[" + std::to_string(i) + "]", (*j)[i], v)) return;
            x[i] = v;
        }
    }
    void Text(const char* k, std::string& s, std::size_t maxBytes = kFileMaxCString) {
        std::string bytes;
        if (Bytes(k, bytes, maxBytes)) s = bytes;
    }
    template <std::size_t N>
    void Text(const char* k, char (&s)[N]) {
        std::string bytes;
        if (!Bytes(k, bytes, N - 1)) return;
        if (bytes.find('\0') != std::string::npos) {
            Fail(k, "must not contain a zero character");
            return;
        }
        std::memset(s, 0, N);
        std::memcpy(s, bytes.data(), bytes.size());
    }
    // Fixed raw bytes: a shorter text is padded with zero bytes.
    void Raw(const char* k, char* p, std::size_t n) {
        std::string bytes;
        if (!Bytes(k, bytes, n)) return;
        std::memset(p, 0, n);
        std::memcpy(p, bytes.data(), bytes.size());
    }
    void Schedule(C_Schedule4Occ& s, CAirSystem& air) {
        const json* id = Peek("id");
        bool flagsGiven = Peek("halfMonths") != nullptr || Peek("hours") != nullptr;
        if (id) {
            std::int32_t newId = s.id;
            Int("id", newId);
            if (!ok) return;
            // A built-in id brings its name and flags; a library id is read from the library unless
            // the flags come with it. Given name and flags then override.
            if (s.AssignSchedule(newId) != 0) {
                if (!flagsGiven) {
                    std::string why;
                    if (!C_Schedule4Occ::IsChangable(newId) || s.ReadFromLib(newId, ScheduleLibraryPath(), &why) != 0) {
                        Fail("id", "schedule " + std::to_string(newId) +
                                       " is neither built in nor readable from the schedule library" +
                                       (why.empty() ? "" : " (" + why + ")"));
                        return;
                    }
                }
                s.id = newId;
            }
            air.scheduleId = newId;  // the air system's own "scheduleId", when given, comes later
        }
        Text("name", s.name);
        FlagString("halfMonths", s.halfMonth, 24);
        const json* h = Take("hours");
        if (h) {
            if (!h->is_array() || h->size() != 24) {
                Fail("hours", "must be an array of 24 texts of 7 digits 0 or 1 (Monday..Sunday)");
                return;
            }
            for (int i = 0; i < 24 && ok; ++i)
                FlagValue("hours[" + std::to_string(i) + "]", (*h)[i], s.hours[i], 7);
        }
    }
    void Object(const char* k, const std::function<void()>& body) {
        const json* j = Take(k);
        if (!j || !ok) return;
        if (!j->is_object()) {
            Fail(k, "must be an object");
            return;
        }
        m_stack.push_back({j, Path(k), {}});
        body();
        EndObject();
        m_stack.pop_back();
    }
    void Array(const char* k, int n, const std::function<void(int)>& body) {
        const json* j = Take(k);
        if (!j || !ok) return;
        if (!j->is_array() || j->size() > static_cast<std::size_t>(n)) {
            Fail(k, "must be an array of at most " + std::to_string(n) + " objects");
            return;
        }
        for (std::size_t i = 0; i < j->size() && ok; ++i) {
            std::string at = Path(k) + "[" + std::to_string(i) + "]";
            if (!(*j)[i].is_object()) {
                problem = at + ": must be an object";
                ok = false;
                return;
            }
            m_stack.push_back({&(*j)[i], at, {}});
            body(static_cast<int>(i));
            EndObject();
            m_stack.pop_back();
        }
    }
    void Finish() {
        if (!m_stack.front().node->is_object()) {
            ok = false;
            problem = "the document must be a JSON object";
            return;
        }
        EndObject();
    }

private:
    static constexpr std::size_t kFileMaxCString = 65535;
    struct Level {
        const json* node;
        std::string path;
        std::vector<std::string> seen;
    };

    std::string Path(const std::string& k) const {
        const std::string& base = m_stack.back().path;
        return base.empty() ? k : base + "." + k;
    }
    void Fail(const std::string& k, const std::string& what) {
        if (!ok) return;
        ok = false;
        problem = Path(k) + ": " + what;
    }
    const json* Peek(const char* k) const {
        const json& node = *m_stack.back().node;
        if (!node.is_object()) return nullptr;
        auto it = node.find(k);
        return it == node.end() ? nullptr : &*it;
    }
    const json* Take(const char* k) {
        m_stack.back().seen.emplace_back(k);
        if (!ok) return nullptr;
        return Peek(k);
    }
    void EndObject() {
        if (!ok) return;
        const Level& level = m_stack.back();
        for (auto it = level.node->begin(); it != level.node->end(); ++it) {
            bool known = false;
            for (const std::string& s : level.seen) known = known || s == it.key();
            if (!known) {
                Fail(it.key(), "unknown field");
                return;
            }
        }
    }
    bool Integer(const char* k, std::int64_t lo, std::int64_t hi, std::int64_t& v) {
        const json* j = Take(k);
        if (!j) return false;
        if (j->is_number_integer() || j->is_number_unsigned()) {
            if (j->is_number_unsigned() && j->get<std::uint64_t>() > static_cast<std::uint64_t>(hi)) {
                Fail(k, "is out of range");
                return false;
            }
            v = j->get<std::int64_t>();
            if (v >= lo && v <= hi) return true;
            Fail(k, "is out of range");
            return false;
        }
        Fail(k, "must be a whole number");
        return false;
    }
    bool Number(const std::string& k, const json& j, double& v) {
        if (j.is_number()) {
            v = j.get<double>();
            return true;
        }
        if (j.is_string()) {
            const std::string& s = j.get_ref<const std::string&>();
            if (s == "NaN") v = std::numeric_limits<double>::quiet_NaN();
            else if (s == "Infinity") v = std::numeric_limits<double>::infinity();
            else if (s == "-Infinity") v = -std::numeric_limits<double>::infinity();
            else {
                Fail(k, "must be a number");
                return false;
            }
            return true;
        }
        Fail(k, "must be a number");
        return false;
    }
    // A JSON text as stored bytes: every character must be U+0000..U+00FF.
    bool Bytes(const char* k, std::string& bytes, std::size_t maxBytes) {
        const json* j = Take(k);
        if (!j) return false;
        if (!j->is_string()) {
            Fail(k, "must be a text");
            return false;
        }
        const std::string& u = j->get_ref<const std::string&>();
        bytes.clear();
        for (std::size_t i = 0; i < u.size();) {
            unsigned char c = static_cast<unsigned char>(u[i]);
            if (c < 0x80) {
                bytes += static_cast<char>(c);
                ++i;
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < u.size()) {
                bytes += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(u[i + 1]) & 0x3F));
                i += 2;
            } else {
                Fail(k, "has a character that cannot be stored (only U+0000..U+00FF)");
                return false;
            }
        }
        if (bytes.size() > maxBytes) {
            Fail(k, "is longer than " + std::to_string(maxBytes) + " characters");
            return false;
        }
        return true;
    }
    bool FlagValue(const std::string& k, const json& j, std::uint8_t* out, int n) {
        if (!j.is_string() || j.get_ref<const std::string&>().size() != static_cast<std::size_t>(n)) {
            Fail(k, "must be a text of " + std::to_string(n) + " digits 0 or 1");
            return false;
        }
        const std::string& s = j.get_ref<const std::string&>();
        std::uint8_t tmp[24];
        for (int i = 0; i < n; ++i) {
            if (s[i] != '0' && s[i] != '1') {
                Fail(k, "must be a text of " + std::to_string(n) + " digits 0 or 1");
                return false;
            }
            tmp[i] = static_cast<std::uint8_t>(s[i] - '0');
        }
        std::memcpy(out, tmp, n);
        return true;
    }
    void FlagString(const char* k, std::uint8_t* out, int n) {
        const json* j = Take(k);
        if (j) FlagValue(k, *j, out, n);
    }

    std::vector<Level> m_stack;
};
}  // namespace

std::string ProjectToJson(const CHalvo98Doc& doc) {
    CPrinter p;
    Fields(p, doc);
    p.Finish();
    return p.out;
}

bool ApplyProjectJson(CHalvo98Doc& doc, const std::string& jsonText, std::string& problem) {
    json root;
    try {
        root = json::parse(jsonText);
    } catch (const json::exception& e) {  // syntax errors and numbers beyond 64-bit range
        problem = std::string("not valid JSON: ") + e.what();
        return false;
    }
    CApplier a(root);
    if (!root.is_object()) {
        problem = "the document must be a JSON object";
        return false;
    }
    Fields(a, doc);
    a.Finish();
    if (!a.ok) {
        problem = a.problem;
        return false;
    }
    for (int w = 0; w < kWallCount; ++w)
        doc.schedules[w].Convert2BOOLs(doc.airSystems[w].halfMonthOperation, doc.airSystems[w].hourlyOperation);
    return true;
}
