// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/dinver_target.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>

#include "core/number_text.h"
#include "exchange/gzip_tar.h"
#include "exchange/xml_elements.h"
#include "files/line_message.h"

namespace dispfit {

namespace {

constexpr std::string_view kContentsName = "contents.xml";

struct TargetPoint {
  double frequency = 0.0;
  double velocity = 0.0;
  std::optional<std::pair<double, double>> band;  // low, high (m/s)
  int mode = 0;
  std::size_t line = 0;
};

struct Reading {
  const std::string& source;
  std::vector<TargetPoint> points = {};
  std::size_t leftOut = 0;  // Love, group or invalid points
  std::size_t banded = 0;
  const XmlElement* firstWithout = nullptr;  // a point without a band
  const XmlElement* firstWith = nullptr;     // a point with one
  std::string error = {};
};

std::string fault(const Reading& reading, const XmlElement& element, std::string_view what) {
  return swcore::lineColumnMessage(reading.source, element.line, element.column, what);
}

// The number an element's text holds; false with the message when none.
bool elementNumber(Reading& reading, const XmlElement& point, std::string_view name,
                   double& value) {
  const XmlElement* element = point.child(name);
  if (element == nullptr) {
    std::string what = "<";
    what += point.name;
    what += "> has no <";
    what += name;
    what += '>';
    reading.error = fault(reading, point, what);
    return false;
  }
  const std::optional<double> number = parseDecimal(element->text);
  if (!number) {
    std::string what = "<";
    what += name;
    what += "> holds " + swcore::quoted(element->text) + ", not a number";
    reading.error = fault(reading, *element, what);
    return false;
  }
  value = *number;
  return true;
}

std::string childText(const XmlElement& element, std::string_view name) {
  const XmlElement* child = element.child(name);
  std::string text = child ? child->text : std::string();
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r' ||
                           text.back() == '\t')) {
    text.pop_back();
  }
  while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t')) {
    text.erase(0, 1);
  }
  return text;
}

// The velocity band of a point of slowness s and spread `spread`.
std::optional<std::pair<double, double>> bandOf(double slowness, double spread, bool logNormal) {
  const double velocity = 1.0 / slowness;
  if (logNormal) {
    if (!(spread > 1.0)) return std::nullopt;
    return std::pair{velocity / spread, velocity * spread};
  }
  if (!(spread > 0.0)) return std::nullopt;
  return std::pair{1.0 / (slowness + spread), 1.0 / (slowness - spread)};
}

bool readPoint(Reading& reading, const XmlElement& element, int mode, bool logNormal) {
  if (childText(element, "valid") == "false") {
    ++reading.leftOut;
    return true;
  }
  double frequency = 0.0;
  double slowness = 0.0;
  double spread = 0.0;
  if (!elementNumber(reading, element, "x", frequency) ||
      !elementNumber(reading, element, "mean", slowness)) {
    return false;
  }
  if (element.child("stddev") && !elementNumber(reading, element, "stddev", spread)) return false;
  if (!(frequency > 0.0)) {
    reading.error = fault(reading, *element.child("x"), "the frequency must be positive");
    return false;
  }
  if (!(slowness > 0.0) || !std::isfinite(1.0 / slowness)) {
    reading.error = fault(reading, *element.child("mean"),
                          "the slowness must be positive, and not so small that 1 / s is no "
                          "number");
    return false;
  }
  if (spread < 0.0 || (!logNormal && spread >= slowness)) {
    reading.error = fault(reading, *element.child("stddev"),
                          logNormal ? "the spread must not be negative"
                                    : "the slowness's spread reaches zero slowness (infinite "
                                      "velocity)");
    return false;
  }
  TargetPoint point{frequency, 1.0 / slowness, bandOf(slowness, spread, logNormal), mode,
                    element.line};
  if (point.band && !(std::isfinite(point.band->second) && point.band->first > 0.0)) {
    reading.error =
        fault(reading, *element.child("stddev"), "the spread makes a band beyond any velocity");
    return false;
  }
  if (point.band) {
    ++reading.banded;
    if (!reading.firstWith) reading.firstWith = &element;
  } else if (!reading.firstWithout) {
    reading.firstWithout = &element;
  }
  reading.points.push_back(point);
  return true;
}

