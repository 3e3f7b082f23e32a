#include "output/html_chart.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pileaxial::html {

namespace {

constexpr std::array<const char*, 9> kColours = {"#0072b2", "#d55e00", "#009e73", "#cc79a7", "#e69f00",
                                                 "#56b4e9", "#000000", "#7f3c8d", "#8c564b"};
constexpr std::array<const char*, 9> kDashes = {"", "7 3", "2 2", "9 3 2 3", "4 3", "", "7 3", "2 3", "9 3 2 3"};

// Pixel coordinates with two decimals are plenty for a screen or a printer.
std::string px(double v) { return Fixed(v, 1); }

int decimalsOf(double step) {
    for (int d = 0; d <= 8; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) return d;
    }
    return 8;
}

struct Range {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void add(double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
};

}  // namespace

std::string PaletteColour(int i) { return kColours[static_cast<std::size_t>(i) % kColours.size()]; }
std::string PaletteDash(int i) { return kDashes[static_cast<std::size_t>(i) % kDashes.size()]; }

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default:
                // Control characters have no place in the page; tabs and line ends are kept.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') out += ' ';
                else out += c;
        }
    }
    return out;
}

std::string Fixed(double value, int decimals) {
    if (!std::isfinite(value)) return "n/a";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string s = buffer;
    if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
    return s;
}

std::vector<double> NiceTicks(double lo, double hi, int target) {
    if (!std::isfinite(lo) || !std::isfinite(hi)) return {0.0, 1.0};
    if (hi < lo) std::swap(lo, hi);
    if (hi - lo < 1e-12 * std::max(1.0, std::fabs(hi))) {
        // A flat series: a unit-sized range around it (or above it, at zero).
        if (lo == 0.0) hi = 1.0;
        else {
            const double m = std::fabs(lo) * 0.5;
            lo -= m;
            hi += m;
        }
    }
    const double raw = (hi - lo) / std::max(1, target);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10.0 * power;
    for (double f : {1.0, 2.0, 2.5, 5.0}) {
        if (f * power >= raw * 0.999999) {
            step = f * power;
            break;
        }
    }
    const double first = std::floor(lo / step + 1e-9) * step;
    const double last = std::ceil(hi / step - 1e-9) * step;
    std::vector<double> ticks;
    for (int i = 0;; ++i) {
        const double t = first + i * step;
        ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
        if (t >= last - step * 1e-9 || i > 100) break;
    }
    if (ticks.size() < 2) ticks.push_back(first + step);
    return ticks;
}

