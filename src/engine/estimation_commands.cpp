#include "engine/estimation_commands.h"

#include <algorithm>

#include "engine/data_commands.h"
#include "engine/number_format.h"
#include "engine/panel_regression.h"
#include "engine/regression.h"
#include "engine/report.h"
#include "engine/sample_columns.h"

namespace tamvel::engine {
namespace {

// The list after the command word, written back as the student wrote it (for messages).
std::string ListText(const std::vector<SeriesRef>& refs, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < refs.size(); ++i) text += " " + DisplayName(refs[i]);
    return text;
}

// The list for the message about C as the dependent variable: the student's own, except
// where it is the form's placeholder for a program without a data file (OLSQ C READ;).
std::string SuggestedList(const std::vector<SeriesRef>& refs) {
    const bool placeholder = std::any_of(refs.begin() + 1, refs.end(),
                                         [](const SeriesRef& ref) { return ref.name == "READ"; });
    return placeholder ? " C X1 X2 X3" : ListText(refs, 0);
}

// A regression list split into its parts: the dependent variable, the series among the
// regressors, and where C stands.
struct RegressionList {
    SeriesRef dependent;
    std::vector<SeriesRef> regressors;
    std::optional<std::size_t> constantAt;
    std::vector<std::string> names;  ///< the coefficient table's rows, C included
};

std::optional<RegressionList> CheckList(RunState& state, const Statement& statement,
                                        const char* command, bool constantAdded) {
    const std::vector<SeriesRef>& refs = statement.series;
    const std::string example =
        std::string(command) + (constantAdded ? " Y X1 X2;" : " Y C X1 X2;");
    if (refs.empty()) {
        ReportError(state, statement.line,
                    std::string(command) +
                        " needs the dependent variable and the regressors, as in " + example);
        return std::nullopt;
    }
    if (IsConstantName(refs[0].name)) {
        ReportError(state, statement.line,
                    std::string(command) + ": " + refs[0].name +
                        " (the constant) cannot be the dependent variable. Write the dependent "
                        "variable's name first and then the regressors, as in " +
                        command + " Y" + SuggestedList(refs) +
                        "; (with the name of your dependent variable in place of Y)");
        return std::nullopt;
    }
    if (refs.size() == 1) {
        ReportError(state, statement.line,
                    std::string(command) + " " + refs[0].name +
                        "; lists no regressors: write them after the dependent variable, as in " +
                        example);
        return std::nullopt;
    }
    RegressionList list;
    list.dependent = refs[0];
    for (std::size_t i = 1; i < refs.size(); ++i) {
        if (IsConstantName(refs[i].name)) {
            if (list.constantAt) {
                ReportError(state, statement.line,
                            std::string(command) + " lists the constant C twice");
                return std::nullopt;
            }
            list.constantAt = i - 1;
            list.names.push_back("C");
            continue;
        }
        list.regressors.push_back(refs[i]);
        list.names.push_back(DisplayName(refs[i]));
    }
    std::vector<SeriesRef> all{list.dependent};
    all.insert(all.end(), list.regressors.begin(), list.regressors.end());
    if (!state.RequireSeries(statement.line, all)) return std::nullopt;
    return list;
}

std::string FitErrorText(const OlsOutcome& outcome, const RegressionList& list,
                         std::size_t observations) {
    switch (outcome.error) {
        case FitError::TooFewObservations:
            return "there are " + std::to_string(observations) + " observations for " +
                   std::to_string(list.names.size()) +
                   " coefficients: a regression needs more observations than coefficients";
        case FitError::RankDeficient: {
            std::string names;
            for (std::size_t at : outcome.dependentColumns)
                if (at < list.names.size()) names += (names.empty() ? "" : ", ") + list.names[at];
            return "the regressors are perfectly collinear (rank deficient): " + names +
                   " is a linear combination of the regressors before it; leave it out";
        }
        case FitError::NoRegressors:
            return "there is nothing to estimate";
        case FitError::NonFiniteValue:
            return "the data hold an infinite value";
        case FitError::LengthMismatch:
        case FitError::None:
            break;
    }
    return "the regression cannot be estimated";
}

template <class T>
OlsOutcome Fit(const SampleColumns<T>& columns, const RegressionList& list) {
    RegressionData<T> data;
    data.dependent = columns.columns[0];
    data.regressors.assign(columns.columns.begin() + 1, columns.columns.end());
    data.constantAt = list.constantAt;
    return FitOls(data, GapsBefore(columns.periods));
}

// Warnings for the series with missing values, whose observations were left out.
void NoteMissing(RunState& state, int line, const std::vector<std::string>& withMissing) {
    for (const std::string& name : withMissing)
        state.Report(Severity::Warning, line,
                     "missing values in " + name + "; those observations are left out");
}

}  // namespace

