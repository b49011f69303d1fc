// The application models and the hourly steps they share (reset, skip, indoor temperature, supply
// flow and fan energy, the day and night split).

#include "engine/sim/app_models.h"

#include <cmath>

#include "engine/sim/alt_values.h"
#include "engine/sim/heat_balance.h"
#include "engine/sim/run_wall.h"

namespace {

constexpr float kFlowEps = 1e-7f;

inline float Max0(float v) { return v < 0 ? 0.0f : v; }

// Values of the hour's alternate input the models read; all "not given" without one.
struct CAltHour {
    double simulate = -9999.0, tfloor = -9999.0, fsupply = -9999.0, fcoll = -9999.0, bypass = -9999.0;
    double fracfresh = -9999.0, tceiling = -9999.0, trecirc = -9999.0, fexhaust = -9999.0;
    double texhaust = -9999.0;
};

CAltHour ReadAltHour(const CWallRun& r) {
    CAltHour a;
    if (!r.AltInputActive) return a;
    a.simulate = AltValue(r, EAlt::Simulate);
    a.tfloor = AltValue(r, EAlt::TFloor);
    a.fsupply = AltValue(r, EAlt::FSupply);
    a.fcoll = AltValue(r, EAlt::FColl);
    a.bypass = AltValue(r, EAlt::Bypass);
    a.fracfresh = AltValue(r, EAlt::FracFresh);
    a.tceiling = AltValue(r, EAlt::TCeiling);
    a.trecirc = AltValue(r, EAlt::TRecirc);
    a.fexhaust = AltValue(r, EAlt::FExhaust);
    a.texhaust = AltValue(r, EAlt::TExhaust);
    return a;
}

// S1. The reset of the hour's model results.
void ResetHour(CWallRun& r) {
    r.QColl = r.QFan = r.FlowColl = r.QBase = r.QSolOp = r.QRecap = r.QDestrat = r.QAux = 0;
    r.DayFraction = r.NightFraction = r.QRecapDay = r.QSolarDay = r.QSolarNight = 0;
    r.FlowDay = r.FlowNight = r.QBaseDay = r.QBaseNight = 0;
    r.FlowExhaust = r.FracFresh = r.TCeiling = r.TRecirc = r.TFloor = r.TWall = r.TExhaust = kNotComputed;
    r.Bypass = kNotApplicable;
}

// S2. An hour the alternate input marks as not simulated keeps the reset values.
bool SkipHour(const CWallRun& r, const CAltHour& a) {
    return r.AltInputActive && AltGiven(a.simulate) && CompareTol(a.simulate, 0.0) == 0;
}

// S3.
void SetFloor(CWallRun& r, const CAltHour& a) {
    r.TFloor = AltGiven(a.tfloor) ? static_cast<float>(a.tfloor) : r.TBuilding;
}

// S4. `flagsOnFan`: the fan energy follows the operation flags (ventilation and process models);
// the destratification model charges the design fan energy every hour.
void SupplyFlow(CWallRun& r, const CAltHour& a, bool flagsOnFan) {
    const float fanAll = WallFanEnergy(r);
    if (AltGiven(a.fsupply)) {
        const float fs = static_cast<float>(a.fsupply);
        r.FlowSupply = fs * r.AirDensity * 3.6f;
        r.QFan = r.FlowDesign > 0 ? fs * 3.6f * r.AirDensity / r.FlowDesign * fanAll : 0.0f;
    } else {
        const int on = r.HourOperation[r.Hour][r.Weekday] * r.DayOperation[r.Day];
        r.FlowSupply = static_cast<float>(on) * r.FlowDesign;
        r.QFan = flagsOnFan ? static_cast<float>(on) * fanAll : fanAll;
    }
}

// S5.
void FormFanRise(CWallRun& r) {
    r.FanRise = r.FlowSupply > kFlowEps ? r.QFan / r.FlowSupply : 0.0f;
}

// S9. `process`: the process air heater counts no recaptured heat in the day and night solar rise.
void DayNightSplit(CWallRun& r, bool process) {
    const float d = DaylightFraction(r.DayLengthHours[r.Day], r.Hour);
    r.DayFraction = d;
    r.NightFraction = 1 - d;
    r.QRecapDay = r.QRecap * d;
    if (r.FlowSupply > kFlowEps) {
        r.QSolarDay = process ? r.QColl * d : (r.QColl + r.QRecap) * d;
        r.QSolarNight = process ? 0.0f : r.QRecap * (1 - d);
        r.FlowDay = r.FlowSupply * d;
        r.FlowNight = r.FlowSupply * (1 - d);
        r.QBaseDay = r.QBase * d;
        r.QBaseNight = r.QBase * (1 - d);
    } else {
        r.QSolarDay = r.QSolarNight = r.FlowDay = r.FlowNight = r.QBaseDay = r.QBaseNight = 0;
        r.DayFraction = r.NightFraction = 0;
    }
}

// Bisection on the collector flow between lo and hi (= FlowSupply) for a supply temperature of
// TSupplyMin: stops within 0.1 K, or when the next trial flow differs from the last by less than
// 0.01 kg/h; the results of the last simulated flow stand. `mixSetup` sets the hour's fields that
// depend on the trial (FracFresh, TCeiling, TRecirc) after each balance.
template <typename F>
void BisectCollectorFlow(CWallRun& r, float lo, float hi, F mixSetup) {
    float m = (lo + hi) / 2;
    // A float step below 0.01 kg/h ends the loop long before this bound; it only guards termination.
    for (int i = 0; i < 1000; ++i) {
        r.FlowColl = m;
        WallHeatBalance(r);
        mixSetup(m);
        r.TSupply = (r.TColl * m + (r.FlowSupply - m) * r.TRecirc) / r.FlowSupply + r.FanRise;
        if (std::fabs(r.TSupply - r.TSupplyMin) < 0.1f) return;
        float next;
        if (r.TSupply > r.TSupplyMin) {
            lo = m;
            next = (m + hi) / 2;
        } else {
            hi = m;
            next = (m + lo) / 2;
        }
        if (std::fabs(next - m) < 0.01f) return;
        m = next;
    }
}

}  // namespace

