#include "ui/title_height.h"

#include "core/double_rounding.h"

namespace {

constexpr double kPointsPerInch = 72.0;

}  // namespace

int TitleFontHeight(int pixelsPerInch, double points) {
  return int(RoundToDouble(RoundToDouble(pixelsPerInch * points) * (1 / kPointsPerInch)));
}
