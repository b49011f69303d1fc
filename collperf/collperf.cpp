// Exported entry points of the collector performance library: validation, failure values, the order
// of the model steps, and the status texts. Nothing here keeps state or allocates.
#include "collperf/collperf.h"

#include <cmath>
#include <cstring>

#include "collperf/air_props.h"
#include "collperf/backpass.h"
#include "collperf/model_common.h"
#include "collperf/transpired.h"

using namespace collperf;

namespace {

// A result the caller did not ask for (null address) is simply dropped.
inline void Put(double* dst, double v)
{
    if (dst)
        *dst = v;
}

struct Results {
    double* QColl;
    double* TColl;
    double* PressDrop;
    double* Eff;
    double* FanPower;
    double* QRad;
    double* QConv;
    double* TSkyView;
    double* TPlate;
};

void WriteFailure(const Results& r, double tAmb, double pressExtra)
{
    Put(r.QColl, 0.0);
    Put(r.TColl, tAmb);
    Put(r.PressDrop, pressExtra);
    Put(r.Eff, 0.0);
    Put(r.FanPower, 0.0);
    Put(r.QRad, 0.0);
    Put(r.QConv, 0.0);
    Put(r.TSkyView, kNoTemperature);
    Put(r.TPlate, kNoTemperature);
}

template <typename Thermal>
void WriteSuccess(const Results& r, const Thermal& th, double pressDrop, double fanPower)
{
    Put(r.QColl, th.QColl);
    Put(r.TColl, th.TColl);
    Put(r.PressDrop, pressDrop);
    Put(r.Eff, th.Eff);
    Put(r.FanPower, fanPower);
    Put(r.QRad, th.QRad);
    Put(r.QConv, th.QConv);
    Put(r.TSkyView, th.TSkyView);
    Put(r.TPlate, th.TPlate);
}

// Checks shared by both models, in their fixed order; returns 1 or the failing status. The air
// property fits end at 200 K, so an ambient between -100 C and -73.15 C, which the range test lets
// through, is refused as a bad temperature too rather than computed from fits that answer -1.
int ValidateCommon(double tAmb, double humRatio, double areaFactor, double clearness, double qSol, double qSolMax)
{
    if (!InRange(tAmb, -100.0, 120.0) || KinViscosity(tAmb) < 0.0)
        return COLLPERF_ERR_TEMPERATURE;
    if (!InRange(humRatio, 0.0, 0.05))
        return COLLPERF_ERR_HUMIDITY;
    if (!InRange(areaFactor, 1.0, 1.7))
        return COLLPERF_ERR_AREA_FACTOR;
    if (!InRange(clearness, 0.0, 1.0))
        return COLLPERF_ERR_CLEARNESS;
    if (!InRange(qSol, 0.0, qSolMax))
        return COLLPERF_ERR_SOLAR;
    return COLLPERF_OK;
}

struct StatusRow {
    int status;
    const char* text;
};

constexpr StatusRow kTpTexts[] = {
    {-1, "Maximium iterations reached in function TP_Performance.  Results are suspect!  Call for Technical Assistance."},
    {-2, "Maximium iterations reached in function TranspiraEff.  Results are suspect!  Call for Technical Assistance."},
    {-3, "Bad Temperature Value passed.  Results are suspect!  Call for Technical Assistance."},
    {-4, "Bad Humidity Ratio passed.  Results are suspect!  Call for Technical Assistance."},
    {-10, "Bad Area Correction Factor passed.  Results are suspect!  Call for Technical Assistance."},
    {-11, "Flow Rate to Wall Area too Large!!!!!.  Results are suspect!  Call for Technical Assistance."},
    {-12, "Bad Slope passed.  Results are suspect!  Call for Technical Assistance."},
    {-21, "Bad Clearness Value passed.  Results are suspect!  Call for Technical Assistance."},
    {-22, "Bad Solar Radiation passed.  Results are suspect!  Call for Technical Assistance."},
};

constexpr StatusRow kBpTexts[] = {
    {-1, "Reynold Number is too High in function BackPlateCollEff.  Results are suspect!  Call for Technical Assistance."},
    {-2, "Maximium iterations reached in function BackPlateCollEff.  Results are suspect!  Call for Technical Assistance."},
    {-3, "Bad Temperature Value passed.  Results are suspect!  Call for Technical Assistance."},
    {-4, "Bad Humidity Ratio passed.  Results are suspect!  Call for Technical Assistance."},
    {-10, "Bad Area Correction Factor passed.  Results are suspect!  Call for Technical Assistance."},
    {-12, "Bad Slope passed.  Results are suspect!  Call for Technical Assistance."},
    {-21, "Bad Clearness Value passed.  Results are suspect!  Call for Technical Assistance."},
    {-22, "Bad Solar Radiation passed.  Results are suspect!  Call for Technical Assistance."},
};

template <size_t N>
bool CopyStatusText(const StatusRow (&rows)[N], int status, char* buffer, size_t capacity)
{
    for (const StatusRow& row : rows) {
        if (row.status != status)
            continue;
        const size_t len = std::strlen(row.text);
        if (!buffer || capacity <= len)
            return false;
        std::memcpy(buffer, row.text, len + 1);
        return true;
    }
    return false;
}

}  // namespace