// ------------------------------------------------------------------ destratification and make-up air

void DestratModel(CWallRun& r) {
    const CAltHour a = ReadAltHour(r);
    ResetHour(r);
    if (SkipHour(r, a)) return;
    SetFloor(r, a);
    SupplyFlow(r, a, false);

    const float tc = r.TCeilingState;
    auto ceilingAndRecirc = [&]() {
        r.TCeiling = AltGiven(a.tceiling) ? static_cast<float>(a.tceiling) : tc;
        r.TRecirc = AltGiven(a.trecirc) ? static_cast<float>(a.trecirc) : tc;
    };

    // S6. Air flows through the collector.
    if (AltGiven(a.fcoll) && CompareTol(a.fcoll, 0.0) == 0) {
        r.QFan = 0;
        r.FlowSupply = 0;
    }
    r.Operating = 0;
    // The fan rise is formed for every hour (not left from an earlier one): the later steps read it.
    FormFanRise(r);
    if (r.FlowSupply <= 0.01f) {
        r.FlowColl = r.FlowSupply;
        WallHeatBalance(r);
        r.FracFresh = 1;
        ceilingAndRecirc();
        r.FanRise = 0;          // no supply air, no fan rise
        r.TSupply = r.TAmb;     // formed for this hour; the later steps read it
    } else {
        r.Operating = 1;
        bool bypass;
        if (AltGiven(a.bypass)) bypass = CompareTol(a.bypass, 0.0) == 0;
        else bypass = r.TAmb >= r.TBypass;
        if (bypass) {
            r.FlowColl = 0;
            r.Bypass = 0;
            WallHeatBalance(r);
            r.FlowColl = r.FlowSupply;
            r.FracFresh = 1;
            ceilingAndRecirc();
            r.TSupply = r.TAmb + r.FanRise;  // formed for this hour
        } else if (AltGiven(a.fcoll) || AltGiven(a.fracfresh)) {
            r.Bypass = 1;
            r.FracFresh = AltGiven(a.fracfresh)
                              ? static_cast<float>(a.fracfresh)
                              : static_cast<float>(a.fcoll) * 3.6f * r.AirDensity / r.FlowSupply;
            r.FlowColl = r.FlowSupply * r.FracFresh;
            WallHeatBalance(r);
            r.TRecirc = AltGiven(a.trecirc) ? static_cast<float>(a.trecirc) : tc;
            r.TSupply = r.TColl * r.FracFresh + (1 - r.FracFresh) * r.TRecirc + r.FanRise;
        } else {
            r.FlowColl = r.FlowSupply;
            WallHeatBalance(r);
            r.Bypass = 1;
            r.FracFresh = 1;
            ceilingAndRecirc();
            r.TSupply = r.TColl + r.FanRise;
            if (r.TSupply < r.TSupplyMin) {
                BisectCollectorFlow(r, 0.0f, r.FlowSupply, [&](float m) {
                    r.FracFresh = m / r.FlowSupply;
                    ceilingAndRecirc();
                });
            }
        }
    }

    // S7. Useful solar heat and auxiliary heat.
    if (r.QColl <= 0) {
        r.QSolOp = 0;
    } else if (r.TSupply > r.TSupplyMin + 0.05f && r.TSupply > r.TSupplyMaxUseful) {
        // Heat above the maximum useful supply temperature is not counted.
        r.QColl = (r.TSupplyMaxUseful - r.FanRise - r.TAmb) * r.FlowSupply - r.QRecap;
        const float rise = r.TColl - r.TAmb;
        r.QSolOp = rise > 0 ? r.QSol * 3.6f * r.CollArea * (r.TSupplyMaxUseful - r.TAmb) / rise
                            : r.QSol * 3.6f * r.CollArea;
        if (r.QColl <= 0) r.QColl = r.QSolOp = 0;
    } else {
        r.QSolOp = r.QSol * 3.6f * r.CollArea;
    }
    const float fm = r.FlowColl > r.FlowExhaustDesign ? r.FlowColl : r.FlowExhaustDesign;
    r.QBase = (r.TSupplyMin - r.TAmb) * fm;
    r.QAux = Max0(r.QBase - r.QColl - r.QFan);
    r.QBase = Max0(r.QBase);

    // S8. Ceiling temperature and destratification saving.
    const float xe = r.ExhaustLocFactor, fx = r.FlowExhaustDesign, uac = r.UACeiling;
    const float tcd = r.TCeilingDesign;
    const float ls = uac * (tcd - r.TAmb) + (fx / 2) * (tcd - r.TAmb) + (fx * xe / 2) * (tcd - r.TBuilding);
    const float mixT = (r.TBuilding * xe + r.TAmb) / 2;
    const float den = ((xe - 1) / 2) * r.FlowColl - ((xe + 1) / 2) * fx - uac;
    // A wall with neither exhaust, roof loss nor flow has no balance: the ceiling stays as designed.
    const float tb = den != 0 ? ((mixT - (r.TColl + r.FanRise)) * r.FlowColl - mixT * fx - ls -
                                 r.TAmb * uac) / den
                              : tcd;
    float tcNew;
    if (!r.AltInputActive) {
        r.TCeiling = tb;
        tcNew = tb;
        if (tcNew < r.TBuilding) tcNew = r.TBuilding;
        if (tcNew > tcd) tcNew = tcd;
        r.QDestrat = fx * xe * (tcd - tcNew) + (tcd - tcNew) * uac;
        if (r.TAmb > r.TBypass) r.QDestrat = 0;
    } else {
        tcNew = AltGiven(a.tceiling) ? static_cast<float>(a.tceiling) : tb;
        r.FlowExhaust = AltGiven(a.fexhaust) ? static_cast<float>(a.fexhaust) * r.AirDensity * 3.6f : fx;
        if (AltGiven(a.texhaust)) {
            r.TExhaust = static_cast<float>(a.texhaust);
            r.QDestrat = (tcd - r.TExhaust) * r.FlowExhaust + (tcd - tcNew) * uac;
        } else {
            r.QDestrat = r.FlowExhaust * xe * (tcd - tcNew) + (tcd - tcNew) * uac;
        }
        r.QDestrat = Max0(r.QDestrat);
        r.TCeiling = tcNew;
    }
    if (!(r.AltInputActive && AltGiven(a.texhaust))) {
        // Reported in the form the saving above counts: the exhaust leaves Xe (TCd - Tc) cooler than
        // the stratified Xe TCd + (1 - Xe) TFloor.
        r.TExhaust = xe * tcd + (1 - xe) * r.TFloor - xe * (tcd - tcNew);
    }
    if (std::isfinite(tcNew)) r.TCeilingState = tcNew;

    DayNightSplit(r, false);
}

