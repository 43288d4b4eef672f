#include "SvgPlot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include <fzl/support/Format.h>

namespace fzl::tool {
namespace {

constexpr double Width = 760;
constexpr double PanelHeight = 280;
constexpr double PlotLeft = 64;
constexpr double PlotRight = 560;  // the legend is to the right
constexpr double PlotTop = 40;     // within the panel
constexpr double PlotBottom = 220;
constexpr std::array<std::string_view, 10> Palette{"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd",
                                                   "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22", "#17becf"};

std::string Escape(std::string_view Text) {
    std::string Out;
    for (const char C : Text) {
        switch (C) {
            case '&': Out += "&amp;"; break;
            case '<': Out += "&lt;"; break;
            case '>': Out += "&gt;"; break;
            case '"': Out += "&quot;"; break;
            case '\'': Out += "&apos;"; break;
            default:
                // Control characters are not allowed in XML 1.0 text.
                if (static_cast<unsigned char>(C) < 0x20 && C != '\t' && C != '\n' && C != '\r')
                    Out += ' ';
                else
                    Out += C;
        }
    }
    return Out;
}

std::string Num(double Value) { return FormatFixed(Value, 2); }

/// Maps X and Y of one panel into picture coordinates.
class TPanelScale {
public:
    TPanelScale(const TPlotPanel& Panel, double Top, double YMax) : FTop(Top), FYMax(YMax) {
        FLow = Panel.Minimum;
        FHigh = Panel.Maximum;
        if (!(FHigh > FLow)) {  // a range of no width still gets an axis
            FLow -= 0.5;
            FHigh += 0.5;
        }
    }
    [[nodiscard]] double X(double Value) const {
        const double Span = FHigh - FLow;  // 0 or infinite only for ranges near the ends of double
        if (!(Span > 0) || !std::isfinite(Span)) return (PlotLeft + PlotRight) / 2;
        return PlotLeft + (std::clamp(Value, FLow, FHigh) - FLow) / Span * (PlotRight - PlotLeft);
    }
    [[nodiscard]] double Y(double Value) const {
        return FTop + PlotBottom - std::clamp(Value, 0.0, FYMax) / FYMax * (PlotBottom - PlotTop);
    }
    [[nodiscard]] double Low() const { return FLow; }
    [[nodiscard]] double High() const { return FHigh; }
    [[nodiscard]] double YMax() const { return FYMax; }

private:
    double FTop, FYMax, FLow = 0, FHigh = 1;
};

/// The curve over the whole range: flat from the range's start to the first point and from
/// the last point to the range's end; an empty set lies at 0.
std::vector<std::pair<double, double>> Curve(const TPlotSeries& Series, const TPanelScale& Scale) {
    std::vector<std::pair<double, double>> Points = Series.Points;
    if (Points.empty()) return {{Scale.Low(), 0.0}, {Scale.High(), 0.0}};
    if (Points.front().first > Scale.Low())
        Points.insert(Points.begin(), {Scale.Low(), Points.front().second});
    if (Points.back().first < Scale.High()) Points.emplace_back(Scale.High(), Points.back().second);
    return Points;
}

void WriteAxes(std::string& Svg, const TPlotPanel& Panel, const TPanelScale& Scale, double Top) {
    const double Bottom = Top + PlotBottom;
    Svg += "<g stroke=\"#333\" stroke-width=\"1\">";
    Svg += "<line x1=\"" + Num(PlotLeft) + "\" y1=\"" + Num(Bottom) + "\" x2=\"" + Num(PlotRight) +
           "\" y2=\"" + Num(Bottom) + "\"/>";
    Svg += "<line x1=\"" + Num(PlotLeft) + "\" y1=\"" + Num(Top + PlotTop) + "\" x2=\"" + Num(PlotLeft) +
           "\" y2=\"" + Num(Bottom) + "\"/></g>\n";
    const auto [XTicks, XDecimals] = NiceTicks(Scale.Low(), Scale.High(), 8);
    for (const double Tick : XTicks) {
        const double X = Scale.X(Tick);
        Svg += "<line x1=\"" + Num(X) + "\" y1=\"" + Num(Bottom) + "\" x2=\"" + Num(X) + "\" y2=\"" +
               Num(Bottom + 5) + "\" stroke=\"#333\"/>";
        Svg += "<text x=\"" + Num(X) + "\" y=\"" + Num(Bottom + 18) + "\" text-anchor=\"middle\">" +
               FormatFixed(Tick, XDecimals) + "</text>\n";
    }
    const auto [YTicks, YDecimals] = NiceTicks(0, Scale.YMax(), 4);
    for (const double Tick : YTicks) {
        const double Y = Scale.Y(Tick);
        Svg += "<line x1=\"" + Num(PlotLeft - 5) + "\" y1=\"" + Num(Y) + "\" x2=\"" + Num(PlotRight) +
               "\" y2=\"" + Num(Y) + "\" stroke=\"#ddd\"/>";
        Svg += "<text x=\"" + Num(PlotLeft - 8) + "\" y=\"" + Num(Y + 4) + "\" text-anchor=\"end\">" +
               FormatFixed(Tick, YDecimals) + "</text>\n";
    }
    const std::string Units = Panel.Units.empty() ? Panel.Title : Panel.Title + " (" + Panel.Units + ")";
    Svg += "<text x=\"" + Num((PlotLeft + PlotRight) / 2) + "\" y=\"" + Num(Bottom + 38) +
           "\" text-anchor=\"middle\">" + Escape(Units) + "</text>\n";
    Svg += "<text x=\"" + Num(PlotLeft) + "\" y=\"" + Num(Top + 24) +
           "\" font-size=\"16\" font-weight=\"bold\">" + Escape(Panel.Title) + "</text>\n";
}

void WriteSeries(std::string& Svg, const TPlotPanel& Panel, const TPanelScale& Scale, double Top) {
    for (std::size_t Index = 0; Index < Panel.Series.size(); ++Index) {
        const TPlotSeries& Series = Panel.Series[Index];
        const std::string_view Color = Series.Emphasis ? "#000000" : Palette[Index % Palette.size()];
        std::string Points;
        for (const auto& [X, Y] : Curve(Series, Scale))
            Points += Num(Scale.X(X)) + "," + Num(Scale.Y(Y)) + " ";
        Points.pop_back();
        Svg += "<polyline data-set=\"" + Escape(Series.Name) + "\" points=\"" + Points + "\" fill=\"" +
               (Series.Emphasis ? "rgba(0,0,0,0.15)" : "none") + "\" stroke=\"" + std::string(Color) +
               "\" stroke-width=\"" + (Series.Emphasis ? "3" : "2") + "\" stroke-linejoin=\"round\"/>\n";
        // The legend: a swatch and the set's name.
        const double Y = Top + PlotTop + 8 + static_cast<double>(Index) * 20;
        Svg += "<line x1=\"580\" y1=\"" + Num(Y) + "\" x2=\"604\" y2=\"" + Num(Y) + "\" stroke=\"" +
               std::string(Color) + "\" stroke-width=\"" + (Series.Emphasis ? "3" : "2") + "\"/>";
        Svg +=
            "<text class=\"legend\" x=\"612\" y=\"" + Num(Y + 4) + "\">" + Escape(Series.Name) + "</text>\n";
    }
    if (Panel.Marker) {
        const double X = Scale.X(*Panel.Marker);
        Svg += "<line x1=\"" + Num(X) + "\" y1=\"" + Num(Top + PlotTop) + "\" x2=\"" + Num(X) + "\" y2=\"" +
               Num(Top + PlotBottom) + "\" stroke=\"#d62728\" stroke-width=\"2\" stroke-dasharray=\"6,4\"/>";
        Svg += "<text x=\"" + Num(X + 4) + "\" y=\"" + Num(Top + PlotTop + 12) + "\" fill=\"#d62728\">" +
               Escape(Panel.MarkerLabel) + "</text>\n";
    }
}

}  // namespace

std::pair<std::vector<double>, int> NiceTicks(double Low, double High, int Count) {
    const double Span = High - Low;
    if (!(Span > 0) || !std::isfinite(Span)) return {{Low}, 2};
    const double Raw = Span / Count;
    const double Power = std::pow(10.0, std::floor(std::log10(Raw)));
    double Step = 10 * Power;
    for (const double Factor : {1.0, 2.0, 2.5, 5.0})
        if (Factor * Power >= Raw) {
            Step = Factor * Power;
            break;
        }
    int Decimals = std::max(0, -static_cast<int>(std::floor(std::log10(Step) + 1e-9)));
    if (std::fabs(std::round(Step / Power) - Step / Power) > 1e-9 || Step / Power == 2.5) ++Decimals;
    std::vector<double> Ticks;
    for (double Index = std::ceil(Low / Step - 1e-9); Index * Step <= High + Step * 1e-9 && Ticks.size() < 64;
         ++Index)
        Ticks.push_back(Index * Step);
    return {Ticks, Decimals};
}

std::string WriteSvg(const std::vector<TPlotPanel>& Panels) {
    const double Height = std::max<double>(1, static_cast<double>(Panels.size())) * PanelHeight;
    std::string Svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(Width) + "\" height=\"" + Num(Height) +
           "\" viewBox=\"0 0 " + Num(Width) + " " + Num(Height) +
           "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    Svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (std::size_t Index = 0; Index < Panels.size(); ++Index) {
        const TPlotPanel& Panel = Panels[Index];
        const double Top = static_cast<double>(Index) * PanelHeight;
        double YMax = 1;
        for (const TPlotSeries& Series : Panel.Series)
            for (const auto& [X, Y] : Series.Points)
                if (std::isfinite(Y)) YMax = std::max(YMax, Y);
        const TPanelScale Scale(Panel, Top, YMax);
        Svg += "<g class=\"variable\" data-variable=\"" + Escape(Panel.Title) + "\">\n";
        WriteAxes(Svg, Panel, Scale, Top);
        WriteSeries(Svg, Panel, Scale, Top);
        Svg += "</g>\n";
    }
    Svg += "</svg>\n";
    return Svg;
}

}  // namespace fzl::tool
