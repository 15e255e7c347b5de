// The process-wide copy of the latest sensor snapshot, and the conversions that turn its
// fields into samples. Owned by the process; written only on the host's thread.
#pragma once

#include "core/HostRecords.h"

#include <cstdint>

// Zeroed at load and by the plug-in object's constructor; overwritten whole by each Update.
extern SensorSnapshot snapshotCopy;

void ClearSnapshotCopy();
void StoreSnapshot(const SensorSnapshot& snapshot);

// The core count of the copy, capped at the 256 cores the load block can hold.
uint32_t SnapshotCoreCount();
uint32_t SnapshotTjMax();

// Whole degrees, truncated toward zero; NaN gives 0 and values beyond int32 saturate.
int32_t TruncateTemperature(float celsius);

// The samples of the copy's first count cores (at most the 256 it holds): each temperature
// truncated, each load as it stands. One loop here, beside the truncation, so that the
// compiler converts several cores at a time.
void SnapshotSamples(int32_t* temperatures, int32_t* loads, uint32_t count);
