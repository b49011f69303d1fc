// The wall heat balance. The collector physics come from collperf (transpired and back-pass models),
// from the collector's test coefficients (Hottel-Whillier-Bliss form with the flow-rate correction of
// Duffie and Beckman, Solar Engineering of Thermal Processes, ch. 6), or from values imposed hour by
// hour through the alternate input. Air is taken at 1 kJ/(kg K): a temperature rise is kJ/h / kg/h.

#include "engine/sim/heat_balance.h"

#include <cmath>

#include "collperf/collperf.h"
#include "engine/sim/alt_values.h"

namespace {

constexpr double kFlowEps = 1e-7;

void WriteSentinels(CWallRun& r) {
    r.QRad = kNoCollector;
    r.QConv = kNoCollector;
    r.TSkyView = kNoCollector;
    r.TPlate = kNoCollector;
    r.FlowMalCorr = kNotApplicable;
}

// kg/h of air to the m3/s the collector models take (at a fixed 1.2 kg/m3).
double ModelFlow(double kgPerHour) { return kgPerHour / 3600.0 / 1.2; }

struct CCallResult {
    double qColl = 0, tColl = 0, qRad = 0, qConv = 0, tSkyView = kNoCollector, tPlate = kNoCollector;
    double flowMalCorr = kNotApplicable;
    int status = 1;
};

struct COptional {
    double tSky, tSkyView, qLongwave, hConv, flowMalCorr;
};

struct CGeometry {
    double height, width, depth, absorptance, emittance;
};

CCallResult CallTranspired(const CWallRun& r, const CGeometry& g, double flowKgH, const COptional& o) {
    CCallResult c;
    double press = 0, eff = 0, fan = 0;
    c.flowMalCorr = o.flowMalCorr;
    c.status = TP_Performance(r.TAmb, r.HumRatio, r.VWindSite, g.height, g.width, g.depth, 1.1, r.Slope,
                              ModelFlow(flowKgH), r.Clearness, r.QSol,
                              static_cast<std::int16_t>(r.Hour - 1),
                              static_cast<std::uint16_t>(r.Elevation), r.PressExtra, r.HolePitch,
                              r.PitchFactor, 1.6, r.Porosity, r.Thickness, g.absorptance, g.emittance,
                              o.tSky, o.tSkyView, o.qLongwave, o.hConv, &c.flowMalCorr, &c.qColl,
                              &c.tColl, &press, &eff, &fan, &c.qRad, &c.qConv, &c.tSkyView, &c.tPlate);
    return c;
}

CCallResult CallBackPass(const CWallRun& r, const CGeometry& g, double flowKgH, double tInlet,
                         bool glazed, const COptional& o) {
    CCallResult c;
    double press = 0, eff = 0, fan = 0;
    c.status = BP_Performance(r.TAmb, r.HumRatio, r.VWindSite, g.height, g.width, g.depth, 1.1, r.Slope,
                              ModelFlow(flowKgH), r.Clearness, r.QSol,
                              static_cast<std::int16_t>(r.Hour - 1),
                              static_cast<std::uint16_t>(r.Elevation), r.PressExtra, tInlet, glazed,
                              g.absorptance, g.emittance, 0.8, o.tSky, o.tSkyView, o.qLongwave, o.hConv,
                              &c.qColl, &c.tColl, &press, &eff, &fan, &c.qRad, &c.qConv, &c.tSkyView,
                              &c.tPlate);
    // The back-pass model has no maldistribution factor.
    c.flowMalCorr = kNotApplicable;
    return c;
}

CCallResult CallKind(const CWallRun& r, int kind, const CGeometry& g, double flowKgH, double tInlet,
                     const COptional& o) {
    if (kind == 2 || kind == 3) return CallBackPass(r, g, flowKgH, tInlet, kind == 3, o);
    return CallTranspired(r, g, flowKgH, o);
}

// Case B: the collector's test coefficients, corrected to the hour's flow.
void TestCoefficients(CWallRun& r) {
    const double A = r.CollArea;
    if (r.FlowColl > kFlowEps && A > 0) {
        const double cu = r.FlowColl / 3.6;  // W/K
        double frta = r.TestFRta;
        double frul = r.TestFRUL;
        if (r.TestDataKind == 5002) {
            const double k = 1.0 + A * frul / (2.0 * cu);
            frta /= k;
            frul /= k;
        } else if (r.TestDataKind == 5003) {
            const double k = 1.0 + A * frul / cu;
            frta /= k;
            frul /= k;
        }
        // Flow-rate correction. Where the test flow cannot carry the stated loss (the logarithm's
        // argument is not positive) or there is no loss at all, no correction is applied.
        const double ct = r.TestFlow * r.AirDensity;  // W/K
        const double at = r.TestArea;
        double ratio = 1.0;
        const double arg = ct > 0 ? 1.0 - frul * A / ct : -1.0;
        if (arg > 0 && at > 0) {
            const double fpul = -(ct / A) * std::log(arg);
            if (fpul > 0) {
                const double num = (cu / (A * fpul)) * (1.0 - std::exp(-A * fpul / cu));
                const double den = (ct / (at * fpul)) * (1.0 - std::exp(-at * fpul / ct));
                if (den > 0 && std::isfinite(num / den)) ratio = num / den;
            }
        }
        frta *= ratio;
        r.QColl = static_cast<float>(A * r.QSol * frta * 3.6);
        r.TColl = r.TAmb + r.QColl / r.FlowColl;
    } else {
        r.QColl = 0;
        r.TColl = r.TAmb;
    }
    WriteSentinels(r);
}

// Case D: the physical collector models, main collector then canopy.
void PhysicalModels(CWallRun& r) {
    if (r.AreaMain + r.AreaCanopy <= 0) {
        r.QColl = 0;
        r.TColl = r.TAmb;
        WriteSentinels(r);
        return;
    }
    // Without sun the closing steps clear QColl and form TColl from the recapture alone, so the models'
    // only lasting results would be the loss and surface temperatures, which nothing but the hourly
    // output reads. Half the hours of a year (and most trial flows of the mixing searches) are dark:
    // the call is skipped there unless those columns are being written.
    if (r.QSol <= 0 && !r.HourlyOutputActive) {
        r.QColl = 0;
        r.TColl = r.TAmb;
        WriteSentinels(r);
        return;
    }
    const double flowMain = r.FlowColl * r.AreaMain / (r.AreaMain + r.AreaCanopy);
    const double flowCanopy = r.FlowColl - flowMain;
    COptional o{kNotSuppliedHourly, kNotSuppliedHourly, kNotSuppliedHourly, kNotSuppliedHourly,
                kNotSuppliedHourly};
    if (r.AltInputActive) {
        o.tSky = AltValue(r, EAlt::TSky);
        o.tSkyView = AltValue(r, EAlt::TSkyView);
        o.qLongwave = AltValue(r, EAlt::TLongwave);
        o.hConv = AltValue(r, EAlt::HConv);
        o.flowMalCorr = AltValue(r, EAlt::FlowMalCorr);
    }
    const CGeometry main{r.CollHeight, r.CollWidth, r.PlenumDepth, r.MainAbsorptance, r.MainEmittance};
    const CGeometry canopy{r.CanopyHeight, r.CanopyWidth, r.CanopyDepth, r.CanopyAbsorptance,
                           r.CanopyEmittance};
    const bool mainKnown = r.MainKind >= 1 && r.MainKind <= 3;

    CCallResult calls[2];
    int n = 0;
    switch (r.CanopyKind) {
    case 0:
        calls[n++] = CallKind(r, r.MainKind, main, r.FlowColl, r.TAmb, o);
        break;
    case 1:
        if (!mainKnown) break;
        calls[n++] = CallKind(r, r.MainKind, main, flowMain, r.TAmb, o);
        calls[n++] = CallTranspired(r, canopy, flowCanopy, o);
        break;
    case 2:
    case 3:
        if (!mainKnown) break;
        calls[n++] = CallKind(r, r.MainKind, main, flowMain, r.TAmb, o);
        calls[n++] = CallBackPass(r, canopy, flowCanopy, calls[0].tColl, r.CanopyKind == 3, o);
        break;
    default:
        break;
    }
    if (n == 0) {
        r.QColl = 0;
        r.TColl = r.TAmb;
        WriteSentinels(r);
        return;
    }
    double q = 0, qRad = 0, qConv = 0;
    for (int i = 0; i < n; ++i) {
        q += calls[i].qColl * 3.6;
        qRad += calls[i].qRad * 3.6;
        qConv += calls[i].qConv * 3.6;
    }
    const CCallResult& last = calls[n - 1];
    r.QColl = static_cast<float>(q);
    r.QRad = static_cast<float>(qRad);
    r.QConv = static_cast<float>(qConv);
    r.TSkyView = last.tSkyView;
    r.TPlate = last.tPlate;
    r.FlowMalCorr = last.flowMalCorr;
    r.CollStatus = last.status;
    r.TColl = static_cast<float>(last.tColl);
}

}  // namespace

