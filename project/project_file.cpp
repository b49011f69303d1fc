#include "project/project_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "project/doc.h"
#include "project/maker/file.h"
#include "project/messages.h"

namespace {
constexpr char kHeader13[] = "Halvo File Ver 1.3 ";
constexpr std::size_t kHeaderBytes = 19;
constexpr std::size_t kHeaderCompared = 18;
constexpr std::size_t kTaxNameStored = 5;  // bytes of the zero-terminated name that are stored

// Reads the layout into a record, stopping at the first failure. After a failure no field is
// touched again, so nothing unread is ever used; the caller throws the scratch record away.
class CReader {
public:
    explicit CReader(CFile& f) : m_f(f) {}
    bool ok = true;
    std::string problem;

    void Block(const char* name) { m_block = name; }
    void I16(std::int16_t& v) { Need(2) && Check(FILE_ReadI16(m_f, v) == 0); }
    void I32(std::int32_t& v) { Need(4) && Check(FILE_ReadI32(m_f, v) == 0); }
    void F32(float& v) { Need(4) && Check(FILE_ReadF32(m_f, v) == 0); }
    void F64(double& v) { Need(8) && Check(FILE_ReadF64(m_f, v) == 0); }
    void Skip32() {
        std::int32_t ignored;
        I32(ignored);
    }
    void Raw(char* p, std::size_t n) { Need(n) && Check(FILE_Read(m_f, p, n, 0) == 0); }
    // A fixed-size text field: the text ends at the first zero byte or at the field's end.
    void Fixed(std::string& s, std::size_t n) {
        std::string buf(n, '\0');
        if (!(Need(n) && Check(FILE_Read(m_f, buf.data(), n, 0) == 0))) return;
        s.assign(buf.c_str(), strnlen(buf.c_str(), n));
    }
    void CString(std::string& s) {
        if (!Need(4)) return;
        std::size_t at = m_f.Position();
        if (FILE_ReadCString(m_f, s) != 0) Fail("corrupt text item at byte " + std::to_string(at));
    }
    void TaxName(char (&name)[kEconTaxNameMax + 1]) {
        std::int32_t len = 0;
        char stored[kTaxNameStored] = {};
        std::size_t at = m_f.Position();
        I32(len);
        Raw(stored, kTaxNameStored);
        if (!ok) return;
        if (len < 0 || len > 255) {
            Fail("corrupt tax name length " + std::to_string(len) + " at byte " + std::to_string(at));
            return;
        }
        // A longer name written elsewhere has no terminator inside its stored bytes: cut it to what
        // fits, never reading past the stored bytes.
        std::size_t n = strnlen(stored, kTaxNameStored);
        if (n > static_cast<std::size_t>(len)) n = static_cast<std::size_t>(len);
        if (n > kEconTaxNameMax) n = kEconTaxNameMax;
        std::memset(name, 0, sizeof name);
        std::memcpy(name, stored, n);
    }
    template <typename R>
    void Record(R& r) {
        if (!ok) return;
        std::size_t at = m_f.Position();
        if (r.Read4File(m_f) != 0) {
            // A record cannot tell a damaged length from a cut: name both.
            if (m_f.Remaining() == 0)
                Fail("the file ends inside the " + m_block + " (at byte " + std::to_string(m_f.Position()) + ")");
            else
                Fail("the record at byte " + std::to_string(at) + " of the " + m_block +
                     " is damaged or the file ends inside it");
        }
    }

private:
    bool Need(std::size_t n) {
        if (!ok) return false;
        if (m_f.Remaining() < n) {
            Fail("the file ends inside the " + m_block + " (at byte " + std::to_string(m_f.Position() + m_f.Remaining()) +
                 ")");
            return false;
        }
        return true;
    }
    bool Check(bool good) {
        if (!good) Fail("read error in the " + m_block);
        return good;
    }
    void Fail(std::string what) {
        if (ok) problem = std::move(what);
        ok = false;
    }
    CFile& m_f;
    std::string m_block;
};

// Writes the layout; mirror of CReader with the same call sequence.
class CWriter {
public:
    explicit CWriter(CFile& f) : m_f(f) {}
    bool ok = true;

