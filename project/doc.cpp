#include "project/doc.h"

#include <cstdio>
#include <memory>

#include "project/maker/file.h"
#include "project/messages.h"
#include "project/project_file.h"

namespace {
std::string Format(const char* fmt, int a) {
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, a);
    return buf;
}
std::string Format(const char* fmt, int a, int b) {
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}
}  // namespace

const char* ApplicationTypeName(int type) {
    switch (type) {
    case kAppDestratMakeup: return "Destratification & Makeup Air Heater";
    case kAppVentilationPreheat: return "Ventilation Air Preheater";
    case kAppProcessAir: return "Process Air Heater";
    default: return "";
    }
}

int CHalvo98Doc::WallCount() const {
    int n = 0;
    for (std::int32_t p : wallPresent)
        if (p == 1) ++n;
    return n;
}

bool CHalvo98Doc::NewProject(CMessenger& msg) {
    // Every field back to its record default first: a document may be reused for a new project.
    // The fresh copy lives on the heap: a document is too large for a small thread stack.
    *this = *std::make_unique<CHalvo98Doc>();
    pathName.clear();
    applicationType = kAppDestratMakeup;
    wallPresent[0] = 1;
    wallPresent[1] = wallPresent[2] = wallPresent[3] = 0;

    CAirSystem& air = airSystems[0];
    air.motorEfficiencyClass = 0;
    air.fanEfficiencyClass = 0;
    air.heatingFuel = 0;
    air.scheduleId = 0;
    air.exhaustFanLocation = 0;
    air.reservedA = 0;
    air.numberOfFans = 1;
    air.flowStraightener = 0;
    air.taperedInlet = 0;

    collectors[0].reservedD = 0;
    collectors[0].reservedE = 0;
    collectors[0].canopyType = 0;

    location.weatherFile.clear();

    schedules[0].AssignSchedule(0);
    schedules[0].Convert2BOOLs(air.halfMonthOperation, air.hourlyOperation);

    std::string folder, templatePath;
    FILE_GetModulePathName(folder);
    FILE_PathFile(templatePath, folder, kTemplateFileName);
    if (!FILE_FileExists(templatePath) || ReadProject(*this, FILE_HostPath(templatePath), msg) != kReadOk)
        fileVersion = kFileVersion13;
    SetModifiedFlag(true);
    return true;
}

void CHalvo98Doc::CopyWall(int fromIndex, int toIndex) {
    if (fromIndex == toIndex) return;
    airSystems[toIndex] = airSystems[fromIndex];
    collectors[toIndex] = collectors[fromIndex];
    schedules[toIndex] = schedules[fromIndex];
}

int CHalvo98Doc::AddWall(int selectedWall, CMessenger& msg) {
    int n = WallCount();
    if (n >= kWallCount) {
        msg.Show(std::string("Halvo can only model four walls. ") + "Addition of another wall is not allowed.",
                 kProgramCaption, MsgIcon::Information, MsgButtons::Ok);
        return selectedWall;
    }
    if (selectedWall < 1 || selectedWall > n) return selectedWall;
    std::string question = Format("The new wall, Wall %d, ", n + 1) +
                           Format("will be based on the currently selected wall, Wall %d.", selectedWall);
    if (msg.Show(question, kProgramCaption, MsgIcon::Question, MsgButtons::OkCancel) != MsgAnswer::Ok)
        return selectedWall;
    wallPresent[n] = 1;
    CopyWall(selectedWall - 1, n);
    return n + 1;
}

int CHalvo98Doc::RemoveWall(int selectedWall, CMessenger& msg) {
    int n = WallCount();
    if (n <= 1) {
        msg.Show("You must have at least one wall.", kProgramCaption, MsgIcon::Information, MsgButtons::Ok);
        return selectedWall;
    }
    int s = selectedWall;
    if (s < 1 || s > n) return selectedWall;
    std::string question = Format("Are you sure you want to delete Wall %d? ", s);
    int k = n - s;
    if (k > 0) {
        question += "This action will copy";
        for (int j = 0; j < k; ++j) {
            question += (k < 2 || k - j > 1) ? "," : " and";
            question += Format(" Wall %d to Wall %d", s + j + 1, s + j);
        }
        question += ".";
    }
    if (msg.Show(question, kProgramCaption, MsgIcon::Question, MsgButtons::OkCancel) != MsgAnswer::Ok)
        return selectedWall;
    for (int w = s; w < n; ++w) CopyWall(w, w - 1);  // wall w+1 (index w) to wall w (index w-1)
    for (int i = 0; i < kWallCount; ++i) wallPresent[i] = i < n - 1 ? 1 : 0;
    return s < n - 1 ? s : n - 1;
}

float PorosityRule(float designFlowLps, float collectorHeight, float collectorWidth) {
    // Single precision throughout, as the stored values are: the thresholds are met exactly as the
    // design program always met them.
    float area = collectorHeight * collectorWidth;
    float x = designFlowLps / area;
    if (x > 35.0f) return 0.01f;
    if (x > 25.0f) return 0.005f;
    return 0.0025f;
}

const char* PorosityRuleName(float porosity) {
    if (porosity == 0.01f) return "High  ";
    if (porosity == 0.005f) return "Medium";
    return "Low   ";
}

void CHalvo98Doc::SelectPorosity(int wall) {
    if (wall < 1 || wall > kWallCount) return;
    CCollectorSpec& c = collectors[wall - 1];
    c.porosity = PorosityRule(airSystems[wall - 1].designFlow, c.collectorHeight, c.collectorWidth);
}

std::string CurrencySymbol(int index) {
    switch (index) {
    case 0: return "$";
    case 1: return "\xC2\xA5";  // YEN SIGN
    case 2: return "\xC2\xA3";  // POUND SIGN
    default: return "";
    }
}