bool readCurve(Reading& reading, const XmlElement& curve, bool logNormal) {
  const XmlElement* mode = curve.child("Mode");
  const std::string polarisation =
      mode ? (mode->child("polarization") ? childText(*mode, "polarization")
                                          : childText(*mode, "polarisation"))
           : std::string("Rayleigh");
  const std::string slowness = mode ? childText(*mode, "slowness") : std::string("Phase");
  int index = 0;
  if (mode && mode->child("index")) {
    const std::optional<std::int64_t> number = parseWhole(childText(*mode, "index"));
    if (!number || *number < 0 || *number > 1000) {
      reading.error = fault(reading, *mode->child("index"), "the mode index is no whole number");
      return false;
    }
    index = static_cast<int>(*number);
  }
  const bool wanted = polarisation.starts_with("Rayleigh") && slowness == "Phase";
  for (const XmlElement& element : curve.children) {
    if (element.name != "RealStatisticalPoint" && element.name != "StatPoint") continue;
    if (!wanted) {
      ++reading.leftOut;
      continue;
    }
    if (!readPoint(reading, element, index, logNormal)) return false;
  }
  return true;
}

// The unpacked contents.xml, as UTF-8 text.
bool contentsText(std::string_view bytes, const std::string& source, std::string& text,
                  std::string& error) {
  std::string xml(bytes);
  if (isGzip(bytes)) {
    std::string unpacked;
    if (!gunzip(bytes, unpacked, error)) {
      error = source + ": " + error;
      return false;
    }
    xml = std::move(unpacked);
  }
  if (isTar(xml)) {
    std::string member;
    if (!tarMember(xml, kContentsName, member, error)) {
      error = source + ": " + error;
      return false;
    }
    xml = std::move(member);
  }
  if (!xmlTextOf(xml, text)) {
    error = source + ": the XML's UTF-16 text breaks off inside a character";
    return false;
  }
  return true;
}

void appendElement(std::string& xml, int depth, std::string_view name, std::string_view value) {
  xml.append(static_cast<std::size_t>(2 * depth), ' ');
  xml += '<';
  xml += name;
  xml += '>';
  xml += value;
  xml += "</";
  xml += name;
  xml += ">\n";
}

void appendTag(std::string& xml, int depth, std::string_view tag) {
  xml.append(static_cast<std::size_t>(2 * depth), ' ');
  xml += tag;
  xml += '\n';
}

std::string utf16LittleEndian(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";  // the byte-order mark
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

// The factor F of datum i: the band's width in log velocity.
double spreadFactor(const swcore::CurveFile& curve, std::size_t i) {
  double low = 0.0;
  double high = 0.0;
  if (i < curve.deviation.size() && curve.deviation[i] > 0.0 &&
      curve.deviation[i] < curve.velocity[i]) {
    low = curve.velocity[i] - curve.deviation[i];
    high = curve.velocity[i] + curve.deviation[i];
  } else if (i < curve.lowBound.size() && i < curve.highBound.size()) {
    low = curve.lowBound[i];
    high = curve.highBound[i];
  }
  return low > 0.0 && high > low ? std::sqrt(high / low) : 1.0;
}

}  // namespace

bool looksLikeDinverTarget(std::string_view bytes) {
  if (isGzip(bytes)) return true;
  std::string text;
  if (!xmlTextOf(bytes.substr(0, std::min<std::size_t>(bytes.size(), 4096) & ~std::size_t{1}),
                 text)) {
    return false;
  }
  // The root's name, past a declaration and comments.
  std::size_t at = 0;
  while (true) {
    at = text.find('<', at);
    if (at == std::string::npos) return false;
    if (text.compare(at, 2, "<?") == 0 || text.compare(at, 2, "<!") == 0) {
      ++at;
      continue;
    }
    return text.compare(at, 7, "<Dinver") == 0;
  }
}

