// File: platform/coregraphics/internal/Cairo.h
//
// The stand-in's one entry point to cairo. Only files under platform/*/internal/ and
// the drawing sources of platform/coregraphics include it; no public header exposes
// cairo types.
#pragma once

#include <cairo.h>
