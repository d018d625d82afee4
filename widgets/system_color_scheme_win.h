#pragma once

#include "widgets/color_scheme.h"

// The colours the running system's scheme gives now.
class SystemColorScheme : public ColorScheme {
 public:
  Rgb SystemColorRgb(int index) const override;
};
