// SPDX-License-Identifier: GPL-3.0-or-later
// Site classes from Vs30: the Eurocode 8 ground type and the NEHRP site class.
//
// A value on a boundary between two classes falls in the softer one, the way
// the NEHRP provisions write their ranges (B: 760 < Vs30 <= 1500): 800 m/s is
// ground type B, 360 is C, 1500 is class B, 760 is C and 360 is D. The bound
// of 180 m/s is the exception in both schemes, as the softest class is
// written "< 180": 180 m/s is ground type C and class D.
#pragma once

#include <string>

namespace dispfit {

// Eurocode 8: A > 800, B 360-800, C 180-360, D < 180 m/s.
enum class GroundType { A, B, C, D };

// NEHRP: A > 1500, B 760-1500, C 360-760, D 180-360, E < 180 m/s.
enum class NehrpClass { A, B, C, D, E };

// For Vs30 > 0, m/s.
GroundType eurocode8GroundType(double vs30);
NehrpClass nehrpSiteClass(double vs30);

// "A" .. "E".
std::string className(GroundType type);
std::string className(NehrpClass siteClass);

// The class's Vs30 range as text, "360 to 800 m/s", "above 800 m/s",
// "below 180 m/s".
std::string classRange(GroundType type);
std::string classRange(NehrpClass siteClass);

// Why Vs30 alone does not settle a class.
std::string siteClassCaution();

}  // namespace dispfit
