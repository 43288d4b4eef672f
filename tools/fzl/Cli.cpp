#include "Cli.h"

#include <cmath>
#include <exception>
#include <map>
#include <memory>
#include <string_view>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/support/Format.h>

#include "Arguments.h"
#include "FanExample.h"
#include "Json.h"
#include "SvgPlot.h"
#include "ToolModel.h"

#ifndef FZL_VERSION
#define FZL_VERSION "0"
#endif

namespace fzl::tool {
namespace {

/// An error in a file (Source, with the line when known) or, with no Source, in the command line's values.
struct TToolError {
    std::string Source;
    int Line = 0;
    std::string Message;
};

std::string SourceName(const std::string& Path) { return Path == "-" ? "<stdin>" : Path; }

/// One line: the library's long-text echo may hold line breaks.
std::string OneLine(std::string Text) {
    for (char& C : Text)
        if (C == '\n' || C == '\r') C = ' ';
    return Text;
}

std::string PadLeft(std::string Text, std::size_t Width) {
    if (Text.size() < Width) Text.insert(0, Width - Text.size(), ' ');
    return Text;
}

/// Runs Step; the library's errors become errors of Source, text errors with their line.
template <class TStep>
auto Within(const std::string& Source, TStep&& Step) -> decltype(Step()) {
    try {
        return Step();
    } catch (const EFzyParseException& E) {
        throw TToolError{Source, E.LineNumber(), E.what()};
    } catch (const std::exception& E) {
        throw TToolError{Source, 0, E.what()};
    }
}

class TRun {
public:
    TRun(const TArguments& Arguments, TFzlIo& Io) : FArgs(Arguments), FIo(Io) {}

    int Execute() {
        switch (FArgs.Command) {
            case TCommand::Check: return Check();
            case TCommand::Print: Print(); break;
            case TCommand::Eval: Eval(); break;
            case TCommand::Dom: Dom(); break;
            case TCommand::Infer: Infer(); break;
            case TCommand::Plot: Plot(); break;
            case TCommand::Save: Save(); break;
            default: Example(); break;
        }
        return ExitSuccess;
    }

private:
    std::string ReadText(const std::string& Path) const {
        std::optional<std::string> Text = FIo.ReadFile(Path);
        if (!Text) throw TToolError{SourceName(Path), 0, "cannot be read"};
        return std::move(*Text);
    }

    void WriteText(const std::string& Path, const std::string& Text) const {
        if (Path == "-")
            FIo.Out << Text;
        else if (!FIo.WriteFile(Path, Text))
            throw TToolError{Path, 0, "cannot be written"};
    }

    /// The model of Path: a definition text in the model --model names, a saved stream in its own.
    std::unique_ptr<TToolModel> LoadModel(const std::string& Path, const TModelSettings& Settings) const {
        const std::string Text = ReadText(Path);
        std::unique_ptr<TToolModel> Model =
            TToolModel::Create(StreamModelKind(Text).value_or(FArgs.Model), Settings);
        Within(SourceName(Path), [&] { Model->Load(Text); });
        return Model;
    }
    std::unique_ptr<TToolModel> LoadModel() const {
        return LoadModel(FArgs.Positional.at(0), FArgs.Settings);
    }

    static double Number(const std::string& Text, const std::string& What) {
        double Value = 0;
        if (!TryStrToFloat(Trim(Text), Value) || !std::isfinite(Value))
            throw TToolError{"", 0, "invalid number for " + What + ": \"" + Text + "\""};
        return Value;
    }

    // ---- check, print ----------------------------------------------------------------------------

    int Check() const {
        int Status = ExitSuccess;
        for (const std::string& Path : FArgs.Positional) {
            try {
                (void)LoadModel(Path, FArgs.Settings);
            } catch (const TToolError& E) {
                Report(E);
                Status = ExitError;
            }
        }
        return Status;
    }

