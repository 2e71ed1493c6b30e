#include "mosaic/mean_scan.h"

namespace tessaly::detail {

bool CpuHasAvx2() {
#if defined(TESSALY_MEAN_SCAN_X86)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

}  // namespace tessaly::detail
