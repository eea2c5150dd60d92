// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/model_formats.h"

#include "exchange/gpdc_model.h"
#include "exchange/model96.h"

namespace dispfit {

std::string_view modelFormatName(ModelFormat format) {
  switch (format) {
    case ModelFormat::Gpdc:
      return "a gpdc model";
    case ModelFormat::Model96:
      return "a model96 file";
    case ModelFormat::DispFit:
      break;
  }
  return "a model table or the free format";
}

ModelFormat modelFormatOf(std::string_view text) {
  if (looksLikeModel96(text)) return ModelFormat::Model96;
  if (looksLikeGpdcModel(text)) return ModelFormat::Gpdc;
  return ModelFormat::DispFit;
}

bool readModelFormats(std::string_view text, const std::string& source,
                      const swcore::InputLimits& limits, swcore::ModelFile& model,
                      ModelFormat& format, std::string& error) {
  format = modelFormatOf(text);
  switch (format) {
    case ModelFormat::Model96:
      return parseModel96(text, source, limits, model, error);
    case ModelFormat::Gpdc:
      return parseGpdcModel(text, source, limits, model, error);
    case ModelFormat::DispFit:
      break;
  }
  return swcore::parseModelText(text, source, limits, model, error);
}

}  // namespace dispfit
