// File: KPQuaslet/KPQuaslet.h
//
// Every public header of the framework. Applications include this one header.
#pragma once

#include "KPQuaslet/Helper/KPFunctions.h"
#include "KPQuaslet/Helper/KPKitError.h"
#include "KPQuaslet/Helper/RawRepresentable.h"
#include "KPQuaslet/Helper/Swizzle.h"
#include "KPQuaslet/KPQuasletVersion.h"
#include "KPQuaslet/concurrency/SelfAware.h"
#include "KPQuaslet/imaging/KPImageColors.h"
#include "KPQuaslet/imaging/UIColor+KPExt.h"
#include "KPQuaslet/imaging/UIImage+KPColors.h"
#include "KPQuaslet/services/CLLocation+KPExt.h"
#include "KPQuaslet/services/FileManager+KPExt.h"
#include "KPQuaslet/services/KPAuthManager.h"
#include "KPQuaslet/services/KPKeychain.h"
#include "KPQuaslet/services/KPSystemSound.h"
#include "KPQuaslet/services/LocationTransform.h"
#include "KPQuaslet/text/Date+KPExt.h"
#include "KPQuaslet/values/Array+KPExt.h"
#include "KPQuaslet/values/Array+KPExtMembership.h"
#include "KPQuaslet/values/ClosedRange.h"
#include "KPQuaslet/values/Collection+KPExt.h"
#include "KPQuaslet/values/Dictionary+KPExt.h"
#include "KPQuaslet/values/OrderedDictionary.h"
#include "KPQuaslet/values/Sequence+KPExt.h"
