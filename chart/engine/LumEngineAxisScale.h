// The arithmetic of axis scaling: the signed logarithmic transform of logarithmic axes whose range
// reaches zero or below, nice label steps and the tolerant ceiling and floor. The axis methods that use
// them are in LumEngineAxisScale.cpp.
#pragma once

// The least span of a fixed range and the least label increment.
inline constexpr double LeastAxisSpan = 1e-10;
inline constexpr double LeastAxisIncrement = 1e-12;

// +1 for v >= 0, else -1.
int SignOfValue(double V);
// sign(v) × log10(|v| / C + 1): linear near zero, logarithmic for magnitudes well above C.
double SymLogTransform(double C, double V);
// The inverse: sign(u) × C × (10^|u| - 1).
double SymLogInverse(double C, double U);
// V moved K decades in the transformed scale and rounded to a signed power of ten; 0 when the result
// is 0 or a power below 6 × C.
double SymLogStep(double C, int K, double V);
// The next member of 1, 2, 5, 10, 20, 50, ... strictly above X (X > 0); 1 for an infinite X.
double NiceStep(double X);
// Round(X) when X lies within 1e-10 of it, else the ceiling (floor) of X.
double CeilTol(double X);
double FloorTol(double X);
