#pragma once
// Irradiance on a tilted surface by the anisotropic sky model of Perez et al. (module Tilt).
// Conventions and the error report as in solar/astro.h; surface azimuth like the solar azimuth
// (0 = due south, positive towards west), slope 0 = horizontal, pi/2 = vertical.
//
// Source: Perez, R., Ineichen, P., Seals, R., Michalsky, J. and Stewart, R. (1990), "Modeling
// daylight availability and irradiance components from direct and global irradiance",
// Solar Energy 44(5), 271-289; all-site composite coefficient table.

// Irradiance on the surface [W/m2] from beam horizontal Ib, diffuse horizontal Id and
// extraterrestrial normal I0n [W/m2], zenith and solar azimuth [rad], air mass m, surface slope
// beta and azimuth gamma [rad] and ground reflectance rho (0..1).
// Checks in this order: Ib, Id, I0n >= 0 (code 769 each); zenith in [0, pi] (770); solar azimuth
// in [-pi, pi] (771); m >= 1 (774); beta in [0, pi] (772); gamma in [-pi, pi] (771); rho in
// [0, 1] (773).
double TILT_Perez(double Ib, double Id, double I0n, double zenith, double solar_azimuth, double m,
                  double beta, double gamma, double rho);

// The sky clearness bin 0..7 of the model for sky clearness epsilon: the first bin edge that
// epsilon does not exceed (an epsilon equal to an edge falls in the lower bin), 7 above 6.2.
int TILT_PerezBin(double epsilon);