void ExecuteOlsq(RunState& state, const Statement& statement) {
    NoteIgnoredOptions(state, statement, {});
    const std::optional<RegressionList> list = CheckList(state, statement, "OLSQ", false);
    if (!list) return;
    const Sample* sample = state.RequireSample(statement.line, "OLSQ");
    if (!sample) return;
    std::vector<SeriesRef> all{list->dependent};
    all.insert(all.end(), list->regressors.begin(), list->regressors.end());
    if (auto error = CheckCoverage(all, state.workspace, *sample, state.frequency)) {
        ReportError(state, statement.line, *error);
        return;
    }
    OlsOutcome outcome;
    std::size_t observations = 0;
    std::vector<std::string> withMissing;
    if (AllExtended(all, state.workspace)) {
        const SampleColumns<Real> columns =
            GatherExtended(all, state.workspace, *sample, state.PanelUnits());
        observations = columns.observations;
        withMissing = columns.withMissing;
        outcome = Fit(columns, *list);
    } else {
        const SampleColumns<double> columns =
            GatherDouble(all, state.workspace, *sample, state.PanelUnits());
        observations = columns.observations;
        withMissing = columns.withMissing;
        outcome = Fit(columns, *list);
    }
    NoteMissing(state, statement.line, withMissing);
    if (!outcome.result) {
        ReportError(state, statement.line, "OLSQ: " + FitErrorText(outcome, *list, observations));
        return;
    }
    const OlsResult& fit = *outcome.result;
    EquationHeading heading{++state.equations, "Ordinary Least Squares",
                            DisplayName(list->dependent), FormatSample(*sample, state.frequency)};
    AppendEquationHeading(state.body, heading, fit.observations);
    std::vector<LabelledValue> left, right;
    OlsStatistics(fit, state.significantDigits, left, right);
    AppendStatistics(state.body, left, right);
    AppendCoefficientTable(state.body, list->names, fit.coefficients, state.significantDigits);
}

