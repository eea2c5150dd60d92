// SPDX-License-Identifier: GPL-3.0-or-later
// Site classes from Vs30: the Eurocode 8 ground type, the NEHRP site class
// (ASCE 7-16, Table 20.3-1) and the ASCE 7-22 site class (ASCE/SEI 7-22,
// Minimum Design Loads and Associated Criteria for Buildings and Other
// Structures, Table 20.2-1, "Site Classification").
//
// A value on a boundary between two classes falls in the softer one, the way
// the NEHRP provisions write their ranges (B: 760 < Vs30 <= 1500): 800 m/s is
// ground type B, 360 is C, 1500 is class B, 760 is C and 360 is D. The bound
// of 180 m/s is the exception in both schemes, as the softest class is
// written "< 180": 180 m/s is ground type C and class D.
//
// ASCE 7-22 writes every range as "lower < Vs30 <= upper" in ft/s (A above
// 5000, B 3000-5000, BC 2100-3000, C 1450-2100, CD 1000-1450, D 700-1000,
// DE 500-700, E at most 500): a value on a bound falls in the softer class
// throughout, E included. The bounds are the table's ft/s at 0.3048 m/ft.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace dispfit {

// Eurocode 8: A > 800, B 360-800, C 180-360, D < 180 m/s.
enum class GroundType { A, B, C, D };

// NEHRP: A > 1500, B 760-1500, C 360-760, D 180-360, E < 180 m/s.
enum class NehrpClass { A, B, C, D, E };

// ASCE 7-22: A > 1524, B 914.4-1524, BC 640.08-914.4, C 441.96-640.08,
// CD 304.8-441.96, D 213.36-304.8, DE 152.4-213.36, E <= 152.4 m/s.
enum class Asce722Class { A, B, BC, C, CD, D, DE, E };

// For Vs30 > 0, m/s.
GroundType eurocode8GroundType(double vs30);
NehrpClass nehrpSiteClass(double vs30);
Asce722Class asce722SiteClass(double vs30);

// Every class of each scheme, the stiffest first.
inline constexpr std::array<GroundType, 4> kGroundTypes{GroundType::A, GroundType::B, GroundType::C,
                                                        GroundType::D};
inline constexpr std::array<NehrpClass, 5> kNehrpClasses{
    NehrpClass::A, NehrpClass::B, NehrpClass::C, NehrpClass::D, NehrpClass::E};
inline constexpr std::array<Asce722Class, 8> kAsce722Classes{
    Asce722Class::A,  Asce722Class::B, Asce722Class::BC, Asce722Class::C,
    Asce722Class::CD, Asce722Class::D, Asce722Class::DE, Asce722Class::E};

// The bounds between neighbouring classes of ASCE 7-22, m/s, the stiffest
// class's lower bound first: Table 20.2-1's 5000, 3000, 2100, 1450, 1000, 700
// and 500 ft/s.
inline constexpr std::array<double, 7> kAsce722Bounds{1524.0, 914.4,  640.08, 441.96,
                                                      304.8,  213.36, 152.4};

// "A" .. "E"; "BC", "CD" and "DE" for the ASCE 7-22 classes between.
std::string className(GroundType type);
std::string className(NehrpClass siteClass);
std::string className(Asce722Class siteClass);

// The class's Vs30 range as text, "360 to 800 m/s", "above 800 m/s",
// "below 180 m/s".
std::string classRange(GroundType type);
std::string classRange(NehrpClass siteClass);
std::string classRange(Asce722Class siteClass);

// A Vs30 at which some scheme's class changes, with what changes there:
// "EC8 C/D, NEHRP D/E" at 180 m/s, "ASCE 7-22 CD/D" at 304.8 m/s (stiffer
// class first). Every bound of the three schemes, ascending, the schemes
// that share a bound on one entry.
struct ClassBound {
  double vs30 = 0.0;  // m/s
  std::string label;
};
std::vector<ClassBound> classBounds();

// Why Vs30 alone does not settle a class.
std::string siteClassCaution();

}  // namespace dispfit
