#pragma once

// A logarithm and an arc tangent made of +, -, *, / alone, which IEEE arithmetic rounds the same
// on every machine. The C library's are not fixed: glibc 2.36 and 2.41 give log1pf and atan2f
// results a unit of the last place apart, and the land made with them moved.
namespace marventa {

// ln(1 + x), for x > -1.
double portableLog1p(double x);
// The angle of (x, y) from the x axis, in -pi .. pi; 0 at the origin.
double portableAtan2(double y, double x);

}  // namespace marventa
