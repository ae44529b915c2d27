// Linkage and export marks shared by the public C headers of the quentaro library.
#pragma once

#include <stddef.h>

// Marks a function exported from libquentaro.so; everything else stays hidden.
#define QUENTARO_API __attribute__((visibility("default")))

#ifdef __cplusplus
#define QUENTARO_BEGIN extern "C" {
#define QUENTARO_END }
#else
#define QUENTARO_BEGIN
#define QUENTARO_END
#endif
