#include "text/encoded_lines.h"

#if defined(STPCONV_REP_MOVSB)
#include <cpuid.h>
#endif

namespace stpconv {
namespace {

bool detectShortStringMove() {
#if defined(STPCONV_REP_MOVSB)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0) return false;
  return (edx & (1u << 4)) != 0;  // FSRM: fast short REP MOVSB
#else
  return false;
#endif
}

}  // namespace

const bool kShortStringMoveIsFast = detectShortStringMove();

}  // namespace stpconv
