#include "KPQuaslet/KPQuasletVersion.h"

namespace kp {

const double KPQuasletVersionNumber = 5.3;
const char KPQuasletVersionString[] = "@(#)PROGRAM:KPQuaslet  PROJECT:KPQuaslet-5.3.0.0";

}  // namespace kp
