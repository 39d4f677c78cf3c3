#pragma once

// A percentage of a whole, in single precision as the position bar computes
// its fill, so a seek to a percentage lands where the bar shows it.
inline float PercentOf(int whole, float percent) { return static_cast<float>(whole) * percent * 0.01f; }
