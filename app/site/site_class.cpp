// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/site_class.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "records/number_text.h"

namespace dispfit {

GroundType eurocode8GroundType(double vs30) {
  if (vs30 > 800.0) return GroundType::A;
  if (vs30 > 360.0) return GroundType::B;
  if (vs30 >= 180.0) return GroundType::C;
  return GroundType::D;
}

NehrpClass nehrpSiteClass(double vs30) {
  if (vs30 > 1500.0) return NehrpClass::A;
  if (vs30 > 760.0) return NehrpClass::B;
  if (vs30 > 360.0) return NehrpClass::C;
  if (vs30 >= 180.0) return NehrpClass::D;
  return NehrpClass::E;
}

Asce722Class asce722SiteClass(double vs30) {
  for (std::size_t i = 0; i < kAsce722Bounds.size(); ++i) {
    if (vs30 > kAsce722Bounds[i]) return kAsce722Classes[i];
  }
  return Asce722Class::E;
}

std::string className(GroundType type) {
  return std::string(1, static_cast<char>('A' + static_cast<int>(type)));
}

std::string className(NehrpClass siteClass) {
  return std::string(1, static_cast<char>('A' + static_cast<int>(siteClass)));
}

std::string className(Asce722Class siteClass) {
  constexpr const char* kNames[] = {"A", "B", "BC", "C", "CD", "D", "DE", "E"};
  return kNames[static_cast<std::size_t>(siteClass)];
}

std::string classRange(GroundType type) {
  switch (type) {
    case GroundType::A:
      return "above 800 m/s";
    case GroundType::B:
      return "360 to 800 m/s";
    case GroundType::C:
      return "180 to 360 m/s";
    case GroundType::D:
      break;
  }
  return "below 180 m/s";
}

std::string classRange(NehrpClass siteClass) {
  switch (siteClass) {
    case NehrpClass::A:
      return "above 1500 m/s";
    case NehrpClass::B:
      return "760 to 1500 m/s";
    case NehrpClass::C:
      return "360 to 760 m/s";
    case NehrpClass::D:
      return "180 to 360 m/s";
    case NehrpClass::E:
      break;
  }
  return "below 180 m/s";
}

std::string classRange(Asce722Class siteClass) {
  const auto i = static_cast<std::size_t>(siteClass);
  const auto bound = [](std::size_t k) {
    return std::string(swcore::formatNumber(kAsce722Bounds[k]).view());
  };
  if (i == 0) return "above " + bound(0) + " m/s";
  if (i == kAsce722Bounds.size()) return "up to " + bound(i - 1) + " m/s";
  return bound(i) + " to " + bound(i - 1) + " m/s";
}

std::vector<ClassBound> classBounds() {
  std::vector<ClassBound> bounds;
  const auto add = [&bounds](double vs30, const std::string& label) {
    for (ClassBound& b : bounds) {
      if (b.vs30 == vs30) {
        b.label += ", " + label;
        return;
      }
    }
    bounds.push_back({vs30, label});
  };
  add(800.0, "EC8 A/B");
  add(360.0, "EC8 B/C");
  add(180.0, "EC8 C/D");
  const double nehrp[] = {1500.0, 760.0, 360.0, 180.0};
  for (std::size_t i = 0; i < std::size(nehrp); ++i) {
    add(nehrp[i], "NEHRP " + className(kNehrpClasses[i]) + "/" + className(kNehrpClasses[i + 1]));
  }
  for (std::size_t i = 0; i < kAsce722Bounds.size(); ++i) {
    add(kAsce722Bounds[i],
        "ASCE 7-22 " + className(kAsce722Classes[i]) + "/" + className(kAsce722Classes[i + 1]));
  }
  std::sort(bounds.begin(), bounds.end(),
            [](const ClassBound& a, const ClassBound& b) { return a.vs30 < b.vs30; });
  return bounds;
}

std::string siteClassCaution() {
  return "Vs30 alone does not settle Eurocode 8 ground types E, S1 and S2 or NEHRP class F: "
         "they depend on the thickness of soft layers over stiff ground, on clay content, "
         "plasticity and water content, and on liquefiable or sensitive soils.";
}

}  // namespace dispfit
