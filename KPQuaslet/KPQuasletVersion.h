// File: KPQuaslet/KPQuasletVersion.h
//
// The framework's version number (5.3) and version record
// ("@(#)PROGRAM:KPQuaslet  PROJECT:KPQuaslet-5.3.0.0").
#pragma once

namespace kp {

extern const double KPQuasletVersionNumber;
extern const char KPQuasletVersionString[];

}  // namespace kp
