// The card the core benchmarks load and save: every byte of the card in use.
#pragma once

#include "rq540/RQ540Vfs.h"

namespace RQ540::Bench {

inline constexpr uint32_t FULL_CARD_FOLDERS = 25;
inline constexpr uint32_t FULL_CARD_FILES = 356;

// Fills a fresh card of model 0 with 25 folders over the three levels and 356 files of
// 150 or 151 bytes, leaving no free space anywhere; the data bytes follow a fixed
// pseudo-random sequence. Throws std::runtime_error if the card refuses a step.
void BuildFullCard(CRQ540Vfs& vfs);

}  // namespace RQ540::Bench