void ExecutePanel(RunState& state, const Statement& statement) {
    NoteIgnoredOptions(state, statement, {});
    if (!state.panelId) {
        ReportError(state, statement.line,
                    "PANEL needs panel data: give FREQ(PANEL,ID=name); first, with the series "
                    "that tells the individuals apart");
        return;
    }
    const std::optional<RegressionList> list = CheckList(state, statement, "PANEL", true);
    if (!list) return;
    const SeriesRef id{*state.panelId, 0};
    if (!state.RequireSeries(statement.line, {id})) return;
    const Sample* sample = state.RequireSample(statement.line, "PANEL");
    if (!sample) return;
    // The dependent variable, the regressors without C (each estimator adds its own
    // constant), and the individuals' identifier last.
    std::vector<SeriesRef> all{list->dependent};
    all.insert(all.end(), list->regressors.begin(), list->regressors.end());
    all.push_back(id);
    if (auto error = CheckCoverage(all, state.workspace, *sample, state.frequency)) {
        ReportError(state, statement.line, *error);
        return;
    }
    const SampleColumns<Real> columns =
        GatherExtended(all, state.workspace, *sample, state.PanelUnits());
    NoteMissing(state, statement.line, columns.withMissing);
    PanelData data;
    data.dependent = columns.columns.front();
    data.regressors.assign(columns.columns.begin() + 1, columns.columns.end() - 1);
    data.unit = columns.columns.back();
    const PanelOutcome outcome = FitPanel(data, GapsBefore(columns.periods));
    if (!outcome.result) {
        ReportError(state, statement.line,
                    outcome.error == PanelError::NonFiniteValue
                        ? "PANEL: the data hold an infinite value"
                        : "PANEL: the panel cannot be estimated");
        return;
    }
    const PanelResult& panel = *outcome.result;
    std::vector<std::string> slopes;
    for (const SeriesRef& ref : list->regressors) slopes.push_back(DisplayName(ref));

    EquationHeading heading{++state.equations, "Panel data (PANEL)", DisplayName(list->dependent),
                            FormatSample(*sample, state.frequency)};
    AppendEquationHeading(state.body, heading, panel.observations);
    state.body.push_back(
        "Individuals (" + *state.panelId + "):  " + std::to_string(panel.units) + ", " +
        (panel.balanced ? "balanced, " + std::to_string(panel.minimumPeriods) + " observations each"
                        : "unbalanced, " + std::to_string(panel.minimumPeriods) + " to " +
                              std::to_string(panel.maximumPeriods) + " observations each"));
    const std::pair<const char*, const OlsOutcome*> sections[] = {
        {"Total (plain OLS) Estimates", &panel.total},
        {"Between (OLS on means) Estimates", &panel.between},
        {"Within (fixed effects) Estimates", &panel.within},
        {"Variance Components (random effects, Swamy-Arora) Estimates", &panel.randomEffects},
    };
    for (const auto& [title, fit] : sections) {
        state.body.push_back("");
        state.body.push_back(title);
        state.body.push_back(std::string(std::string_view(title).size(), '-'));
        state.body.push_back("");
        // The estimators list the slopes, then the constant where they have one.
        RegressionList named = *list;
        named.names = slopes;
        named.names.push_back("C");
        if (!fit->result) {
            state.Report(Severity::Warning, statement.line,
                         std::string(title) +
                             " cannot be made: " + FitErrorText(*fit, named, columns.observations));
            continue;
        }
        const OlsResult& e = *fit->result;
        state.body.push_back("Number of observations:  " + std::to_string(e.observations));
        state.body.push_back("");
        std::vector<LabelledValue> left, right;
        OlsStatistics(e, state.significantDigits, left, right);
        AppendStatistics(state.body, left, right);
        named.names.resize(std::min(named.names.size(), e.coefficients.size()));
        AppendCoefficientTable(state.body, named.names, e.coefficients, state.significantDigits);
        if (fit == &panel.randomEffects && panel.components) {
            auto number = [&](Real value) { return FormatNumber(value, state.significantDigits); };
            const VarianceComponents& v = *panel.components;
            AppendStatistics(state.body,
                             {{"Variance of the idiosyncratic error", number(v.idiosyncratic)},
                              {"Variance of the individual effect", number(v.unit)},
                              {"Theta", number(v.theta)}},
                             {});
        }
    }
    if (panel.hausman) {
        state.body.push_back("Hausman test of H0: random effects vs. fixed effects:");
        state.body.push_back(
            "    CHISQ(" + std::to_string(panel.hausman->degreesOfFreedom) +
            ") = " + FormatNumber(panel.hausman->statistic, state.significantDigits) +
            ", P-value = " + FormatPValue(panel.hausman->pValue));
    } else {
        state.body.push_back(
            "Hausman test: not available (the within and random-effects "
            "covariances do not differ by a positive definite matrix)");
    }
    state.body.push_back("");
}

}  // namespace tamvel::engine