    void Block(const char*) {}
    void I16(std::int16_t v) { ok = ok && FILE_WriteI16(m_f, v) == 0; }
    void I32(std::int32_t v) { ok = ok && FILE_WriteI32(m_f, v) == 0; }
    void F32(float v) { ok = ok && FILE_WriteF32(m_f, v) == 0; }
    void F64(double v) { ok = ok && FILE_WriteF64(m_f, v) == 0; }
    void Raw(const char* p, std::size_t n) { ok = ok && FILE_Write(m_f, p, n) == 0; }
    // The text, then zero bytes to the field's end; a text longer than the field is cut.
    void Fixed(const std::string& s, std::size_t n) {
        std::string buf(n, '\0');
        std::memcpy(buf.data(), s.data(), s.size() < n ? s.size() : n);
        Raw(buf.data(), n);
    }
    void CString(const std::string& s) { ok = ok && FILE_WriteCString(m_f, s) == 0; }
    void TaxName(const char (&name)[kEconTaxNameMax + 1]) {
        std::size_t n = strnlen(name, kEconTaxNameMax);
        char stored[kTaxNameStored] = {};
        std::memcpy(stored, name, n);
        I32(static_cast<std::int32_t>(n));
        Raw(stored, kTaxNameStored);
    }
    template <typename R>
    void Record(const R& r) {
        ok = ok && r.Write2File(m_f) == 0;
    }

private:
    CFile& m_f;
};

// The parts of the layout shared by reader and writer. `Doc` is CHalvo98Doc (reading) or const
// CHalvo98Doc (writing); the IO decides the direction.
template <typename IO, typename Item>
void QtyItem(IO& io, Item& it) {
    io.I32(it.tax1Flag);
    io.I32(it.tax2Flag);
    io.F64(it.quantity);
    io.F64(it.unitCost);
    io.F64(it.amount);
}
template <typename IO, typename Item>
void LumpItem(IO& io, Item& it) {
    io.I32(it.tax1Flag);
    io.I32(it.tax2Flag);
    io.F64(it.cost);
    io.F64(it.amount);
}
template <typename IO, typename Item>
void PercentItem(IO& io, Item& it) {
    io.I32(it.tax1Flag);
    io.I32(it.tax2Flag);
    io.F64(it.percent);
    io.F64(it.lumpSum);
    io.F64(it.amount);
    io.I32(it.lumpSumFlag);
}

template <typename IO, typename Doc>
void Body(IO& io, Doc& d, std::int32_t version) {
    io.Block("project header");
    io.I16(d.applicationType);
    io.I32(d.unitsFlag);
    io.I32(d.currency);
    for (auto& p : d.wallPresent) io.I32(p);

    io.Block("location block");
    auto& loc = d.location;
    io.Fixed(loc.weatherFile, kWeatherFileBytes);
    io.I16(loc.stationCode);
    io.Fixed(loc.stationName, kStationNameBytes);
    io.Raw(loc.regionCode, kRegionCodeChars);
    io.Raw(loc.latitudeText, kLatitudeTextChars);
    io.Raw(loc.longitudeText, kLongitudeTextChars);
    io.F32(loc.elevation);
    io.F32(loc.dryBulb[0][0]);

    io.Block("client block");
    io.Record(d.client);
    io.Block("schedule block");
    for (auto& s : d.schedules) io.Record(s);

    io.Block("air system block");
    for (int i = 0; i < kWallCount; ++i) {
        auto& a = d.airSystems[i];
        std::int32_t index = i;
        io.I32(index);  // the wall index is written for the reader's eyes only
        io.I32(a.reservedA);
        io.F32(a.wallRValue);
        io.F64(a.outsideAirPercent);
        io.I32(a.motorEfficiencyClass);
        io.I32(a.fanEfficiencyClass);
        io.I32(a.heatingFuel);
        io.I32(a.scheduleId);
        io.I32(a.exhaustFanLocation);
        io.I32(a.numberOfFans);
        io.F32(a.ductPressureDrop);
        io.I32(a.flowStraightener);
        io.I32(a.taperedInlet);
        io.I32(a.reservedB);
        io.I32(a.reservedC);
        io.F32(a.roofRValue);
        io.F32(a.ceilingTemp);
        io.F32(a.ductLength);
        io.F32(a.ductDiameter);
        io.F32(a.minSupplyTemp);
        io.F32(a.maxUsefulSupplyTemp);
        io.F32(a.designFlow);
        io.F32(a.heatingEfficiency);
        io.F32(a.indoorTemp);
        io.F32(a.exhaustFlow);
        io.F32(a.porosityCopy);
    }

    io.Block("collector block");
    for (int i = 0; i < kWallCount; ++i) {
        auto& c = d.collectors[i];
        std::int32_t index = i;
        io.I32(index);
        io.I32(c.pictureCode);
        io.I32(c.collectorType);
        io.F32(c.collectorWidth);
        io.F32(c.collectorHeight);
        io.F32(c.slope);
        io.F32(c.azimuth);
        io.F32(c.windFactor);
        io.F32(c.plenumDepth);
        io.I32(c.reservedE);
        io.F32(c.porosity);
        io.I32(c.reservedF);
        io.I32(c.reservedD);
        io.F32(c.canopyDepth);
        io.F32(c.canopyHeight);
        io.F32(c.reservedG);
        io.I32(c.canopyType);
        io.I32(c.reservedCost1);
        io.F32(c.reservedCost2);
        io.F32(c.reservedCost3);
        io.F32(c.reservedCost4);
        // Reserved cost block 2 in its stored order 1, 2, 10, 3, 4, 11, 6, 7, 8, 9, 5.
        io.I32(c.reservedCostB1);
        io.F32(c.reservedCostB2);
        io.F32(c.reservedCostB10);
        io.I32(c.reservedCostB3);
        io.I32(c.reservedCostB4);
        io.I32(c.reservedCostB11);
        io.F32(c.reservedCostB6);
        io.F32(c.reservedCostB7);
        io.I32(c.reservedCostB8);
        io.F32(c.reservedCostB9);
        io.F32(c.reservedCostB5);
        io.I32(c.bypassType);
        io.F32(c.damperWidth);
        io.I32(c.numberOfBypassDampers);
        io.F32(c.damperHeight);
        io.F32(c.bypassTemp);
        io.F32(c.testFrTauAlpha);
        io.F32(c.testFrUL);
        io.F32(c.testFlow);
        io.I32(c.testDataKind);
        io.I32(c.useTestData);
        if (version >= kFileVersion13) io.F32(c.testArea);
    }

    io.Block("economic block");
    auto& e = d.economics;
    for (auto& r : e.reserved) io.F64(r);
    io.F64(e.projectLife);
    io.F64(e.inflation);
    io.F64(e.discountRate);
    io.F64(e.debtRatio);
    io.F64(e.debtInterestRate);
    io.F64(e.depreciationRate);
    io.F64(e.debtTerm);
    io.F64(e.grant);
    io.F64(e.corporateTaxRate);
    io.I32(e.fuelCostClassShown);
    for (auto& p : e.fuelPrice) io.F64(p);
    io.F64(e.fuelEscalationRate);
    io.F64(e.tax1Rate);
    io.F64(e.tax2Rate);
    io.I32(e.fuelTax1Flag);
    io.I32(e.fuelTax2Flag);
    io.TaxName(e.tax1Name);
    io.TaxName(e.tax2Name);
    QtyItem(io, e.collector);
    LumpItem(io, e.collectorInstallation);
    QtyItem(io, e.ducting);
    io.I32(e.ductingUnitIndex);
    QtyItem(io, e.bypassDamper);
    QtyItem(io, e.fans);
    LumpItem(io, e.freight);
    LumpItem(io, e.mechInstallation);
    PercentItem(io, e.overheadProfit);
    PercentItem(io, e.engineering);
    QtyItem(io, e.creditWallCladding);
    QtyItem(io, e.creditMakeupAir);
    io.I32(e.creditMakeupAirUnitIndex);
    QtyItem(io, e.creditFreight);
    QtyItem(io, e.creditInstallation);
    PercentItem(io, e.creditOverheadProfit);
    PercentItem(io, e.creditEngineering);

    io.Block("dealer block");
    for (int i = 0; i < C_Doc4Dealer::kFieldCount; ++i) io.CString(d.dealer.Field(i));
}

// Takes over every stored field of `src` (a project just read) into `doc`; fields the file does
// not hold (path, flags, hourly weather, results) stay as they were.
void AdoptStoredFields(CHalvo98Doc& doc, const CHalvo98Doc& src) {
    doc.applicationType = src.applicationType;
    doc.unitsFlag = src.unitsFlag;
    doc.currency = src.currency;
    for (int i = 0; i < kWallCount; ++i) doc.wallPresent[i] = src.wallPresent[i];
    CLocationData& l = doc.location;
    const CLocationData& s = src.location;
    l.weatherFile = s.weatherFile;
    l.stationCode = s.stationCode;
    l.stationName = s.stationName;
    std::memcpy(l.regionCode, s.regionCode, sizeof l.regionCode);
    std::memcpy(l.latitudeText, s.latitudeText, sizeof l.latitudeText);
    std::memcpy(l.longitudeText, s.longitudeText, sizeof l.longitudeText);
    l.elevation = s.elevation;
    l.dryBulb[0][0] = s.dryBulb[0][0];
    doc.client = src.client;
    for (int i = 0; i < kWallCount; ++i) {
        doc.schedules[i] = src.schedules[i];
        doc.airSystems[i] = src.airSystems[i];
        doc.collectors[i] = src.collectors[i];
        // The operation tables are not stored: they come from the wall's schedule record.
        doc.schedules[i].Convert2BOOLs(doc.airSystems[i].halfMonthOperation, doc.airSystems[i].hourlyOperation);
    }
    doc.economics = src.economics;
    doc.dealer = src.dealer;
}

int ReadOpen(CHalvo98Doc& doc, CFile& file, const std::string& name, CMessenger& msg, std::string* problem) {
    auto report = [&](int code, const std::string& what) {
        if (problem) *problem = what;
        return code;
    };
    char header[kHeaderBytes] = {};
    std::size_t got = file.Remaining() < kHeaderBytes ? file.Remaining() : kHeaderBytes;
    if (FILE_Read(file, header, got, 0) != 0) return report(kReadCorrupt, "read error in the header");
    std::int32_t version = 0;
    if (got >= kHeaderCompared && std::memcmp(header, "Halvo File Ver 1.2", kHeaderCompared) == 0)
        version = kFileVersion12;
    else if (got >= kHeaderCompared && std::memcmp(header, "Halvo File Ver 1.3", kHeaderCompared) == 0)
        version = kFileVersion13;
    if (version == 0) {
        msg.Show("Invalid Halvo File", kProgramCaption, MsgIcon::Warning, MsgButtons::Ok);
        return report(kReadBadHeader, "not a Halvo project file (Invalid Halvo File)");
    }

    auto scratch = std::make_unique<CHalvo98Doc>();
    CReader reader(file);
    if (got < kHeaderBytes) {
        reader.Block("header");
        std::int16_t dummy;
        reader.I16(dummy);  // reports the early end in the usual words
    } else {
        Body(reader, *scratch, version);
    }
    // Bytes after the dealer block are left unread: the layout ends there.
    if (!reader.ok) {
        msg.Show("The file " + name + " cannot be read: " + reader.problem + ". The project was not changed.",
                 kProgramCaption, MsgIcon::Warning, MsgButtons::Ok);
        return report(kReadCorrupt, reader.problem);
    }
    AdoptStoredFields(doc, *scratch);
    doc.fileVersion = version;
    doc.resultsValid = 0;
    return kReadOk;
}
}  // namespace

