#include "video/jpeg_quality_search.h"

#include <algorithm>

namespace kdx {

JpegQualityChoice SearchJpegQuality(JpegQualityState& state, int32_t budget,
                                    const std::function<int32_t(int32_t)>& measure) {
  if (measure(state.upper) < budget) state.upper = 99;
  // A lower bound that does not fit (even exactly filling the budget) must
  // give way, or the search could end on it while lower qualities fit.
  if (measure(state.lower) >= budget) state.lower = 1;
  do {
    const int32_t size = measure(state.current);
    if (size >= budget) {
      state.upper = state.current;
      state.current = (state.current + state.lower) / 2;
    } else if (static_cast<float>(size) > 0.9f * static_cast<float>(budget)) {
      break;
    } else {
      state.lower = state.current;
      state.current = (state.current + state.upper) / 2;
    }
  } while (state.current != state.lower);
  // The search may stop anywhere in the top tenth of the budget: the
  // qualities just above that still fit take the rest of it.
  while (state.current + 1 < state.upper && measure(state.current + 1) < budget) ++state.current;

  JpegQualityChoice choice;
  choice.quality = state.current;
  choice.size = measure(state.current);
  choice.fits = choice.size < budget;
  return choice;
}

}  // namespace kdx
