// SPDX-License-Identifier: GPL-3.0-or-later
// Everything a client needs to bind to libVexaCalculate00.so, from C (C11) or
// C++: identifiers, status codes, interface layouts and the exported functions.
// A client that loads the library at run time only needs this header: in C++
// it also gets vexacalc::LookupClassLibrary to find the library first.
#ifndef VEXACALCULATE00_H
#define VEXACALCULATE00_H

#include "VexaCalculate00/entrypoints.h"
#include "VexaCalculate00/identifiers.h"
#include "VexaCalculate00/interfaces.h"
#include "VexaCalculate00/types.h"

#ifdef __cplusplus
#include "VexaCalculate00/registration.hpp"
#endif

#endif
