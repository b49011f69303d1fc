#pragma once
// Sun position and extraterrestrial irradiance (module Astro of the solar routine library).
//
// Conventions of the whole library: day number n 1..365 (no 29 February, 1 = 1 January); solar
// time in hours (12 = solar noon); angles in radians; latitude north positive; hour angle 0 at
// solar noon, negative in the morning; zenith 0 = sun overhead, above pi/2 below the horizon;
// azimuth 0 = due south, positive towards west; irradiance in W/m2.
//
// Every routine is stateless and reentrant. An argument outside its range ends the process through
// the library error report (solar/scl_error.h) with the code given on each routine.
//
// Sources: Spencer, J.W. (1971), "Fourier series representation of the position of the sun",
// Search 2(5), 172 (declination, eccentricity factor); Kasten, F. (1966), "A new table and
// approximation formula for the relative optical air mass", Arch. Meteorol. Geophys. Bioklimatol.
// B14, 206-223 (air mass).

inline constexpr double ASTRO_PI = 3.141592653589793;
inline constexpr double ASTRO_HALF_PI = 1.5707963267948966;
inline constexpr double ASTRO_TWO_PI = 6.283185307179586;
inline constexpr double ASTRO_PI_OVER_12 = 0.2617993877991494;  // 15 degrees
inline constexpr double ASTRO_RAD_TO_DEG = 57.29577951308232;
inline constexpr double ASTRO_SOLAR_CONSTANT = 1367.0;           // [W/m2]

// Day angle Gamma [rad] = 2 pi (n - 1) / 365. No check.
double ASTRO_DayAngle(int n);

// Solar declination [rad] of day n. n in 1..365 (code 1).
double ASTRO_Declination(int n);

// Hour angle [rad] of solar time t [h]. No check.
double ASTRO_HourAngle(double t);

// Zenith and azimuth [rad] of the sun on day n at solar time t [h] and latitude phi [rad].
// n in 1..365 (code 1); phi in [-pi/2, pi/2] (code 8).
void ASTRO_SunPosition(int n, double t, double phi, double& zenith, double& azimuth);

// Zenith and azimuth [rad] from declination delta, hour angle omega and latitude phi [rad].
// phi in [-pi/2, pi/2] (code 8).
void ASTRO_SunAngles(double delta, double omega, double phi, double& zenith, double& azimuth);

// Eccentricity correction factor E0 (dimensionless) of day n. n in 1..365 (code 1).
double ASTRO_EccentricityFactor(int n);

// Extraterrestrial normal irradiance I0n = 1367 E0 [W/m2]. n in 1..365 (code 1030).
double ASTRO_ExtraterrestrialNormal(int n);

// Relative optical air mass (Kasten) for zenith angle [rad]; every zenith at or below the horizon
// gets the horizon value 36.51. zenith in [0, pi] (code 1025). Near the zenith the formula gives
// slightly less than 1 (0.999494 at zenith 0).
double ASTRO_AirMass(double zenith);

// Sunset hour angle [rad] for latitude phi and declination delta: 0 in polar night, pi under
// the midnight sun. phi in [-pi/2, pi/2] (code 8).
double ASTRO_SunsetHourAngle(double phi, double delta);

// Day length [h] for latitude phi and declination delta. Checks as ASTRO_SunsetHourAngle.
double ASTRO_DayLength(double phi, double delta);
