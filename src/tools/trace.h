#pragma once

#include <string>

#include "flame.h"
#include "options.h"

// Sets the flame up and runs the frames the options ask for, delivering their key presses.
void RunFrames(Flame& flame, long long frames, float dt, std::optional<float> firstDt,
               const std::vector<KeyPress>& keys);

// The records flame-trace prints: one per line, key=value pairs, floats as %.9g.
std::string SummaryRecord(const Flame& flame);
std::string ParticleRecords(const Scene& scene);
std::string FieldRecords(const FlowField& field);