std::string SvgChart(const Chart& chart) {
    const bool depth = chart.depthPlot;
    const bool soilColumn = depth && !chart.soil.empty();
    const double width = 860;
    const double height = depth ? 580 : 430;
    const double soilWidth = soilColumn ? 74 : 0;
    const double x0 = 12 + soilWidth + (soilColumn ? 10 : 0) + 70;
    const double x1 = width - 210;
    const double y0 = depth ? 78 : 40;
    const double y1 = depth ? height - 16 : height - 58;

    Range xr, yr;
    for (const ChartSeries& s : chart.series) {
        for (double v : s.x) xr.add(v);
        for (double v : s.y) yr.add(v);
    }
    if (!std::isfinite(xr.lo)) xr = {0.0, 1.0};
    if (!std::isfinite(yr.lo)) yr = {0.0, 1.0};
    xr.lo = std::min(xr.lo, 0.0);
    yr.lo = std::min(yr.lo, 0.0);
    const std::vector<double> xt = NiceTicks(xr.lo, xr.hi, 6);
    const std::vector<double> yt = NiceTicks(yr.lo, yr.hi, depth ? 10 : 6);
    const double xmin = xt.front(), xmax = xt.back(), ymin = yt.front(), ymax = yt.back();
    const int xd = decimalsOf(xt[1] - xt[0]);
    const int yd = decimalsOf(yt[1] - yt[0]);

    auto X = [&](double v) { return x0 + (v - xmin) / (xmax - xmin) * (x1 - x0); };
    // Depth plots point down; the others up.
    auto Y = [&](double v) {
        const double f = (v - ymin) / (ymax - ymin);
        return depth ? y0 + f * (y1 - y0) : y1 - f * (y1 - y0);
    };

    std::string o;
    o += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" viewBox=\"0 0 " + px(width) + " " + px(height) +
         "\" width=\"" + px(width) + "\" height=\"" + px(height) + "\" role=\"img\" aria-label=\"" +
         Escape(chart.title) + "\">\n";
    o += "<title>" + Escape(chart.title) + "</title>\n";
    o += "<rect x=\"0\" y=\"0\" width=\"" + px(width) + "\" height=\"" + px(height) + "\" fill=\"#ffffff\"/>\n";
    o += "<text x=\"" + px(width / 2) + "\" y=\"20\" text-anchor=\"middle\" font-size=\"15\" font-weight=\"bold\">" +
         Escape(chart.title) + "</text>\n";

    // Grid and frame.
    std::string grid;
    for (double t : xt) grid += "M" + px(X(t)) + " " + px(y0) + "V" + px(y1);
    for (double t : yt) grid += "M" + px(x0) + " " + px(Y(t)) + "H" + px(x1);
    o += "<path d=\"" + grid + "\" stroke=\"#d8d8d8\" stroke-width=\"1\" fill=\"none\"/>\n";
    o += "<rect x=\"" + px(x0) + "\" y=\"" + px(y0) + "\" width=\"" + px(x1 - x0) + "\" height=\"" + px(y1 - y0) +
         "\" fill=\"none\" stroke=\"#333333\"/>\n";

    // Tick labels: x on top of a depth plot, below otherwise.
    const double xTickY = depth ? y0 - 7 : y1 + 16;
    for (double t : xt) {
        o += "<text x=\"" + px(X(t)) + "\" y=\"" + px(xTickY) + "\" text-anchor=\"middle\" font-size=\"11\">" +
             Fixed(t, xd) + "</text>\n";
    }
    for (double t : yt) {
        o += "<text x=\"" + px(x0 - 6) + "\" y=\"" + px(Y(t) + 4) + "\" text-anchor=\"end\" font-size=\"11\">" +
             Fixed(t, yd) + "</text>\n";
    }
    const double xLabelY = depth ? y0 - 26 : y1 + 38;
    o += "<text x=\"" + px((x0 + x1) / 2) + "\" y=\"" + px(xLabelY) + "\" text-anchor=\"middle\" font-size=\"12\">" +
         Escape(chart.xLabel) + "</text>\n";
    const double yLabelX = x0 - 54;
    o += "<text transform=\"translate(" + px(yLabelX) + " " + px((y0 + y1) / 2) +
         ") rotate(-90)\" text-anchor=\"middle\" font-size=\"12\">" + Escape(chart.yLabel) + "</text>\n";

    // Soil column beside the depth axis, on the same scale.
    if (soilColumn) {
        const double sx = 12;
        o += "<g class=\"soil\">\n";
        o += "<text x=\"" + px(sx + soilWidth / 2) + "\" y=\"" + px(y0 - 7) +
             "\" text-anchor=\"middle\" font-size=\"11\">Soil</text>\n";
        for (const SoilBand& b : chart.soil) {
            const double top = std::clamp(b.top, ymin, ymax);
            const double bottom = std::clamp(b.bottom, ymin, ymax);
            if (bottom <= top) continue;
            const double ty = Y(top), by = Y(bottom);
            o += "<rect x=\"" + px(sx) + "\" y=\"" + px(ty) + "\" width=\"" + px(soilWidth) + "\" height=\"" +
                 px(by - ty) + "\" fill=\"" + b.colour + "\" stroke=\"#555555\" stroke-width=\"0.6\"><title>" +
                 Escape(b.name) + " " + Fixed(b.top, 2) + " to " + Fixed(b.bottom, 2) + "</title></rect>\n";
            if (by - ty >= 13) {
                o += "<text x=\"" + px(sx + soilWidth / 2) + "\" y=\"" + px((ty + by) / 2 + 4) +
                     "\" text-anchor=\"middle\" font-size=\"11\">" + Escape(b.name) + "</text>\n";
            }
        }
        if (chart.waterLevel >= ymin && chart.waterLevel <= ymax) {
            const double wy = Y(chart.waterLevel);
            o += "<path d=\"M" + px(sx - 4) + " " + px(wy) + "H" + px(sx + soilWidth + 4) +
                 "\" stroke=\"#1f5fbf\" stroke-width=\"2\" stroke-dasharray=\"5 2\"><title>Water table " +
                 Fixed(chart.waterLevel, 2) + "</title></path>\n";
        }
        o += "</g>\n";
    }

    // The series; markers when the points and the lines are few enough to tell apart.
    const bool fewLines = chart.series.size() <= 9;
    for (const ChartSeries& s : chart.series) {
        const std::string colour = s.colour.empty() ? PaletteColour(s.style) : s.colour;
        const std::string dash = s.colour.empty() ? PaletteDash(s.style) : "";
        std::string points;
        int count = 0;
        const std::size_t n = std::min(s.x.size(), s.y.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) continue;
            if (count++ > 0) points += ' ';
            points += px(X(s.x[i])) + "," + px(Y(s.y[i]));
        }
        if (count == 0) continue;
        o += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.8\"";
        if (!dash.empty()) o += " stroke-dasharray=\"" + dash + "\"";
        o += "><title>" + Escape(s.name) + "</title></polyline>\n";
        if (fewLines && count <= 30) {
            for (std::size_t i = 0; i < n; ++i) {
                if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) continue;
                o += "<circle cx=\"" + px(X(s.x[i])) + "\" cy=\"" + px(Y(s.y[i])) + "\" r=\"2.6\" fill=\"" + colour +
                     "\"/>\n";
            }
        }
    }

    // Legend to the right of the plot.
    double ly = y0 + 10;
    const double lx = x1 + 16;
    for (const ChartSeries& s : chart.series) {
        if (!s.inLegend) continue;
        if (ly > y1 - 10) break;
        const std::string colour = s.colour.empty() ? PaletteColour(s.style) : s.colour;
        const std::string dash = s.colour.empty() ? PaletteDash(s.style) : "";
        o += "<path d=\"M" + px(lx) + " " + px(ly) + "H" + px(lx + 30) + "\" stroke=\"" + colour +
             "\" stroke-width=\"2.2\"";
        if (!dash.empty()) o += " stroke-dasharray=\"" + dash + "\"";
        o += "/>\n";
        o += "<text x=\"" + px(lx + 36) + "\" y=\"" + px(ly + 4) + "\" font-size=\"11\">" + Escape(s.name) +
             "</text>\n";
        ly += 18;
    }
    if (!chart.legendNote.empty()) {
        o += "<text x=\"" + px(lx) + "\" y=\"" + px(ly + 6) + "\" font-size=\"10\" fill=\"#444444\">" +
             Escape(chart.legendNote) + "</text>\n";
    }
    o += "</svg>\n";
    return o;
}

}  // namespace pileaxial::html
