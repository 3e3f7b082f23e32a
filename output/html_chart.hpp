#pragma once
// Line charts as inline SVG for the HTML page: nice axis ticks, a legend, distinct colours and dashes,
// and for depth plots a soil column drawn beside the depth axis, which then points down.
#include <string>
#include <vector>

namespace pileaxial::html {

struct ChartSeries {
    std::string name;
    std::vector<double> x, y;
    std::string colour;      // empty: from the palette by `style`
    int style = 0;           // palette index: colour and dash pattern
    bool inLegend = true;
};

// A band of the soil column, in the chart's vertical measure.
struct SoilBand {
    double top = 0, bottom = 0;
    std::string name;        // "Sand", "Clay", ...
    std::string colour;
};

struct Chart {
    std::string title;
    std::string xLabel, yLabel;  // with their units
    bool depthPlot = false;      // y is a depth: axis pointing down, x ticks on top, soil column
    std::vector<ChartSeries> series;
    std::vector<SoilBand> soil;
    double waterLevel = -1;      // drawn on the soil column when not negative
    std::string legendNote;      // a line under the legend
};

// Ticks 1, 2, 2.5 or 5 times a power of ten covering [lo, hi] with about `target` intervals.
std::vector<double> NiceTicks(double lo, double hi, int target);

// Text safe inside an element or an attribute value.
std::string Escape(const std::string& text);

// A number with `decimals` decimals, "-0" written as "0".
std::string Fixed(double value, int decimals);

std::string SvgChart(const Chart& chart);

// Colour and dash pattern of palette index `i` (nine distinct pairs, then repeating).
std::string PaletteColour(int i);
std::string PaletteDash(int i);

}  // namespace pileaxial::html
