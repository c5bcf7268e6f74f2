// File: platform/Platform.h
//
// The stand-in headers a program calls itself, besides the framework: the main screen
// and device it describes, the application and its bundle, run loops, dispatch queues,
// the main thread and images.
//
//   #include "KPQuaslet/KPQuaslet.h"
//   #include "platform/Platform.h"
//
//   ios::Bundle::main().setBundleIdentifier("com.example.app");
//   ios::DispatchQueue::main().async([] { ... });
//   ios::RunLoop::main().run(ios::Date::now().addingTimeInterval(1));  // runs it for a second
#pragma once

#include "platform/dispatch/DispatchQueue.h"
#include "platform/dispatch/DispatchTime.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScreen.h"