extern "C" {

COLLPERF_API int TP_Performance(double TAmb, double HumRatio, double VWind, double Height, double Width,
                                double PlenumDepth, double AreaFactor, double Slope, double Flow,
                                double Clearness, double QSol, int16_t Hour, uint16_t Elevation,
                                double PressExtra, double HolePitch, double PitchFactor, double HoleDiam,
                                double Porosity, double Thickness, double Absorptance, double Emittance,
                                double TSky, double TSkyView, double QLongwave, double HConv,
                                double* FlowMalCorr, double* QColl, double* TColl, double* PressDrop,
                                double* Eff, double* FanPower, double* QRad, double* QConv,
                                double* TSkyViewResult, double* TPlate)
{
    const Results res{QColl, TColl, PressDrop, Eff, FanPower, QRad, QConv, TSkyViewResult, TPlate};

    const int status = ValidateCommon(TAmb, HumRatio, AreaFactor, Clearness, QSol, 2000.0);
    if (status != COLLPERF_OK) {
        WriteFailure(res, TAmb, PressExtra);
        Put(FlowMalCorr, kNoFlowMalCorr);
        return status;
    }
    if (HumRatio < 1e-6)
        HumRatio = 0.0005;

    // The correction factor scales the air-side heat transfer, so only a positive value means
    // anything. The not-supplied marker, the hourly "not applicable" -9.9, zero and negatives all
    // mean "no correction". The model's own maldistribution estimate is not fed back here.
    const double given = FlowMalCorr ? *FlowMalCorr : 0.0;
    const double f = (std::isfinite(given) && given > 0.0) ? given : 1.0;

    const TpInputs in{TAmb, HumRatio, VWind, Height, Width, PlenumDepth, AreaFactor, Slope,
                      Flow, Clearness, QSol, Hour, AtmPressure(Elevation), HolePitch, PitchFactor,
                      HoleDiam, Porosity, Thickness, Absorptance, Emittance, TSky, TSkyView,
                      QLongwave, HConv};

    // Convergence is reported apart from the efficiency, so a genuine efficiency however negative
    // (a trace of sun on a plate below ambient) is never mistaken for a failed iteration.
    TpThermal th;
    if (!TranspiraEff(in, f, th)) {
        WriteFailure(res, TAmb, PressExtra);
        Put(FlowMalCorr, kNoFlowMalCorr);
        return COLLPERF_ERR_ITERATION;
    }
    const double dp = TranspiraPressDrop(in, th.TColl);
    WriteSuccess(res, th, dp, (dp + PressExtra) * Flow);
    Put(FlowMalCorr, f);
    return COLLPERF_OK;
}

COLLPERF_API int BP_Performance(double TAmb, double HumRatio, double VWind, double Height, double Width,
                                double PlenumDepth, double AreaFactor, double Slope, double Flow,
                                double Clearness, double QSol, int16_t Hour, uint16_t Elevation,
                                double PressExtra, double TInlet, bool Glazed, double Absorptance,
                                double Emittance, double Transmittance, double TSky, double TSkyView,
                                double QLongwave, double HConv, double* QColl, double* TColl,
                                double* PressDrop, double* Eff, double* FanPower, double* QRad,
                                double* QConv, double* TSkyViewResult, double* TPlate)
{
    const Results res{QColl, TColl, PressDrop, Eff, FanPower, QRad, QConv, TSkyViewResult, TPlate};

    const int status = ValidateCommon(TAmb, HumRatio, AreaFactor, Clearness, QSol, 1400.0);
    if (status != COLLPERF_OK) {
        WriteFailure(res, TAmb, PressExtra);
        return status;
    }
    if (HumRatio < 1e-6)
        HumRatio = 0.0001;

    const BpInputs in{TAmb, HumRatio, VWind, Height, Width, PlenumDepth, Slope, Flow, Clearness, QSol,
                      Hour, AtmPressure(Elevation), TInlet, Glazed, Absorptance, Emittance, Transmittance,
                      TSky, TSkyView, QLongwave, HConv};

    // The balance reports its failures apart from the efficiency, so an inlet well above ambient
    // with little sun, whose efficiency is strongly negative, still reports its computed results.
    BpThermal th;
    switch (BackPlateCollEff(in, th)) {
    case BpBalance::ReynoldsTooHigh:
        WriteFailure(res, TAmb, PressExtra);
        return COLLPERF_ERR_REYNOLDS;
    case BpBalance::NotConverged:
        WriteFailure(res, TAmb, PressExtra);
        return COLLPERF_ERR_ITERATION;
    case BpBalance::Ok:
        break;
    }
    const double dp = BackPlatePressDrop(in);
    WriteSuccess(res, th, dp, (dp + PressExtra) * Flow);
    return COLLPERF_OK;
}

COLLPERF_API bool TP_StatusText(int status, char* buffer, size_t capacity)
{
    return CopyStatusText(kTpTexts, status, buffer, capacity);
}

COLLPERF_API bool BP_StatusText(int status, char* buffer, size_t capacity)
{
    return CopyStatusText(kBpTexts, status, buffer, capacity);
}

}  // extern "C"