    void Print() const {
        const std::unique_ptr<TToolModel> Model = LoadModel();
        if (FArgs.Json) {
            std::string Json = "{\"variables\":[";
            for (const std::string& Name : Model->VariableNames()) {
                if (Json.back() != '[') Json += ",";
                Json += VariableJson(Model->Describe(Name));
            }
            FIo.Out << Json << "]}\n";
            return;
        }
        for (const std::string& Name : Model->VariableNames()) {
            std::string Text = Model->Print(Name);
            // The printer ends its lines with CR LF; a terminal's text ends them with LF.
            std::string Lines;
            for (std::size_t I = 0; I < Text.size(); ++I)
                if (!(Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n')) Lines += Text[I];
            FIo.Out << Lines << "\n";
        }
    }

    static std::string SetJson(const TSetView& Set) {
        return "{\"name\":" + JsonString(Set.Name) + ",\"expression\":" + JsonString(Set.Expression) +
               ",\"points\":" + JsonPoints(Set.Points) + "}";
    }

    static std::string VariableJson(const TVariableView& Variable) {
        std::string Json = "{\"name\":";
        Json += JsonString(Variable.Name) + ",\"comment\":" + JsonString(Variable.Comment) +
                ",\"units\":" + JsonString(Variable.Units) + ",\"minimum\":" + JsonNumber(Variable.Minimum) +
                ",\"maximum\":" + JsonNumber(Variable.Maximum) + ",\"sets\":[";
        for (std::size_t I = 0; I < Variable.Sets.size(); ++I) {
            if (I > 0) Json += ",";
            Json += SetJson(Variable.Sets[I]);
        }
        return Json + "]}";
    }

    // ---- eval, dom -------------------------------------------------------------------------------

    void Eval() const {
        const std::unique_ptr<TToolModel> Model = LoadModel();
        std::string Expression;
        for (std::size_t I = 2; I < FArgs.Positional.size(); ++I)
            Expression += (I > 2 ? " " : "") + FArgs.Positional[I];
        const TEvalView Result = Within("", [&] { return Model->Eval(FArgs.Positional[1], Expression); });
        if (FArgs.Json) {
            FIo.Out << "{\"name\":" << JsonString(Result.ShortForm)
                    << ",\"expression\":" << JsonString(Result.Set.Expression)
                    << ",\"points\":" << JsonPoints(Result.Set.Points)
                    << ",\"centerOfGravity\":" << JsonNumber(Result.CenterOfGravity)
                    << ",\"meanOfMaxima\":" << JsonNumber(Result.MeanOfMaxima)
                    << ",\"crisp\":" << JsonNumber(Result.Crisp) << "}\n";
            return;
        }
        std::string Points = "(";
        for (const auto& [X, Y] : Result.Set.Points) {
            Points += "(";
            Points += FormatFixed(X, 4);
            Points += " ";
            Points += FormatFixed(Y, 4);
            Points += ") ";
        }
        FIo.Out << "set: " << Result.ShortForm << "\n"
                << "expression: " << Result.Set.Expression << "\n"
                << "points: " << Points << ")\n"
                << "centre of gravity: " << FormatFixed(Result.CenterOfGravity, 4) << "\n"
                << "mean of maxima: " << FormatFixed(Result.MeanOfMaxima, 4) << "\n"
                << "crisp: " << FormatFixed(Result.Crisp, 4) << "\n";
    }

    void Dom() const {
        const std::unique_ptr<TToolModel> Model = LoadModel();
        const std::string& Variable = FArgs.Positional[1];
        const std::string& Set = FArgs.Positional[2];
        std::vector<std::pair<double, double>> Degrees;
        for (std::size_t I = 3; I < FArgs.Positional.size(); ++I) {
            const double X = Number(FArgs.Positional[I], "X");
            Degrees.emplace_back(X, Within("", [&] { return Model->Degree(Variable, Set, X); }));
        }
        if (FArgs.Json) {
            FIo.Out << "{\"variable\":" << JsonString(Variable) << ",\"set\":" << JsonString(Set)
                    << ",\"degrees\":" << JsonPoints(Degrees) << "}\n";
            return;
        }
        for (const auto& [X, Degree] : Degrees)
            FIo.Out << FloatToStr(X) << "  " << FormatFixed(Degree, 4) << "\n";
    }

    // ---- infer -----------------------------------------------------------------------------------

    TFuzzyInputs Inputs() const {
        TFuzzyInputs Inputs;
        for (const auto& [Name, Text] : FArgs.Inputs)
            Inputs.Values[Name] = Number(Text, "input \"" + Name + "\"");
        for (const auto& [Name, Text] : FArgs.Facts) Inputs.Facts[Name] = Text;
        for (const auto& [Name, Text] : FArgs.Defaults)
            Inputs.Defaults[Name] = Number(Text, "default \"" + Name + "\"");
        return Inputs;
    }

    void Infer() const {
        const std::unique_ptr<TToolModel> Model = LoadModel();
        const std::string RulesText = ReadText(FArgs.Rules);
        Within(SourceName(FArgs.Rules), [&] { Model->Rules().SetRules(RulesText); });
        const TFuzzyInputs Given = Inputs();
        if (!FArgs.Csv.empty()) return Batch(*Model, Given);
        const std::vector<TFuzzyOutput> Outputs = Within("", [&] { return Model->Rules().Evaluate(Given); });
        if (FArgs.Json)
            WriteInferJson(*Model, Outputs);
        else
            WriteInferText(*Model, Outputs);
        if (!FArgs.Plot.empty()) WriteText(FArgs.Plot, WriteSvg(ConclusionPanels(*Model, Outputs)));
    }

    void WriteInferText(TToolModel& Model, const std::vector<TFuzzyOutput>& Outputs) const {
        if (FArgs.Explain) {
            const auto& Rules = Model.Rules().GetRules();
            const auto& States = Model.Rules().GetRuleStates();
            FIo.Out << "line  strength  fired  rule\n";
            for (std::size_t I = 0; I < Rules.size(); ++I)
                FIo.Out << PadLeft(IntToStr(Rules[I].Line), 4) << "  "
                        << PadLeft(FormatFixed(States[I].Strength, 4), 8) << "  "
                        << (States[I].Fired ? "yes  " : "no   ") << "  " << Rules[I].Text << "\n";
            FIo.Out << "\n";
        }
        for (const TFuzzyOutput& Output : Outputs) {
            if (!Output.Value)
                FIo.Out << Output.Variable << ": no rule fired\n";
            else
                FIo.Out << Output.Variable << " = " << FormatFixed(*Output.Value, 4)
                        << (Output.Defaulted ? "  (default: no rule fired)" : "") << "\n";
        }
    }

    void WriteInferJson(TToolModel& Model, const std::vector<TFuzzyOutput>& Outputs) const {
        std::string Json = "{\"outputs\":[";
        for (std::size_t I = 0; I < Outputs.size(); ++I) {
            const TFuzzyOutput& Output = Outputs[I];
            Json += std::string(I > 0 ? "," : "") + "{\"variable\":" + JsonString(Output.Variable) +
                    ",\"value\":" + (Output.Value ? JsonNumber(*Output.Value) : "null") +
                    ",\"fired\":" + (Output.Fired ? "true" : "false") +
                    ",\"defaulted\":" + (Output.Defaulted ? "true" : "false") + "}";
        }
        Json += "]";
        if (FArgs.Explain) {
            const auto& Rules = Model.Rules().GetRules();
            const auto& States = Model.Rules().GetRuleStates();
            Json += ",\"rules\":[";
            for (std::size_t I = 0; I < Rules.size(); ++I)
                Json += std::string(I > 0 ? "," : "") + "{\"line\":" + IntToStr(Rules[I].Line) +
                        ",\"rule\":" + JsonString(Rules[I].Text) +
                        ",\"strength\":" + JsonNumber(States[I].Strength) +
                        ",\"fired\":" + (States[I].Fired ? "true" : "false") + "}";
            Json += "]";
        }
        FIo.Out << Json << "}\n";
    }

    static std::vector<TPlotPanel> ConclusionPanels(TToolModel& Model,
                                                    const std::vector<TFuzzyOutput>& Outputs) {
        std::vector<TPlotPanel> Panels;
        for (std::size_t I = 0; I < Outputs.size(); ++I) {
            TPlotPanel Panel = PanelOf(Model.Describe(Outputs[I].Variable));
            if (Outputs[I].Fired)
                Panel.Series.push_back({"conclusion", Model.Conclusion(static_cast<int>(I)).Points, true});
            if (Outputs[I].Value) {
                Panel.Marker = *Outputs[I].Value;
                Panel.MarkerLabel = Outputs[I].Variable + " = " + FormatFixed(*Outputs[I].Value, 4) +
                                    (Outputs[I].Defaulted ? " (default)" : "");
            }
            Panels.push_back(std::move(Panel));
        }
        return Panels;
    }

    /// --csv: a header of input names, then one row of numbers per line.
    void Batch(TToolModel& Model, const TFuzzyInputs& Given) const {
        const std::string Source = SourceName(FArgs.Csv);
        const std::string Text = ReadText(FArgs.Csv);
        std::vector<std::string> Header;
        std::size_t Begin = 0;
        for (int Line = 1; Begin < Text.size(); ++Line) {
            std::size_t End = Text.find('\n', Begin);
            if (End == std::string::npos) End = Text.size();
            const std::string Row = Trim(std::string_view(Text).substr(Begin, End - Begin));
            Begin = End + 1;
            if (Row.empty() || Row.front() == '#') continue;
            std::vector<std::string> Cells = SplitCells(Row);
            if (Header.empty()) {
                Header = std::move(Cells);
                std::string Names;
                for (const std::string& Name : Header) Names += Name + ",";
                for (const std::string& Name : Model.Rules().GetOutputNames()) Names += Name + ",";
                Names.pop_back();
                FIo.Out << Names << "\n";
                continue;
            }
            try {
                FIo.Out << BatchRow(Model, Given, Header, Cells) << "\n";
            } catch (const TToolError& E) {
                throw TToolError{Source, Line, E.Message};
            }
        }
    }

    static std::vector<std::string> SplitCells(const std::string& Row) {
        std::vector<std::string> Cells;
        std::size_t Begin = 0;
        while (true) {
            const std::size_t Comma = Row.find(',', Begin);
            std::string Cell = Trim(std::string_view(Row).substr(Begin, Comma - Begin));
            if (Cell.size() >= 2 && Cell.front() == '"' && Cell.back() == '"')
                Cell = Cell.substr(1, Cell.size() - 2);
            Cells.push_back(std::move(Cell));
            if (Comma == std::string::npos) return Cells;
            Begin = Comma + 1;
        }
    }

    static std::string BatchRow(TToolModel& Model, TFuzzyInputs Inputs,
                                const std::vector<std::string>& Header,
                                const std::vector<std::string>& Cells) {
        if (Cells.size() != Header.size())
            throw TToolError{"", 0,
                             "expected " + IntToStr(static_cast<std::int64_t>(Header.size())) +
                                 " values, found " + IntToStr(static_cast<std::int64_t>(Cells.size()))};
        for (std::size_t I = 0; I < Cells.size(); ++I) {
            Inputs.Values[Header[I]] = Number(Cells[I], "column \"" + Header[I] + "\"");
            Inputs.Facts.erase(Header[I]);
        }
        const std::vector<TFuzzyOutput> Outputs = Within("", [&] { return Model.Rules().Evaluate(Inputs); });
        std::string Row;
        for (const std::string& Cell : Cells) Row += Cell + ",";
        for (const TFuzzyOutput& Output : Outputs)
            Row += (Output.Value ? FloatToStr(*Output.Value) : "") + ",";
        Row.pop_back();
        return Row;
    }

    // ---- plot ------------------------------------------------------------------------------------

    static TPlotPanel PanelOf(const TVariableView& Variable) {
        TPlotPanel Panel{Variable.Name, Variable.Units, Variable.Minimum, Variable.Maximum, {}, {}, {}};
        for (const TSetView& Set : Variable.Sets) Panel.Series.push_back({Set.Name, Set.Points, false});
        return Panel;
    }

    void Plot() const {
        const std::unique_ptr<TToolModel> Model = LoadModel();
        std::vector<std::string> Names(FArgs.Positional.begin() + 1, FArgs.Positional.end());
        if (Names.empty()) Names = Model->VariableNames();
        std::vector<TPlotPanel> Panels;
        for (const std::string& Name : Names)
            Panels.push_back(PanelOf(Within("", [&] { return Model->Describe(Name); })));
        WriteText(FArgs.Output.value_or("-"), WriteSvg(Panels));
    }

    // ---- save ------------------------------------------------------------------------------------

    void Save() const {
        const std::unique_ptr<TToolModel> Model = LoadModel();
        WriteText(FArgs.Output.value_or("-"), Within("", [&] { return Model->Save(); }));
    }

    // ---- the bundled example ---------------------------------------------------------------------

    void Example() const {
        TModelSettings Settings = FArgs.Settings;
        Settings.Correlation = fcmProduct;  // as the C++ fan controller
        Settings.Threshold = 1e-9;          // fire every rule that holds at all
        std::unique_ptr<TToolModel> Model = TToolModel::Create(FArgs.Model, Settings);
        Within(std::string(ExampleModelPath), [&] { Model->Load(std::string(ExampleModel)); });
        Within(std::string(ExampleRulesPath), [&] { Model->Rules().SetRules(std::string(ExampleRules)); });
        std::string Json = "[";
        if (!FArgs.Json)
            FIo.Out << "The bundled example: " << ExampleModelPath << " with " << ExampleRulesPath << "\n"
                    << "temperature  humidity  fan speed\n";
        for (const double Temperature : {5.0, 15.0, 22.0, 30.0, 38.0}) {
            for (const double Humidity : {20.0, 50.0, 85.0}) {
                const auto Outputs = Within("", [&] {
                    return Model->Rules().Evaluate({{"temperature", Temperature}, {"humidity", Humidity}});
                });
                const double Speed = Outputs.at(0).Value.value_or(0.0);
                if (FArgs.Json)
                    Json += std::string(Json.size() > 1 ? "," : "") +
                            "{\"temperature\":" + JsonNumber(Temperature) +
                            ",\"humidity\":" + JsonNumber(Humidity) + ",\"fan\":" + JsonNumber(Speed) + "}";
                else
                    FIo.Out << PadLeft(FormatFixed(Temperature, 1), 8) << " C  "
                            << PadLeft(FormatFixed(Humidity, 1), 6) << " %  "
                            << PadLeft(FormatFixed(Speed, 4), 8) << " %\n";
            }
        }
        if (FArgs.Json)
            FIo.Out << Json << "]\n";
        else
            FIo.Out << "Run 'fzl --help' for the commands.\n";
    }

public:
    void Report(const TToolError& E) const {
        // A line number belongs to a file; an expression from the command line has none.
        std::string Where = E.Source.empty() ? CommandName(FArgs.Command) : E.Source;
        if (E.Line > 0 && !E.Source.empty()) Where += ":" + IntToStr(E.Line);
        FIo.Err << Where << ": " << OneLine(E.Message) << "\n";
    }

private:
    const TArguments& FArgs;
    TFzlIo& FIo;
};

}  // namespace

int RunFzl(const std::vector<std::string>& Args, TFzlIo& Io) {
    TArguments Arguments;
    try {
        Arguments = ParseArguments(Args);
    } catch (const TUsageError& E) {
        Io.Err << CommandName(E.Command) << ": " << OneLine(E.Message) << "; see '" << CommandName(E.Command)
               << " --help'\n";
        return ExitUsage;
    }
    if (Arguments.Command == TCommand::Version) {
        Io.Out << "fzl " << FZL_VERSION << "\n";
        return ExitSuccess;
    }
    if (Arguments.Command == TCommand::Help || Arguments.Help) {
        Io.Out << HelpText(Arguments.Command);
        return ExitSuccess;
    }
    TRun Run(Arguments, Io);
    try {
        return Run.Execute();
    } catch (const TToolError& E) {
        Run.Report(E);
    } catch (const std::exception& E) {
        Run.Report(TToolError{"", 0, E.what()});
    }
    return ExitError;
}

}  // namespace fzl::tool