bool parseDinverTarget(std::string_view bytes, const std::string& source, swcore::CurveFile& curve,
                       std::string& error) {
  std::string text;
  if (!contentsText(bytes, source, text, error)) return false;
  XmlElement root;
  if (!parseXml(text, source, root, error)) return false;
  Reading reading{source};
  const XmlElement* list = root.child("TargetList");
  bool anyTarget = false;
  // The targets lie in the target list; a bare list of them is taken too.
  for (const XmlElement* holder : std::initializer_list<const XmlElement*>{list, &root}) {
    if (holder == nullptr) continue;
    for (const XmlElement& target : holder->children) {
      const bool dispersion =
          target.name == "DispersionTarget" ||
          (target.name == "ModalCurveTarget" &&
           (target.attribute("type").empty() || target.attribute("type") == "dispersion"));
      if (!dispersion) continue;
      anyTarget = true;
      const bool logNormal =
          childText(target, "misfitType").find("LogNormalized") != std::string::npos;
      for (const XmlElement& modal : target.children) {
        if (modal.name != "ModalCurve") continue;
        if (!readCurve(reading, modal, logNormal)) {
          error = reading.error;
          return false;
        }
      }
    }
    if (anyTarget) break;
  }
  if (reading.points.empty()) {
    error = source + ": no valid Rayleigh phase-velocity point in a dispersion target";
    return false;
  }
  if (reading.banded > 0 && reading.banded < reading.points.size()) {
    error = fault(reading, *reading.firstWithout,
                  "a point without a spread where others give one; give every point its "
                  "spread, or none");
    return false;
  }
  swcore::CurveFile read;
  for (const TargetPoint& point : reading.points) {
    read.frequency.push_back(point.frequency);
    read.velocity.push_back(point.velocity);
    if (point.band) {
      read.lowBound.push_back(point.band->first);
      read.highBound.push_back(point.band->second);
    }
    read.mode.push_back(point.mode);
    read.line.push_back(point.line);
  }
  read.notes.push_back("slowness converted to phase velocity (c = 1 / s)");
  if (reading.leftOut > 0) {
    read.notes.push_back(std::to_string(reading.leftOut) +
                         " target point(s) of Love waves, group slowness or marked invalid left "
                         "out: the curve is the Rayleigh phase velocity");
  }
  curve = std::move(read);
  return true;
}

std::string dinverTargetXml(const swcore::CurveFile& curve) {
  std::string xml = "<Dinver>\n";
  appendElement(xml, 1, "pluginTag", "DispersionCurve");
  appendElement(xml, 1, "pluginTitle", "Surface Wave Inversion");
  appendTag(xml, 1, "<TargetList>");
  appendTag(xml, 2, "<DispersionTarget type=\"dispersion\">");
  appendElement(xml, 3, "selected", "true");
  appendElement(xml, 3, "misfitWeight", "1");
  appendElement(xml, 3, "minimumMisfit", "0");
  appendElement(xml, 3, "misfitType", "L2_LogNormalized");
  // One curve per mode, in the order the modes first appear.
  std::vector<int> modes;
  for (std::size_t i = 0; i < curve.frequency.size(); ++i) {
    const int mode = i < curve.mode.size() ? curve.mode[i] : 0;
    if (std::find(modes.begin(), modes.end(), mode) == modes.end()) modes.push_back(mode);
  }
  for (const int mode : modes) {
    appendTag(xml, 3, "<ModalCurve>");
    appendElement(xml, 4, "name", "DispFit");
    appendElement(xml, 4, "enabled", "true");
    appendTag(xml, 4, "<Mode>");
    appendElement(xml, 5, "value", "Signed");
    appendElement(xml, 5, "slowness", "Phase");
    appendElement(xml, 5, "polarization", "Rayleigh");
    appendElement(xml, 5, "ringIndex", "0");
    appendElement(xml, 5, "index", std::to_string(mode));
    appendTag(xml, 4, "</Mode>");
    for (std::size_t i = 0; i < curve.frequency.size(); ++i) {
      if ((i < curve.mode.size() ? curve.mode[i] : 0) != mode) continue;
      appendTag(xml, 4, "<RealStatisticalPoint>");
      appendElement(xml, 5, "x", exactText(curve.frequency[i]));
      appendElement(xml, 5, "mean", exactText(1.0 / curve.velocity[i]));
      appendElement(xml, 5, "stddev", exactText(spreadFactor(curve, i)));
      appendElement(xml, 5, "weight", "1");
      appendElement(xml, 5, "valid", "true");
      appendTag(xml, 4, "</RealStatisticalPoint>");
    }
    appendTag(xml, 3, "</ModalCurve>");
  }
  appendTag(xml, 2, "</DispersionTarget>");
  appendTag(xml, 1, "</TargetList>");
  xml += "</Dinver>\n";
  return xml;
}

std::string formatDinverTarget(const swcore::CurveFile& curve) {
  return tarGzOf(kContentsName, utf16LittleEndian(dinverTargetXml(curve)));
}

}  // namespace dispfit