// ------------------------------------------------------------------ ventilation air preheater

void VentilationModel(CWallRun& r) {
    const CAltHour a = ReadAltHour(r);
    ResetHour(r);
    r.Operating = 0;
    if (SkipHour(r, a)) return;
    SetFloor(r, a);
    r.TExhaust = AltGiven(a.texhaust) ? static_cast<float>(a.texhaust) : r.TBuilding;
    SupplyFlow(r, a, true);
    float fo = r.FlowSupply * r.MinOAFraction;
    // The fan rise is formed for every hour: steps below read it on every path.
    FormFanRise(r);
    r.TRecirc = AltGiven(a.trecirc) ? static_cast<float>(a.trecirc) : r.TBuilding;
    auto fracAfterBalance = [&]() {
        r.FracFresh = r.FlowSupply > kFlowEps ? r.FlowColl / r.FlowSupply : 0.0f;
    };
    // The supply air of an hour whose collector share is fixed: outdoor air at FracFresh (at the
    // collector outlet when it ran) mixed with recirculated air.
    auto mixedSupply = [&]() {
        r.TSupply = r.FlowSupply > kFlowEps
                        ? (r.TColl * r.FlowColl + (r.FlowSupply - r.FlowColl) * r.TRecirc) / r.FlowSupply +
                              r.FanRise
                        : r.TRecirc + r.FanRise;
    };
    auto noCollectorFlow = [&]() {
        r.FlowColl = 0;
        fo = 0;
        WallHeatBalance(r);
        r.FracFresh = 0;
        r.TSupply = r.TAmb * r.FracFresh + (1 - r.FracFresh) * r.TRecirc + r.FanRise;
    };
    const bool fcollGiven = a.fcoll > -999.9;
    const bool fracGiven = a.fracfresh > -999.9;

    if (fcollGiven) {
        if (CompareTol(a.fcoll, 0.0) == 0) {
            noCollectorFlow();
        } else {
            r.FlowColl = static_cast<float>(a.fcoll) * r.AirDensity * 3.6f;
            fo = r.FlowColl;
            WallHeatBalance(r);
            fracAfterBalance();
            mixedSupply();
        }
    } else if (fracGiven) {
        if (CompareTol(a.fracfresh, 0.0) == 0) {
            noCollectorFlow();
        } else {
            r.FlowColl = r.FlowSupply * static_cast<float>(a.fracfresh);
            fo = r.FlowColl;
            WallHeatBalance(r);
            fracAfterBalance();
            mixedSupply();
        }
    } else if (fo <= 0) {
        noCollectorFlow();
    } else {
        r.Operating = 1;
        if (r.TAmb >= r.TBypass) {
            // Summer bypass: minimum outdoor air around the collector.
            r.FlowColl = fo;
            r.FracFresh = fo / r.FlowSupply;
            r.TSupply = r.TAmb * r.FracFresh + (1 - r.FracFresh) * r.TRecirc + r.FanRise;
        } else {
            r.FlowColl = r.FlowSupply;
            WallHeatBalance(r);
            r.FracFresh = 1;
            r.TSupply = r.TColl + r.FanRise;
            if (r.TSupply <= r.TSupplyMaxUseful) {
                r.FlowColl = fo;
                WallHeatBalance(r);
                fracAfterBalance();
                r.TSupply = r.TColl * r.MinOAFraction + (1 - r.MinOAFraction) * r.TRecirc + r.FanRise;
                if (r.TSupply > r.TSupplyMin) {
                    BisectCollectorFlow(r, fo, r.FlowSupply, [&](float) { fracAfterBalance(); });
                }
            }
        }
    }

    // 8. Useful solar heat, on the weather file's wall irradiance.
    const float gw = r.WeaQSol[r.Day - 1][r.Hour - 1];
    if (fo <= 0 || r.TAmb > r.TBypass) {
        r.QColl = 0;
        r.QSolOp = 0;
    } else {
        if (r.TSupply < r.TSupplyMin) {
            r.QSolOp = gw * 3.6f * r.CollArea;
        } else if (r.TSupply > r.TSupplyMaxUseful && std::fabs(r.FlowColl - r.FlowSupply) < kFlowEps) {
            r.QColl = (r.TSupplyMaxUseful - r.FanRise - r.TAmb) * r.FlowSupply - r.QRecap;
            const float rise = r.TColl - r.TAmb;
            r.QSolOp = rise > 0 ? gw * 3.6f * r.CollArea * (r.TSupplyMaxUseful - r.TAmb) / rise
                                : gw * 3.6f * r.CollArea;
        } else {
            r.QSolOp = gw * 3.6f * r.CollArea;
        }
        if (r.QColl <= 0) r.QColl = r.QSolOp = 0;
    }

    // 9. Auxiliary and base heat.
    r.QAux = Max0((r.TSupplyMin - r.TSupply) * r.FlowSupply);
    r.QBase = Max0((r.TSupplyMin - r.TAmb) * r.FlowColl);

    DayNightSplit(r, false);
}

