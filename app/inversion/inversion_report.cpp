#include "inversion/inversion_report.h"

#include "inversion/number_pattern.h"

namespace dispfit {

std::string inversionReport(int32_t iteration, float finalMisfit, int32_t length,
                            const float* params) {
  const int32_t layers = length / 2;
  std::string text = "\t反演结果\n\n拟合情况：\n";
  text += "迭代次数：" + std::to_string(iteration) + "\n";
  text += "拟 合 差：" + formatScientific(finalMisfit);
  text += "\n\n模型参数：\n#      H       Vs\n";
  for (int32_t g = 0; g < layers; ++g) {
    text += std::to_string(g + 1) + "   " + formatOneDecimal(params[layers + g]) + "   " +
            formatOneDecimal(params[g]) + "\n";
  }
  return text;
}

}  // namespace dispfit
