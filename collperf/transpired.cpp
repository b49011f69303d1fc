// Transpired collector model.
//
// The cladding is treated as a heat exchanger between the absorber and the air drawn through it; its
// effectiveness combines a front-surface, a hole and a back-surface part in the manner of Van Decker,
// Hollands and Brunger (2001), "Heat-exchange relations for unglazed transpired solar collectors
// with circular holes on a square or triangular pitch", Solar Energy 71(1). The pressure-drop terms
// are regression fits over plenum and plate geometry in the logarithms of the Reynolds numbers and
// aspect ratios.
#include "collperf/transpired.h"

#include <algorithm>
#include <cmath>

#include "collperf/air_props.h"
#include "collperf/model_common.h"

namespace collperf {

double TranspiraEffectiveness(const TpInputs& in, double nu, double pr, double vs)
{
    const double pitch = in.HolePitch / in.PitchFactor;  // [mm]
    const double len = pitch / 1000.0;                    // [m]
    const double diam = in.HoleDiam / 1000.0;             // [m]
    const double por = in.Porosity;

    const double reS = len * vs / nu;
    const double reH = diam * vs / (por * nu);
    const double reB = len * vs / (por * nu);
    const double reW = len * in.VWind / nu;

    const double effFront = 1.0 - 1.0 / (1.0 + std::max(0.708 * std::sqrt(reW), 17.7) / reS);
    // The hole fit goes negative at low hole Reynolds numbers (low porosity or a near-zero trial
    // flow), which would have the plate lose heat to the air it warms. An effectiveness is a
    // fraction, so it is held at zero there; wherever the fit is positive it is used as it stands.
    const double effHole =
        std::max(0.0, 1.0 - std::exp(-0.0144 * pitch / (pr * in.HoleDiam) + 14.64 * (in.Thickness / in.HoleDiam) / (reH * pr)));
    const double effBack = 1.0 - 1.0 / (1.0 + 3.4 * std::pow(reB, -0.33));
    return 1.0 - (1.0 - effFront) * (1.0 - effHole) * (1.0 - effBack);
}

bool TranspiraEff(const TpInputs& in, double f, TpThermal& out)
{
    const double ta = in.TAmb + kKelvin;
    const double g = in.QSol;
    const double area = in.Height * in.Width;  // projected area: results are per wall face

    // Night, or no air drawn through: nothing is collected and the absorber is not modelled.
    if (g <= 0.0 || !(in.Flow > 0.0)) {
        out = TpThermal{0.0, 0.0, in.TAmb, 0.0, 0.0, kNoTemperature, kNoTemperature};
        return true;
    }

    const double nu = KinViscosity(in.TAmb);
    const double pr = PrandtlNumber(in.TAmb);
    const double rho = MoistAirDensity(in.TAmb, in.HumRatio, in.PAtm);

    const double vs = in.Flow / (in.Height * in.Width * in.AreaFactor);
    const double eff = TranspiraEffectiveness(in, nu, pr, vs);

    const double wDew = in.HumRatio > 0.0002 ? in.HumRatio : 0.0002;
    const double td = DewPointTemp(VapourPressure(in.PAtm, wDew));
    const double tSky = IsSupplied(in.TSky) ? in.TSky + kKelvin
                                            : SkyTemperature(ta, td, in.Hour, CloudFraction(in.Clearness));

    const double hw = IsSupplied(in.HConv) ? in.HConv : std::min(0.02 * in.VWind / vs, 2.8 + 3.0 * in.VWind);

    const double cosSlope = std::cos(in.Slope * kDegToRad);
    const double fSky = (1.0 + cosSlope) / 2.0;
    const double fGnd = (1.0 - cosSlope) / 2.0;

    const bool viewGiven = IsSupplied(in.TSkyView);
    const bool longwaveGiven = !viewGiven && IsSupplied(in.QLongwave);
    const double tr = in.TSkyView + kKelvin;
    const double alphaG = in.Absorptance * g;
    const double h = f * rho * vs * kCpAir * eff;  // air-side coefficient of the whole cladding
    const double es = in.Emittance * kSigma;

    double tpPrev = ta + alphaG / 2.0;
    double tp = tpPrev + 10.0;
    double hr = 0.0, hrs = 0.0, hrg = 0.0;
    int passes = 0;
    // Written as "not yet within 0.1 K" so that a temperature gone NaN (a zero or NaN geometry or
    // optical input) keeps iterating into the pass limit instead of passing for converged.
    while (!(std::fabs(tp - tpPrev) <= 0.1)) {
        if (++passes > 50)
            return false;
        tpPrev = tp;
        const double t2 = tpPrev * tpPrev;
        if (viewGiven) {
            hr = es * (t2 + tr * tr) * (tpPrev + tr);
            tp = (alphaG + h * ta + hr * tr + hw * ta) / (h + hr + hw);
        } else if (longwaveGiven) {
            tp = (alphaG + h * ta - in.QLongwave + hw * ta) / (h + hw);
        } else {
            hrs = fSky * es * (t2 + tSky * tSky) * (tpPrev + tSky);
            hrg = fGnd * es * (t2 + ta * ta) * (tpPrev + ta);
            tp = (alphaG + h * ta + hrs * tSky + hrg * ta + hw * ta) / (h + hrs + hrg + hw);
        }
    }

    out.TPlate = tp - kKelvin;
    out.Eff = f * eff * rho * kCpAir * vs * (tp - ta) / g;
    out.QColl = g * out.Eff * area;
    out.TColl = in.TAmb + out.QColl / (rho * kCpAir * in.Flow);
    out.QConv = (tp - ta) * hw * area;
    if (viewGiven) {
        out.QRad = (tp - tr) * hr * area;
        out.TSkyView = in.TSkyView;
    } else if (longwaveGiven) {
        out.QRad = in.QLongwave * area;
        out.TSkyView = kNoTemperature;
    } else {
        out.QRad = ((tp - ta) * hrg + (tp - tSky) * hrs) * area;
        out.TSkyView = fSky * tSky + fGnd * ta - kKelvin;
    }
    return true;
}

double TranspiraPressDrop(const TpInputs& in, double tOut)
{
    const double hgt = in.Height;
    const double wid = in.Width;
    const double dep = in.PlenumDepth;
    const double q = in.Flow;
    const double por = in.Porosity;

    const double rhoA = MoistAirDensity(in.TAmb, in.HumRatio, in.PAtm);
    const double rhoO = MoistAirDensity(tOut, in.HumRatio, in.PAtm);
    const double stack = (rhoO - rhoA) * kGravity * hgt;
    // Without flow there is no friction (the fits below take logarithms of the Reynolds numbers).
    if (!(q > 0.0))
        return stack;

    const double nu = KinViscosity(in.TAmb);
    const double vf = q / (wid * hgt);  // face velocity, without the area factor
    const double dyn = rhoA * vf * vf;

    const double x = std::log(vf * dep / nu);
    const double y = std::log(wid / dep);
    const double z = std::log(hgt / dep);
    const double plenum = dyn * std::exp(-33.8479 + 4.9233 * x + 6.3044 * y + 3.5569 * z - 0.2131 * x * x
                                         + 0.1437 * y * y + 0.2369 * z * z - 0.3246 * x * y - 0.2012 * x * z
                                         - 0.8305 * y * z);

    const double reH = (in.HoleDiam / 1000.0) * q / (hgt * wid * por * nu);
    const double s = (1.0 - por) / por;
    const double r = hgt / dep + wid / dep;
    const double u = std::log(reH);
    const double plate = dyn * std::exp(15.676111 - 2.813176 * u + 0.231452 * u * u + 0.05648 * s
                                        - 9.753292e-05 * s * s + 0.0004064312 * r + 7.268979e-07 * r * r
                                        - 0.002190741 * u * s - 0.0005485671 * u * r + 1.026295e-05 * s * r);

    // Entry and exit terms on the face-velocity Reynolds number; exp(11.7551) and exp(11.9336) are
    // the fitted constants.
    const double lnReF = std::log(reH * por);
    const double dp1 = std::exp(11.7551 - 2.0293 * lnReF) * dyn;
    const double dp2 = std::exp(11.9336 - 2.0255 * lnReF) * dyn;

    // The fits also give a flow maldistribution estimate; it is deliberately not formed or fed back:
    // the balance uses only the factor the caller supplies (or 1.0), so each call stays one pass.
    return dp1 + dp2 + plate + plenum + stack;
}

}  // namespace collperf
