// The project file: layout, round trip, version 1.2, refusals and damaged files.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "project/doc.h"
#include "project/maker/file.h"
#include "project/messages.h"
#include "project/project_file.h"
#include "project/tests/fixtures.h"

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace {
constexpr std::size_t kCollectorBlock13 = 43 * 4;
constexpr std::size_t kAirBlock = 25 * 4 + 8;
constexpr std::size_t kEconomicBlock = 678;

std::unique_ptr<CHalvo98Doc> Filled() {
    auto d = std::make_unique<CHalvo98Doc>();
    FillEveryStoredField(*d);
    return d;
}

std::size_t DealerBytes(const CHalvo98Doc& d) {
    std::size_t n = 0;
    for (int i = 0; i < C_Doc4Dealer::kFieldCount; ++i) n += 4 + d.dealer.Field(i).size();
    return n;
}
// Offsets counted back from the end, where every block has a fixed size.
std::size_t EconomicStart(const Bytes& b, const CHalvo98Doc& d) { return b.size() - DealerBytes(d) - kEconomicBlock; }
std::size_t CollectorStart(const Bytes& b, const CHalvo98Doc& d) {
    return EconomicStart(b, d) - 4 * kCollectorBlock13;
}
std::size_t AirStart(const Bytes& b, const CHalvo98Doc& d) { return CollectorStart(b, d) - 4 * kAirBlock; }

template <typename T>
T At(const Bytes& b, std::size_t off) {
    T v;
    std::memcpy(&v, b.data() + off, sizeof v);  // the build machine is little-endian, as the file
    return v;
}

// A version 1.2 file of the same project: other header, no test area in the collector blocks.
Bytes AsVersion12(const Bytes& b13, const CHalvo98Doc& d) {
    Bytes b = b13;
    std::memcpy(b.data(), "Halvo File Ver 1.2 ", 19);
    std::size_t coll = CollectorStart(b13, d);
    for (int w = 3; w >= 0; --w) {
        std::size_t area = coll + w * kCollectorBlock13 + 42 * 4;
        b.erase(b.begin() + area, b.begin() + area + 4);
    }
    return b;
}

int Read(CHalvo98Doc& d, const Bytes& b, CMessenger& msg, std::string* problem = nullptr) {
    // An exactly sized heap copy, so a read past the end is caught by the address sanitizer.
    std::unique_ptr<unsigned char[]> copy(new unsigned char[b.size() ? b.size() : 1]);
    if (!b.empty()) std::memcpy(copy.get(), b.data(), b.size());
    return ReadProjectBytes(d, copy.get(), b.size(), "test.hvf", msg, problem);
}
}  // namespace

TEST(ProjectFile, LayoutOfTheBlocks) {
    auto d = Filled();
    Bytes b = ProjectFileBytes(*d);
    ASSERT_EQ(std::string(b.begin(), b.begin() + 19), "Halvo File Ver 1.3 ");
    EXPECT_EQ(At<std::int16_t>(b, 19), 2);
    EXPECT_EQ(At<std::int32_t>(b, 21), 0);   // units
    EXPECT_EQ(At<std::int32_t>(b, 25), 2);   // currency
    EXPECT_EQ(At<std::int32_t>(b, 29 + 8), 1);
    EXPECT_EQ(At<std::int32_t>(b, 29 + 12), 0);
    // Location block at 45: 255-byte path padded with zeros, station code, 100-byte name, ...
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 45)), "\\Weather\\Canada\\Toronto.wsw");
    for (std::size_t i = 45 + d->location.weatherFile.size(); i < 45 + 255; ++i) ASSERT_EQ(b[i], 0) << i;
    EXPECT_EQ(At<std::int16_t>(b, 300), 7);
    EXPECT_EQ(std::memcmp(b.data() + 402, "ON", 2), 0);
    EXPECT_EQ(std::memcmp(b.data() + 404, "N 43 40", 8), 0);
    EXPECT_EQ(At<float>(b, 424), 173.0f);
    EXPECT_EQ(At<float>(b, 428), -6.5f);

    std::size_t air = AirStart(b, *d);
    for (int w = 0; w < 4; ++w) {
        EXPECT_EQ(At<std::int32_t>(b, air + w * kAirBlock), w);  // wall index
        EXPECT_EQ(At<float>(b, air + w * kAirBlock + 8), d->airSystems[w].wallRValue);
        EXPECT_EQ(At<double>(b, air + w * kAirBlock + 12), d->airSystems[w].outsideAirPercent);
        EXPECT_EQ(At<float>(b, air + w * kAirBlock + 104), d->airSystems[w].porosityCopy);
    }
    std::size_t coll = CollectorStart(b, *d);
    const CCollectorSpec& c = d->collectors[1];
    std::size_t c1 = coll + kCollectorBlock13;
    EXPECT_EQ(At<std::int32_t>(b, c1 + 4 * 9), c.reservedE);
    EXPECT_EQ(At<std::int32_t>(b, c1 + 4 * 12), c.reservedD);
    // Reserved cost block 2 is stored in the order 1, 2, 10, 3, 4, 11, 6, 7, 8, 9, 5.
    EXPECT_EQ(At<std::int32_t>(b, c1 + 4 * 21), c.reservedCostB1);
    EXPECT_EQ(At<float>(b, c1 + 4 * 23), c.reservedCostB10);
    EXPECT_EQ(At<std::int32_t>(b, c1 + 4 * 26), c.reservedCostB11);
    EXPECT_EQ(At<float>(b, c1 + 4 * 31), c.reservedCostB5);
    EXPECT_EQ(At<float>(b, c1 + 4 * 42), c.testArea);

    std::size_t econ = EconomicStart(b, *d);
    EXPECT_EQ(At<double>(b, econ + 24), d->economics.projectLife);
    EXPECT_EQ(At<std::int32_t>(b, econ + 96), 3);  // fuel cost class shown
    EXPECT_EQ(At<std::int32_t>(b, econ + 180), 4);  // Tax 1 name length, then 5 bytes
    EXPECT_EQ(std::memcmp(b.data() + econ + 184, "HSTX\0", 5), 0);
    EXPECT_EQ(At<std::int32_t>(b, econ + 189), 1);
    EXPECT_EQ(std::memcmp(b.data() + econ + 193, "Q\0\0\0\0", 5), 0);
}

