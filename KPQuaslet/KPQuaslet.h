// File: KPQuaslet/KPQuaslet.h
//
// Every public header of the framework. Applications include this one header.
#pragma once

#include "KPQuaslet/Helper/KPFunctions.h"
#include "KPQuaslet/Helper/KPKitError.h"
#include "KPQuaslet/Helper/RawRepresentable.h"
#include "KPQuaslet/KPQuasletVersion.h"
#include "KPQuaslet/values/Array+KPExt.h"
#include "KPQuaslet/values/Array+KPExtMembership.h"
#include "KPQuaslet/values/ClosedRange.h"
#include "KPQuaslet/values/Collection+KPExt.h"
#include "KPQuaslet/values/Dictionary+KPExt.h"
#include "KPQuaslet/values/OrderedDictionary.h"
#include "KPQuaslet/values/Sequence+KPExt.h"