// ------------------------------------------------------------------ process air heater

void ProcessModel(CWallRun& r) {
    const CAltHour a = ReadAltHour(r);
    ResetHour(r);
    r.Operating = 0;
    if (SkipHour(r, a)) return;
    // The indoor temperature is set as for the other models, so the balance never reads an earlier
    // hour's value.
    SetFloor(r, a);
    SupplyFlow(r, a, true);
    float fr = 0;  // the collector flow to report

    if (r.FlowSupply <= kFlowEps) {
        r.FlowColl = 0;
        WallHeatBalance(r);
        r.FanRise = 0;
    } else {
        r.Operating = 1;
        r.FanRise = r.QFan / r.FlowSupply;
        r.TSupply = r.TAmb + r.FanRise;
        bool runCollector = true;
        if (AltGiven(a.bypass) && CompareTol(a.bypass, 0.0) == 0) {
            r.FlowColl = 0;
            WallHeatBalance(r);
            r.FlowColl = r.FlowSupply;
            runCollector = false;
        } else if (AltGiven(a.fcoll)) {
            r.FlowColl = static_cast<float>(a.fcoll) * 3.6f * r.AirDensity;
        } else if (r.TAmb >= r.TBypass) {
            r.FlowColl = r.FlowSupply;
            r.Bypass = 0;
            runCollector = false;
        } else {
            r.Bypass = 1;
            r.FlowColl = r.FlowSupply;
        }
        if (runCollector) {
            WallHeatBalance(r);
            r.TSupply = r.TColl + r.FanRise;
            fr = r.FlowSupply;
            if (r.TSupply > r.TSupplyMaxUseful) {
                r.QColl = (r.TSupplyMaxUseful - r.FanRise - r.TAmb) * r.FlowSupply;
                const float rise = r.TColl - r.TAmb;
                r.QSolOp = rise > 0 ? r.QSol * 3.6f * r.CollArea * (r.TSupplyMaxUseful - r.TAmb) / rise
                                    : r.QSol * 3.6f * r.CollArea;
            } else {
                r.QSolOp = r.QSol * 3.6f * r.CollArea;
            }
            if (r.QColl <= 0) r.QColl = r.QSolOp = 0;
        }
    }

    const float base = (r.TSupplyMin - r.TAmb) * r.FlowSupply;
    r.QAux = Max0(base - r.QColl - r.QFan);
    r.QBase = Max0(base);
    r.TSupply = r.FlowSupply > kFlowEps
                    ? r.TAmb + r.FanRise + (r.QColl + r.QAux) / r.FlowSupply
                    : r.TAmb + r.FanRise;
    r.FlowColl = fr;

    DayNightSplit(r, true);
}
