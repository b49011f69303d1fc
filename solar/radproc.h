#pragma once
// Clearness index and the beam/diffuse split of hourly global irradiance (module Radproc).
// Conventions and the error report as in solar/astro.h.
//
// Source of the split: Orgill, J.F. and Hollands, K.G.T. (1977), "Correlation equation for hourly
// diffuse radiation on a horizontal surface", Solar Energy 19(4), 357-359.

// Hourly clearness index kt = G / (I0n cos zenith) for global horizontal irradiance G [W/m2],
// extraterrestrial normal irradiance I0n [W/m2] and zenith [rad]; 1 when the sun is below the
// horizon. Not limited: callers clamp it to [0, 1].
// Checks in this order: I0n > 0 (code 1024); zenith in [0, pi] (1026); G >= 0 (1027).
double RADPROC_ClearnessIndex(double G, double I0n, double zenith);

// Diffuse fraction of the global irradiance (Orgill-Hollands) for clearness index kt.
// kt in [0, 1] (code 1028).
double RADPROC_DiffuseFraction(double kt);
