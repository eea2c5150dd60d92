// SPDX-License-Identifier: GPL-3.0-or-later
// Dispersion curves in the target files of Geopsy's inversion program,
// dinver (".target"): a gzip-compressed tar archive holding contents.xml,
// UTF-16 XML whose dispersion target lists one curve per mode:
//
//   <Dinver><TargetList>
//     <DispersionTarget type="dispersion">      (ModalCurveTarget before Geopsy 3)
//       <misfitType>L2_LogNormalized</misfitType>
//       <ModalCurve>
//         <Mode><slowness>Phase</slowness><polarization>Rayleigh</polarization>
//               <index>0</index></Mode>
//         <RealStatisticalPoint>                 (StatPoint before Geopsy 3)
//           <x>5</x><mean>0.004</mean><stddev>1.05</stddev><valid>true</valid>
//         </RealStatisticalPoint> ...
//
// Notation: f = x, frequency (Hz); s = mean, slowness (s/m), c = 1 / s the
// phase velocity (m/s). Under a log-normal misfit stddev is a factor F >= 1
// on the slowness, whose band is [s / F, s F], so the velocity's band is
// [c / F, c F]; otherwise stddev is the slowness's standard deviation ds and
// the velocity's band [1 / (s + ds), 1 / (s - ds)]. An F of 1 or less, or a ds
// of 0, gives no band.
#pragma once

#include <string>
#include <string_view>

#include "files/curve_file.h"

namespace dispfit {

// True for gzip data, or XML text (UTF-8 or UTF-16) whose root is <Dinver>.
bool looksLikeDinverTarget(std::string_view bytes);

// The Rayleigh phase-velocity curves of the dispersion target of `bytes`
// (the archive, or contents.xml itself), every valid point with its mode:
// frequencies in curve.frequency, c in m/s, the band as low and high bounds
// when the points give one. Love, group and invalid points are left out with
// a note. False, with "<source>, line <n>, column <c>: <what>" (the line and
// column of contents.xml), for an archive or XML that cannot be read, a
// point whose x or mean is no positive number, bands beside points without,
// or no point at all.
bool parseDinverTarget(std::string_view bytes, const std::string& source, swcore::CurveFile& curve,
                       std::string& error);

// A target file of `curve` (frequencies, c in m/s, optionally a deviation
// sigma or low and high bounds, optionally modes): the archive of a
// contents.xml in UTF-16 with a dispersion target under a log-normal misfit,
// each point's F = sqrt(c_high / c_low) the width of its band in log velocity
// (the band c - sigma .. c + sigma for a deviation), 1 without a band; every
// number in its shortest exact form. Read back, the band keeps its width in
// log velocity and is centred on c there.
std::string formatDinverTarget(const swcore::CurveFile& curve);

// The contents.xml of formatDinverTarget, as UTF-8 text.
std::string dinverTargetXml(const swcore::CurveFile& curve);

}  // namespace dispfit