TEST(ProjectFile, EveryStoredFieldSurvivesARoundTrip) {
    auto d = Filled();
    Bytes b = ProjectFileBytes(*d);
    CScriptedMessenger msg;
    auto r = std::make_unique<CHalvo98Doc>();
    r->resultsValid = 1;
    ASSERT_EQ(Read(*r, b, msg), kReadOk);
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_EQ(r->fileVersion, kFileVersion13);
    EXPECT_EQ(r->resultsValid, 0);
    EXPECT_EQ(ProjectFileBytes(*r), b);
    EXPECT_EQ(r->location, d->location);
    for (int w = 0; w < 4; ++w) {  // absent wall 4 included
        EXPECT_EQ(r->airSystems[w], d->airSystems[w]) << w;
        EXPECT_EQ(r->collectors[w], d->collectors[w]) << w;
        EXPECT_EQ(r->schedules[w], d->schedules[w]) << w;
    }
    EXPECT_EQ(r->client, d->client);
    EXPECT_EQ(r->dealer, d->dealer);
    EXPECT_STREQ(r->economics.tax1Name, "HSTX");
    EXPECT_EQ(r->economics.creditEngineering.lumpSumFlag, 1);
}

TEST(ProjectFile, SaveThroughATemporaryFileGivesTheSameBytes) {
    auto d = Filled();
    fs::path dir = fs::current_path() / "save";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string path = (dir / "p.hvf").string();
    { std::ofstream(path) << "previous"; }
    std::string problem;
    ASSERT_TRUE(WriteProjectFile(*d, path, &problem)) << problem;
    std::ifstream in(path, std::ios::binary);
    Bytes onDisk((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(onDisk, ProjectFileBytes(*d));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temp left

    // A target that cannot be replaced (a folder) fails, keeps what was there and leaves no temp.
    fs::create_directories(dir / "busy.hvf" / "x");
    EXPECT_FALSE(WriteProjectFile(*d, (dir / "busy.hvf").string(), &problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_TRUE(fs::is_directory(dir / "busy.hvf" / "x"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);

    // A text the file cannot hold fails the save rather than writing a cut file.
    auto tooLong = Filled();
    tooLong->dealer.webSite.assign(kFileMaxCStringBytes + 1, 'w');
    EXPECT_FALSE(WriteProjectFile(*tooLong, path, &problem));
    EXPECT_NE(problem.find("longer than"), std::string::npos) << problem;
    std::ifstream kept(path, std::ios::binary);
    EXPECT_EQ(Bytes((std::istreambuf_iterator<char>(kept)), {}), ProjectFileBytes(*d));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST(ProjectFile, Version12KeepsDefaultTestAreaAndAsksBeforeSaving) {
    auto d = Filled();
    Bytes b12 = AsVersion12(ProjectFileBytes(*d), *d);
    CScriptedMessenger msg;
    auto r = std::make_unique<CHalvo98Doc>();
    ASSERT_EQ(Read(*r, b12, msg), kReadOk);
    EXPECT_EQ(r->fileVersion, kFileVersion12);
    for (int w = 0; w < 4; ++w) {
        EXPECT_EQ(r->collectors[w].testArea, 50.0f);
        EXPECT_EQ(r->collectors[w].useTestData, d->collectors[w].useTestData);  // the item before it
    }
    EXPECT_EQ(r->dealer, d->dealer);

    fs::path path = fs::current_path() / "old.hvf";
    { std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b12.data()), b12.size()); }
    r->pathName = path.string();
    r->modified = true;
    msg.SetNextAnswer(MsgAnswer::Cancel);
    EXPECT_EQ(WriteProject(*r, msg), ESaveResult::Cancelled);
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.shown[0].text, "The file " + path.string() +
                                     " was originally created with a previous version of Halvo.\nIf you save over "
                                     "the orginal file then older versions of Halvo will not be able to open "
                                     "it.\n\n\t\t\t\t          Continue?");
    EXPECT_EQ(msg.shown[0].caption, "Halvo");
    EXPECT_EQ(msg.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(fs::file_size(path), b12.size());  // untouched
    EXPECT_TRUE(r->modified);

    msg.SetNextAnswer(MsgAnswer::Ok);
    EXPECT_EQ(WriteProject(*r, msg), ESaveResult::Saved);
    EXPECT_FALSE(r->modified);
    auto again = std::make_unique<CHalvo98Doc>();
    again->modified = true;
    ASSERT_EQ(OpenProject(*again, path.string(), msg), kReadOk);
    EXPECT_EQ(again->pathName, path.string());
    EXPECT_FALSE(again->modified);
    EXPECT_EQ(again->fileVersion, kFileVersion13);
    EXPECT_EQ(again->collectors[2].testArea, 50.0f);
    std::size_t asked = msg.shown.size();
    EXPECT_EQ(WriteProject(*again, msg), ESaveResult::Saved);
    EXPECT_EQ(msg.shown.size(), asked);  // a 1.3 project saves without the question
}

TEST(ProjectFile, UnknownHeaderIsRefusedAndChangesNothing) {
    auto d = Filled();
    Bytes before = ProjectFileBytes(*d);
    for (const char* header : {"Halvo File Ver 1.4 ", "Halvo File Ver 1.", "halvo file ver 1.3 ", ""}) {
        Bytes b = ProjectFileBytes(CHalvo98Doc());
        std::size_t n = std::strlen(header);
        b.erase(b.begin(), b.begin() + 19);
        b.insert(b.begin(), header, header + n);
        CScriptedMessenger msg;
        EXPECT_EQ(Read(*d, b, msg), kReadBadHeader) << header;
        ASSERT_EQ(msg.shown.size(), 1u);
        EXPECT_EQ(msg.shown[0].text, "Invalid Halvo File");
        EXPECT_EQ(msg.shown[0].icon, MsgIcon::Warning);
        EXPECT_EQ(ProjectFileBytes(*d), before);
    }
}

TEST(ProjectFile, MissingFileAndEmptyPath) {
    CScriptedMessenger msg;
    CHalvo98Doc d;
    d.fileVersion = 1030;
    d.pathName = "/old.hvf";
    EXPECT_EQ(OpenProject(d, (fs::current_path() / "no such.hvf").string(), msg), kReadCannotOpen);
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_TRUE(d.pathName.empty());
    EXPECT_EQ(d.fileVersion, 1030);
    EXPECT_EQ(ReadProject(d, "", msg), kReadOk);
    EXPECT_EQ(d.fileVersion, 0);
}

TEST(ProjectFile, LongTaxNameWrittenElsewhereIsCutToItsStoredBytes) {
    auto d = Filled();
    Bytes b = ProjectFileBytes(*d);
    std::size_t econ = EconomicStart(b, *d);
    // Tax 1 name "ABCDEFG": length 7, its first 5 bytes without a terminator.
    std::int32_t len = 7;
    std::memcpy(b.data() + econ + 180, &len, 4);
    std::memcpy(b.data() + econ + 184, "ABCDE", 5);
    CScriptedMessenger msg;
    auto r = std::make_unique<CHalvo98Doc>();
    ASSERT_EQ(Read(*r, b, msg), kReadOk);
    EXPECT_STREQ(r->economics.tax1Name, "ABCD");
    EXPECT_STREQ(r->economics.tax2Name, "Q");
}

TEST(ProjectFile, CorruptTextLengthIsReportedWithTheFileName) {
    auto d = Filled();
    Bytes b = ProjectFileBytes(*d);
    std::size_t dealer = b.size() - DealerBytes(*d);
    std::int32_t huge = 0x7fffffff;
    std::memcpy(b.data() + dealer, &huge, 4);
    auto r = std::make_unique<CHalvo98Doc>();
    Bytes before = ProjectFileBytes(*r);
    CScriptedMessenger msg;
    std::string problem;
    EXPECT_EQ(Read(*r, b, msg, &problem), kReadCorrupt);
    EXPECT_NE(problem.find("corrupt text item"), std::string::npos) << problem;
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_NE(msg.shown[0].text.find("test.hvf"), std::string::npos);
    EXPECT_EQ(ProjectFileBytes(*r), before);
}

// A file cut at every length is refused without touching the project; random byte changes never
// crash the reader or make it read past the end (run under the sanitizers).
TEST(ProjectFile, CutAndDamagedFiles) {
    auto d = Filled();
    Bytes full = ProjectFileBytes(*d);
    auto r = std::make_unique<CHalvo98Doc>();
    r->location.weatherFile = "keep me";
    Bytes before = ProjectFileBytes(*r);
    for (std::size_t n = 0; n < full.size(); ++n) {
        CScriptedMessenger msg;
        Bytes cut(full.begin(), full.begin() + n);
        int rc = Read(*r, cut, msg);
        ASSERT_TRUE(rc == kReadCorrupt || (n < 18 && rc == kReadBadHeader)) << n;
        ASSERT_EQ(msg.shown.size(), 1u);
        ASSERT_EQ(ProjectFileBytes(*r), before) << n;
    }
    std::mt19937 rng(20261211);
    auto t = std::make_unique<CHalvo98Doc>();
    auto u = std::make_unique<CHalvo98Doc>();
    for (int iter = 0; iter < 1500; ++iter) {
        Bytes b = full;
        int changes = 1 + static_cast<int>(rng() % 4);
        for (int c = 0; c < changes; ++c) b[rng() % b.size()] = static_cast<unsigned char>(rng());
        if (rng() % 4 == 0) b.resize(rng() % b.size());
        CScriptedMessenger msg;
        if (Read(*t, b, msg) == kReadOk) {
            Bytes again = ProjectFileBytes(*t);
            ASSERT_EQ(Read(*u, again, msg), kReadOk);
            ASSERT_EQ(ProjectFileBytes(*u), again);
        }
    }
}

TEST(ProjectFile, SaveModifiedAndTheChoosersExtensionRule) {
    auto d = Filled();
    d->pathName = (fs::current_path() / "close.hvf").string();
    fs::remove(d->pathName);
    d->fileVersion = kFileVersion13;
    d->modified = true;
    CScriptedMessenger msg;
    msg.SetNextAnswer(MsgAnswer::No);
    EXPECT_TRUE(SaveModified(*d, msg));
    EXPECT_FALSE(d->modified);
    EXPECT_FALSE(fs::exists(d->pathName));
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.shown[0].text, "The current file has been changed, do you wish to save your changes? ");
    EXPECT_EQ(msg.shown[0].caption, "Halvo 99 - Save Changes?");
    EXPECT_EQ(msg.shown[0].buttons, MsgButtons::YesNo);
    d->modified = true;
    EXPECT_TRUE(SaveModified(*d, msg));  // Yes
    EXPECT_TRUE(fs::exists(d->pathName));
    EXPECT_FALSE(d->modified);
    d->pathName.clear();
    d->modified = true;
    EXPECT_FALSE(SaveModified(*d, msg));  // no path and no Save As: stays open

    struct Case { const char* path; bool accepted; };
    const Case cases[] = {{"/a/p.hvf", true}, {"/a/P.HVF", true}, {"/a/p.Hvf", true}, {"/a/p.hvf.bak", false},
                          {"/a/noext", false}, {"/a.hvf/p", false}};
    for (const Case& c : cases) {
        CScriptedMessenger m;
        EXPECT_EQ(AcceptProjectFileName(c.path, m), c.accepted) << c.path;
        EXPECT_EQ(m.shown.size(), c.accepted ? 0u : 1u);
        if (!c.accepted) {
            EXPECT_EQ(m.shown[0].text, std::string("You indicated:\n\"") + c.path +
                                           "\"\nas the data-file to work with.\nData-files must end in \".HVF\"!");
        }
    }
    EXPECT_EQ(WithDefaultProjectExtension("/a/p"), "/a/p.HVF");
    EXPECT_EQ(WithDefaultProjectExtension("/a.b/p"), "/a.b/p.HVF");
    EXPECT_EQ(WithDefaultProjectExtension("/a/p.bak"), "/a/p.bak");
}