int ReadProject(CHalvo98Doc& doc, const std::string& path, CMessenger& msg, std::string* problem) {
    if (path.empty()) {
        doc.fileVersion = 0;
        return kReadOk;
    }
    CFile file;
    if (FILE_Open(file, path, 0, 0) != 0 || GEN_GetRetCode() != 0) {
        if (problem) *problem = std::string("cannot open the file: ") + std::strerror(errno);
        return kReadCannotOpen;
    }
    return ReadOpen(doc, file, path, msg, problem);
}

int ReadProjectBytes(CHalvo98Doc& doc, const void* data, std::size_t size, const std::string& name,
                     CMessenger& msg, std::string* problem) {
    CFile file;
    FILE_OpenMemory(file, data, size, name);
    return ReadOpen(doc, file, name, msg, problem);
}

int OpenProject(CHalvo98Doc& doc, const std::string& path, CMessenger& msg, std::string* problem) {
    doc.pathName = path;
    int rc = ReadProject(doc, path, msg, problem);
    if (rc == kReadOk && !path.empty())
        doc.SetModifiedFlag(false);
    else
        doc.pathName.clear();
    return rc;
}

namespace {
// The bytes of the version 1.3 layout; false when an item cannot be written (a text item longer
// than the file library stores), in which case `out` is incomplete.
bool BuildProjectFileBytes(const CHalvo98Doc& doc, std::vector<unsigned char>& out) {
    out.clear();
    CFile file;
    FILE_OpenMemoryWrite(file, out);
    CWriter writer(file);
    writer.ok = FILE_WriteStr(file, std::string_view(kHeader13, kHeaderBytes)) == 0;
    Body(writer, doc, kFileVersion13);
    FILE_Close(file);
    return writer.ok;
}
}  // namespace

