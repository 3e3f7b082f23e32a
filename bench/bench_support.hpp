#pragma once
// Synthetic cases at the capacities of the model: 80 soil points, a 1000-point sounding, 500 segments.
#include <sstream>
#include <string>

namespace pileaxial::bench {

// English open steel pipe, 24 in, embedded 45 ft, in 50 ft of alternating sand and clay described by
// `points` soil points (pairs of layer top and bottom), increment 0.1 ft: 500 segments.
inline std::string LargeCase(int points = 80) {
    std::ostringstream s;
    s << "BENCHMARK CASE\nBENCH\nJOB\n";
    s << "1 5 " << points << " 0\n";
    s << "0 0 24 23 29000000 45 0\n0 0 0\n0 0.1 1 0 1 1 0\n1 1 1 0 0 0 0 0 0\n50 0\n";
    const int layers = points / 2;
    for (int i = 0; i < layers; ++i) {
        const double top = 50.0 * i / layers;
        const double bottom = 50.0 * (i + 1) / layers;
        const bool sand = i % 2 == 0;
        for (double depth : {top, bottom}) {
            if (sand) {
                s << depth << " 1 1 " << (i < 4 ? 115 : 60) << " " << 30 + i % 7 << " 0\n";
                s << "0 0 0 " << 10 + i << " 0 0 " << 20000 + 100 * i << " 0 0 1 1 0 0 0\n";
            } else {
                s << depth << " 2 0.8 " << (i < 4 ? 110 : 55) << " 0 9\n";
                s << "0 0 " << 800 + 50 * i << " " << 400 + 20 * i << " 2 20 " << 15000 + 100 * i
                  << " 0 0 1 1 0 0 0\n";
            }
        }
    }
    s << "0\n0 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    return s.str();
}

inline std::string LargeSounding(int points = 1000) {
    std::ostringstream s;
    s << "1 " << points << "\n";
    for (int i = 0; i < points; ++i) s << 0.05 * i << " " << 5000 + 20 * i << "\n";
    return s.str();
}

}  // namespace pileaxial::bench
