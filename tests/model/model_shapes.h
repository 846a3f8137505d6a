// Generated model descriptions of one statement shape repeated n times: the shapes whose cost
// grew with the square of their number when the parser walked its lists. Shared by the model
// tests and the model benchmark.
#pragma once
#include <string>

namespace model_shapes {

enum Shape { kNamedJudges, kPageValues, kItemVariants, kShapeCount };

inline const char* ShapeName(int shape) {
  static const char* const kNames[] = {"named judges", "page values of one paper", "item variants"};
  return shape >= 0 && shape < kShapeCount ? kNames[shape] : "?";
}

// About n statements of the shape.
inline std::string Generate(int shape, int n) {
  std::string text = "*FileVersion: 6.63\n";
  text.reserve(static_cast<size_t>(n) * 128 + 512);  // one allocation: large texts do not fragment memory
  switch (shape) {
    case kNamedJudges:
      // Each judge registers a name and refers to the one before it by name.
      for (int i = 1; i <= n; ++i)
        text += "*Judge " + std::to_string(i) + "=J" + std::to_string(i) + ": TOV_dmDuplex == 2 && J" +
                std::to_string(i > 1 ? i - 1 : 1) + "\n";
      break;
    case kPageValues:
      text += "*OpenUI *TOV_dmPaperSize: PickPage\n*TOV_dmPaperSize DMPAPERSIZE_A4: \"A4\"\n";
      for (int i = 0; i < n; ++i)
        text += "*PageValue TOV_dmPaperSize DMPAPERSIZE_A4: " + std::to_string(100 + i) +
                " DMORIENTATION_PORTRAIT \"99 99 4763 6818 4961 7016\"\n";
      text += "*CloseUI\n";
      break;
    case kItemVariants:
      text += "*OpenUI *TOV_dmPaperSize: PickPage\n*TOV_dmPaperSize DMPAPERSIZE_A4: \"A4\"\n"
              "*TOV_dmPaperSize DMPAPERSIZE_A3: \"A3\"\n*DefaultTOV_dmPaperSize: DMPAPERSIZE_A4\n*CloseUI\n";
      for (int i = 1; i <= n / 2; ++i)
        text += "*OpenUI *TOV_dmPaperSize " + std::to_string(i) + ": PickPage\n*CloseUI\n";
      break;
  }
  return text;
}

}  // namespace model_shapes