std::vector<unsigned char> ProjectFileBytes(const CHalvo98Doc& doc) {
    std::vector<unsigned char> out;
    BuildProjectFileBytes(doc, out);
    return out;
}

bool WriteProjectFile(const CHalvo98Doc& doc, const std::string& path, std::string* problem) {
    auto fail = [&](const std::string& what) {
        if (problem) *problem = what;
        return false;
    };
    std::vector<unsigned char> bytes;
    if (!BuildProjectFileBytes(doc, bytes))
        return fail("a text item is longer than " + std::to_string(kFileMaxCStringBytes) + " bytes");
    std::string why;
    if (FILE_ReplaceContents(path, bytes.data(), bytes.size(), why) != 0) return fail(why);
    return true;
}

ESaveResult WriteProject(CHalvo98Doc& doc, CMessenger& msg) {
    if (doc.pathName.empty()) return ESaveResult::NoPath;
    if (doc.fileVersion < kFileVersion13) {
        std::string q = "The file " + doc.pathName + " " +
                        "was originally created with a previous version of Halvo.\nIf you save over the " +
                        "orginal file then older versions of Halvo will not be able to open it." +
                        "\n\n\t\t\t\t          Continue?";
        if (msg.Show(q, kProgramCaption, MsgIcon::Question, MsgButtons::OkCancel) != MsgAnswer::Ok)
            return ESaveResult::Cancelled;
    }
    std::string problem;
    if (!WriteProjectFile(doc, doc.pathName, &problem)) {
        msg.Show("The file " + doc.pathName + " could not be saved: " + problem + ".", kProgramCaption,
                 MsgIcon::Error, MsgButtons::Ok);
        return ESaveResult::Failed;
    }
    doc.fileVersion = kFileVersion13;
    doc.SetModifiedFlag(false);
    return ESaveResult::Saved;
}

