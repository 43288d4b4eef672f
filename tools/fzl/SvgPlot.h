#pragma once
// The picture of `fzl plot` and `fzl infer --plot`: one panel per variable, one polyline
// per set over the variable's range (flat beyond the set's end points, as membership reads
// it), a legend, axes with ticks and the units, and optionally a crisp value marked.
// The result is a self-contained SVG document.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fzl::tool {

/// One curve: a set's points.
struct TPlotSeries {
    std::string Name;
    std::vector<std::pair<double, double>> Points;
    /// Drawn thicker and filled (a rule base's conclusion).
    bool Emphasis = false;
};

/// One variable: its range, units and curves.
struct TPlotPanel {
    std::string Title;
    std::string Units;
    double Minimum = 0;
    double Maximum = 1;
    std::vector<TPlotSeries> Series;
    /// A crisp value drawn as a vertical line, with its label.
    std::optional<double> Marker;
    std::string MarkerLabel;
};

/// The SVG document of the panels, one below the other.
[[nodiscard]] std::string WriteSvg(const std::vector<TPlotPanel>& Panels);

/// Tick positions over [Low, High] at a round step (1, 2, 2.5 or 5 times a power of ten),
/// about Count of them, and the number of decimals their labels need.
[[nodiscard]] std::pair<std::vector<double>, int> NiceTicks(double Low, double High, int Count);

}  // namespace fzl::tool
