// Back-pass collector model: air in a channel behind a solid absorber, optionally glazed, in the
// collector-equation form of Hottel and Whillier (1958) and Bliss (1959), with the heat-removal
// factor F_R and the efficiency factor F'. The outer-surface temperature that sets the top loss is
// found by fixed-point iteration.
#include "collperf/backpass.h"

#include <cmath>

#include "collperf/air_props.h"
#include "collperf/model_common.h"

namespace collperf {

namespace {
constexpr double kAirConductivity = 0.026;  // [W/(m K)]
constexpr double kGlazingEmittance = 0.86;
constexpr double kChannelEmittance = 0.6;   // both faces of the channel
constexpr double kGapConvection = 3.0;      // across the glazing gap [W/(m2 K)]
constexpr double kTauAlphaFactor = 1.01;    // transmittance-absorptance product over the plain product
constexpr double kMaxReynolds = 150000.0;

// The radiative coefficient is referred to the outer surface's difference from ambient; at that
// difference the referred form is singular. Within a microkelvin of ambient the difference is held
// at one microkelvin (with its sign) so the coefficient stays finite and the iteration moves on.
double ReferredDifference(double t, double ta)
{
    constexpr double kMin = 1e-6;
    const double d = t - ta;
    if (std::fabs(d) >= kMin)
        return d;
    return d < 0.0 ? -kMin : kMin;
}
}  // namespace

double ChannelNusselt(double re)
{
    if (re <= 2000.0)
        return 5.0;
    if (re <= 10000.0)
        return 0.00269 * re;
    return 0.03 * std::pow(re, 0.74);
}

double ChannelFriction(double re)
{
    if (re <= 2000.0)
        return 24.0 / re;
    if (re <= 10000.0)
        return 0.1335 * std::pow(re, -0.317);
    return 0.0454 * std::pow(re, -0.2);
}

BpBalance BackPlateCollEff(const BpInputs& in, BpThermal& out)
{
    const double ta = in.TAmb + kKelvin;
    const double ti = in.TInlet + kKelvin;
    const double g = in.QSol;
    const double area = in.Height * in.Width;

    // Night, or no air in the channel: nothing is collected. The outlet is reported at ambient.
    if (g <= 0.0 || !(in.Flow > 0.0)) {
        out = BpThermal{0.0, 0.0, in.TAmb, 0.0, 0.0, kNoTemperature, kNoTemperature};
        return BpBalance::Ok;
    }

    const double hw = IsSupplied(in.HConv) ? in.HConv : 2.8 + 3.0 * in.VWind;
    const double rho = MoistAirDensity(in.TAmb, in.HumRatio, in.PAtm);
    const double nu = KinViscosity(in.TAmb);
    const double re = in.Flow / (in.Width * nu);
    if (re > kMaxReynolds)
        return BpBalance::ReynoldsTooHigh;
    const double hc = ChannelNusselt(re) * kAirConductivity / (2.0 * in.PlenumDepth);

    const double td = DewPointTemp(VapourPressure(in.PAtm, in.HumRatio));
    const double tSky = IsSupplied(in.TSky) ? in.TSky + kKelvin
                                            : SkyTemperature(ta, td, in.Hour, CloudFraction(in.Clearness));

    const double cosSlope = std::cos(in.Slope * kDegToRad);
    const double fSky = (1.0 + cosSlope) / 2.0;
    const double fGnd = (1.0 - cosSlope) / 2.0;

    const double epsOut = in.Glazed ? kGlazingEmittance : in.Emittance;
    const double tau = in.Glazed ? kTauAlphaFactor * in.Transmittance : 1.0;
    const bool viewGiven = IsSupplied(in.TSkyView);
    const bool longwaveGiven = IsSupplied(in.QLongwave);
    const double tr = in.TSkyView + kKelvin;
    const double cap = rho * in.Flow * kCpAir;
    const double alphaG = in.Absorptance * g;

    double tcPrev = ti + 20.0;
    double tc = ti + 30.0;
    double tb = ti + 20.0;
    double hr = 0.0, q = 0.0, tOut = ti;
    int passes = 0;
    // "Not yet within 0.1 K", so a surface temperature gone NaN ends in the pass limit, never as a
    // converged result.
    while (!(std::fabs(tc - tcPrev) <= 0.1)) {
        if (++passes > 50)
            return BpBalance::NotConverged;
        tcPrev = tc;
        const double t = tcPrev;
        const double dT = ReferredDifference(t, ta);
        if (viewGiven) {
            const double hv = 0.5 * epsOut * kSigma * (t * t + tr * tr) * (t + tr);
            hr = 2.0 * hv * (t - tr) / dT;
        } else if (longwaveGiven) {
            hr = in.QLongwave / dT;
        } else {
            const double hs = fSky * epsOut * kSigma * (t * t + tSky * tSky) * (t + tSky);
            const double hg = fGnd * epsOut * kSigma * (t * t + ta * ta) * (t + ta);
            hr = ((t - tSky) * hs + (t - ta) * hg) / dT;
        }

        double rGap = 0.0;
        if (in.Glazed) {
            const double hrGap = kSigma * (t * t + tb * tb) * (t + tb) / (1.0 / epsOut + 1.0 / in.Emittance - 1.0);
            rGap = 1.0 / (hrGap + kGapConvection);
        }
        const double hOut = hw + hr;
        const double u = 1.0 / (1.0 / hOut + rGap);

        const double hrb = 4.0 * kSigma * tb * tb * tb * kChannelEmittance / (2.0 - kChannelEmittance);
        const double he = hc + 1.0 / (1.0 / hc + 1.0 / hrb);

        const double fPrime = 1.0 / (1.0 + u / he);
        const double fR = (cap / (area * u)) * (1.0 - std::exp(-area * u * fPrime / cap));

        q = area * (fR * tau * alphaG - fR * u * (ti - ta));
        tOut = ti + q / cap;
        const double tm = (ti + tOut) / 2.0;

        if (in.Glazed) {
            tc = (hOut * ta + tb / rGap) / (1.0 / rGap + hOut);
            tb = (tc / rGap + he * tm + tau * alphaG) / (1.0 / rGap + he);
        } else {
            tc = (alphaG + he * tm + hOut * ta) / (hOut + he);
            tb = tc;
        }
    }

    out.TPlate = tc - kKelvin;
    out.Eff = q / (g * area);
    out.TColl = tOut - kKelvin;
    out.QColl = q;
    out.TSkyView = viewGiven ? in.TSkyView : fSky * tSky + fGnd * ta - kKelvin;
    out.QRad = longwaveGiven ? in.QLongwave * area : (tc - ta) * hr * area;
    out.QConv = (tc - ta) * hw * area;
    return BpBalance::Ok;
}

double BackPlatePressDrop(const BpInputs& in)
{
    // No flow, no friction (the laminar factor 24/Re would be unbounded).
    if (!(in.Flow > 0.0))
        return 0.0;
    const double nu = KinViscosity(in.TAmb);
    const double re = in.Flow / (in.Width * nu);
    const double rho = MoistAirDensity(in.TAmb, in.HumRatio, in.PAtm);
    const double v = in.Flow / (in.Width * in.Height);
    const double lRatio = in.Height / in.PlenumDepth;
    return ChannelFriction(re) * rho * v * v * lRatio * lRatio * lRatio;
}

}  // namespace collperf