bool SaveModified(CHalvo98Doc& doc, CMessenger& msg, const std::function<bool(CHalvo98Doc&)>& saveAs) {
    if (!doc.IsModified()) return true;
    MsgAnswer a = msg.Show("The current file has been changed, do you wish to save your changes? ",
                           "Halvo 99 - Save Changes?", MsgIcon::Question, MsgButtons::YesNo);
    if (a == MsgAnswer::No) {
        doc.SetModifiedFlag(false);
        return true;
    }
    switch (WriteProject(doc, msg)) {
    case ESaveResult::Saved: return true;
    case ESaveResult::NoPath: return saveAs && saveAs(doc) && !doc.IsModified();
    default: return false;  // cancelled or failed: keep the project open rather than lose it
    }
}

bool AcceptProjectFileName(const std::string& path, CMessenger& msg) {
    std::size_t dot = path.rfind('.');
    if (dot != std::string::npos) {
        std::string ext = path.substr(dot + 1);
        if (ext.size() == 3 && (ext[0] | 0x20) == 'h' && (ext[1] | 0x20) == 'v' && (ext[2] | 0x20) == 'f')
            return true;
    }
    std::string text = "You indicated:\n\"" + path + "\"\nas the data-file to work with.\nData-files must end in \".HVF\"!";
    msg.Show(text, kProgramCaption, MsgIcon::Warning, MsgButtons::Ok);
    return false;
}

std::string WithDefaultProjectExtension(const std::string& path) {
    std::size_t sep = path.find_last_of("/\\");
    std::size_t start = sep == std::string::npos ? 0 : sep + 1;
    if (path.find('.', start) != std::string::npos || start == path.size()) return path;
    return path + ".HVF";
}