float InsulationGain(const CWallRun& r) {
    if (r.UAWall <= 0 || r.CollArea <= 0) return 0.0f;
    const double ua = r.UAWall;
    return static_cast<float>((ua / 3.6 - 1.0 / (3.6 / ua + 0.33 / r.CollArea)) * 3.6 *
                              (r.TFloor - r.TAmb));
}

void WallHeatBalance(CWallRun& r) {
    const bool alt = r.AltInputActive != 0;
    const bool flowing = r.FlowColl > kFlowEps;

    // A. Imposed collector outlet temperature.
    if (alt) {
        const double tcoll = AltValue(r, EAlt::TColl);
        if (AltGiven(tcoll)) {
            r.TColl = static_cast<float>(tcoll);
            const double twall = AltValue(r, EAlt::TWall);
            if (!flowing) {
                r.QRecap = InsulationGain(r);
                r.QColl = 0;
            } else if (AltGiven(twall)) {
                r.TWall = static_cast<float>(twall);
                r.QRecap = 0.6f * r.UAWall * (r.TFloor - r.TWall);
                r.QColl = (r.TColl - r.TAmb) * r.FlowColl - r.QRecap;
            } else {
                const float f = r.FlowColl, ua = r.UAWall;
                const float tp = (5 * f * r.TColl + ua * r.TAmb - 3 * ua * r.TFloor) / (5 * f - 2 * ua);
                r.QColl = (tp - r.TAmb) * f;
                r.QRecap = (r.TColl - r.TAmb) * f - r.QColl;
            }
            WriteSentinels(r);
            return;
        }
    }

    if (r.UseTestData == 1) {
        TestCoefficients(r);        // B
    } else if (!flowing) {
        r.QColl = 0;                // C
        r.TColl = r.TAmb;
        WriteSentinels(r);
    } else {
        PhysicalModels(r);          // D
    }

    // E. Closing steps.
    if (r.QSol <= 0) r.QColl = 0;
    if (r.FlowColl > 0) {
        r.TColl = r.TAmb + r.QColl / r.FlowColl;
        const double twall = alt ? AltValue(r, EAlt::TWall) : kNotSuppliedHourly;
        if (r.TAmb > r.TBypass) {
            r.QRecap = InsulationGain(r);
        } else if (AltGiven(twall)) {
            r.TWall = static_cast<float>(twall);
            r.QRecap = 0.6f * r.UAWall * (r.TFloor - r.TWall);
        } else {
            // The wall sees the collector air two thirds of the way from ambient to the outlet.
            const float f = r.FlowColl, ua = r.UAWall;
            r.QRecap = (r.TFloor - r.TAmb - 2 * r.QColl / (3 * f)) * ua / (2 * ua / (3 * f) + 1);
            if (ua > 0) r.TWall = (ua * r.TFloor - r.QRecap) / ua;
        }
    } else {
        r.QRecap = InsulationGain(r);
        r.TColl = r.TAmb;
    }
    if (r.TBuilding < r.TAmb) r.QRecap = 0;
    if (r.AppType == 3) r.QRecap = 0;
    r.TColl = r.FlowColl > 0 ? r.TAmb + (r.QRecap + r.QColl) / r.FlowColl : r.TAmb;
}
