// File: KPQuaslet/KPQuaslet.h
//
// Every public header of the framework. Applications include this one header.
#pragma once

#include "KPQuaslet/Helper/KPFunctions.h"
#include "KPQuaslet/Helper/KPKitError.h"
#include "KPQuaslet/Helper/RawRepresentable.h"
#include "KPQuaslet/KPQuasletVersion.h"
#include "KPQuaslet/values/Bool+KPExt.h"
#include "KPQuaslet/values/CGFloat+KPExt.h"
#include "KPQuaslet/values/CGOperators.h"
#include "KPQuaslet/values/CGPoint+KPExt.h"
#include "KPQuaslet/values/CGRect+KPExt.h"
#include "KPQuaslet/values/CGSize+KPExt.h"
#include "KPQuaslet/values/Character+KPExt.h"
#include "KPQuaslet/values/Double+KPExt.h"
#include "KPQuaslet/values/Float+KPExt.h"
#include "KPQuaslet/values/Int+KPExt.h"
#include "KPQuaslet/values/KPConfigurable.h"
#include "KPQuaslet/values/Operators.h"
#include "KPQuaslet/values/Optional+KPExt.h"
#include "KPQuaslet/values/RandomAccessCollection+KPExt.h"
#include "KPQuaslet/values/Range.h"
