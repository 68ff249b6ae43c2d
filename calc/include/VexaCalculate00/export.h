// SPDX-License-Identifier: GPL-3.0-or-later
// Symbol visibility and linkage for the public entry points. The library is
// built with hidden visibility, so only what carries VEXA_API is exported.
#ifndef VEXACALCULATE00_EXPORT_H
#define VEXACALCULATE00_EXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define VEXA_API __attribute__((visibility("default")))
#else
#define VEXA_API
#endif

#ifdef __cplusplus
#define VEXA_EXTERN_C_BEGIN extern "C" {
#define VEXA_EXTERN_C_END }
#else
#define VEXA_EXTERN_C_BEGIN
#define VEXA_EXTERN_C_END
#endif

#endif
