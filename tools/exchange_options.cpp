// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange_options.h"

#include <iostream>
#include <utility>

#include "exchange/dinver_target.h"
#include "exchange/gpdc_model.h"
#include "exchange/model96.h"
#include "exchange/surf96_curve.h"
#include "files/curve_file.h"
#include "records/file_replacement.h"
#include "site/measured_curve_file.h"

namespace dispfit {

bool exchangeOption(ArgumentStream& in, std::string_view name, ExchangeOptions& options,
                    bool& handled, std::string& error) {
  handled = true;
  if (name == "--columns") {
    std::string text;
    if (!in.text(name, text, error)) return false;
    if (!swcore::parseCurveColumnChoice(text, options.columns, error)) {
      error = "--columns: " + error;
      return false;
    }
    return true;
  }
  std::optional<std::string>* path = name == "--target"    ? &options.target
                                     : name == "--surf96"  ? &options.surf96
                                     : name == "--gpdc"    ? &options.gpdc
                                     : name == "--model96" ? &options.model96
                                                           : nullptr;
  if (path == nullptr) {
    handled = false;
    return true;
  }
  std::string text;
  if (!in.text(name, text, error)) return false;
  *path = std::move(text);
  return true;
}

bool writeExchangeFiles(const ExchangeOptions& options, const MeasuredCurve& curve,
                        const swcore::ModelFile& model) {
  const swcore::CurveFile measured = curveFileOf(curve.points);
  std::pair<const std::optional<std::string>*, std::string> files[] = {
      {&options.target, {}}, {&options.surf96, {}}, {&options.gpdc, {}}, {&options.model96, {}}};
  if (options.target) files[0].second = formatDinverTarget(measured);
  if (options.surf96) files[1].second = formatSurf96Curve(measured);
  if (options.gpdc) files[2].second = formatGpdcModel(model);
  if (options.model96) files[3].second = formatModel96(model, "DispFit model");
  for (const auto& [path, text] : files) {
    if (!*path) continue;
    std::string error;
    if (!swcore::replaceFileText(**path, text, error)) {
      std::cerr << "dispfit-invert: " << **path << " could not be written: " << error << '\n';
      return false;
    }
  }
  return true;
}

std::string exchangeUsage() {
  return "Files of other programs:\n"
         "  --columns f=1,v=2,sigma=3\n"
         "                      which column of the curve table is which, by number\n"
         "                      from 1 or by header name (f, lambda or t; v; sigma, or\n"
         "                      low and high), for a header that names others\n"
         "  --target FILE       also write the measured curve as a Geopsy dinver target\n"
         "  --surf96 FILE       also write the measured curve as CPS SURF96 lines\n"
         "  --gpdc FILE         also write the fitted (best) model as a gpdc model\n"
         "  --model96 FILE      also write the fitted (best) model as a CPS model96 file\n"
         "CURVE may also be a dinver target (.target, or its contents.xml), gpdc output\n"
         "(slowness in s/m under '# Mode N' lines) or SURF96 lines; of these only the\n"
         "Rayleigh phase velocity of the fundamental mode is fitted. MODEL may also be\n"
         "a gpdc model or a model96 file.\n";
}

}  // namespace dispfit
